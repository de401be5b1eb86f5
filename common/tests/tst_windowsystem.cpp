// SPDX-License-Identifier: GPL-3.0-or-later
// The window system asked for: X11 first in a Wayland session (named by
// either variable) with an X server at hand, unless the user has chosen.
#include "platform/linux/windowsystem.h"

#include <QtTest>

class WindowSystemTest : public QObject
{
    Q_OBJECT
private slots:
    void x11FirstInAWaylandSessionUnlessChosen()
    {
        // {chosen, session type, Wayland display, X display}: what is asked for
        const std::pair<Session, QByteArray> cases[] = {
            {{"", "wayland", "wayland-0", ":0"}, "xcb;wayland"},
            {{"", "", "wayland-0", ":1"}, "xcb;wayland"},
            {{"", "wayland", "", ":0"}, "xcb;wayland"},
            {{"", "wayland", "wayland-0", ""}, ""},
            {{"offscreen", "wayland", "wayland-0", ":0"}, ""},
            {{"", "x11", "", ":0"}, ""},
        };
        for (const auto &[session, platform] : cases)
            QCOMPARE(preferredQtPlatform(session), platform);
    }
};

QTEST_GUILESS_MAIN(WindowSystemTest)
#include "tst_windowsystem.moc"
