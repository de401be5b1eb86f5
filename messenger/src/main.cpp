// SPDX-License-Identifier: GPL-3.0-or-later
// Vesnal's start: the control-file step, then the main window, wired to
// the real network listing, the delivery helper and message boxes.
#include "net/systemnetwork.h"
#include "platform/systemplatform.h"
#include "platform/windowsystem.h"
#include "window/controlfiles.h"
#include "window/frmnwcheck.h"
#include "window/messageboxes.h"

#include <QApplication>

int main(int argc, char **argv)
{
    SystemPlatform::chooseWindowSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vesnal"));
    QApplication::setApplicationVersion(QStringLiteral(VESNAL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vesnal"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vesnal/app.svg")));

    ControlFiles::copyMissing(QCoreApplication::applicationDirPath(), ControlFiles::systemFolder());

    const auto network = makeSystemNetwork();
    const auto launcher = SystemPlatform::deliveryLauncher();
    QtMessageBoxes boxes;
    frmNWCheck window(*network, *launcher, boxes, QCoreApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
