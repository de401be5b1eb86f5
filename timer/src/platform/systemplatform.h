// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/beeper.h"
#include "platform/serialline.h"
#include "platform/settingsstore.h"

#include <memory>

// What the timer takes from the system it runs on. These declarations hold
// on every system; the back end that the build picks (platform.cmake)
// defines them in platform/<system>/.
namespace SystemPlatform
{

// The serial line of the port numbers 1, 2, …
std::unique_ptr<SerialLine> serialLine();
// The user's remembered settings.
std::unique_ptr<SettingsStore> settings();
// Tones through the desktop's sound output.
std::unique_ptr<Beeper> beeper();

} // namespace SystemPlatform
