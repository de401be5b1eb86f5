// SPDX-License-Identifier: GPL-3.0-or-later
// Tempral: a countdown timer that switches a load through the RTS line of a
// serial port.
#include "platform/systemplatform.h"
#include "platform/windowsystem.h"
#include "tempralapp.h"
#include "window/messageboxes.h"

#include <QApplication>

int main(int argc, char **argv)
{
    SystemPlatform::chooseWindowSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tempral");
    QApplication::setApplicationVersion(TEMPRAL_VERSION);
    QApplication::setDesktopFileName("tempral");

    const auto line = SystemPlatform::serialLine();
    const auto settings = SystemPlatform::settings();
    const auto beeper = SystemPlatform::beeper();
    QtMessageBoxes boxes;
    return runTempral(app, {*line, *settings, *beeper, boxes});
}
