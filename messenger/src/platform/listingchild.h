// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The child side of the system's network listing, run by the helper as
//
//   vesnal-net list URL     the entries under URL on standard output
//   vesnal-net probe URL    exit status 0 when URL opens as a directory
//
// Only the helper links it: the listing library runs in these short-lived
// children and never in the window's process. vesnal-net(1) has the output
// format and the exit statuses.
namespace ListingChild
{

// Whether the helper's arguments (after its name) ask for a listing.
bool isListingCommand(const QStringList &arguments);

// Carries it out; the helper's exit status.
int run(const QStringList &arguments);

} // namespace ListingChild
