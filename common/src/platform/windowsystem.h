// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What both programs take from the system before their application starts.
// The back end of the build (platform/<system>/) defines it.
namespace SystemPlatform
{

// Picks the window system, where the desktop offers a choice.
void chooseWindowSystem();

} // namespace SystemPlatform
