// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/windowsystem.h"

#include "platform/windowsystem.h"

QByteArray preferredQtPlatform(const Session &session)
{
    const bool wayland = !session.waylandDisplay.isEmpty() || session.type == "wayland";
    if (!session.chosen.isEmpty() || !wayland || session.display.isEmpty())
        return {};
    return "xcb;wayland";
}

void SystemPlatform::chooseWindowSystem()
{
    const QByteArray platform =
        preferredQtPlatform({qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"),
                             qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY")});
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}
