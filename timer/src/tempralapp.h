// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class Beeper;
class Form1;
class MessageBoxes;
class QApplication;
class SerialLine;
class SettingsStore;

// The platform a run of the timer uses.
struct TempralPlatform {
    SerialLine &line;
    SettingsStore &settings;
    Beeper &beeper;
    MessageBoxes &boxes;
};

// Loads the window, shows it centred and runs it until it is closed or the
// program is asked to end by SIGTERM, SIGINT or SIGHUP; then the load is off
// and the settings are stored. `ready` runs after the first activation.
// Returns the exit status: 0 after a close, 128 + the signal's number after a
// signal.
int runTempral(QApplication &app, TempralPlatform platform,
               const std::function<void(Form1 &)> &ready = {});
