// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// What decides the window system Qt is asked for.
struct Session {
    QByteArray chosen;         // QT_QPA_PLATFORM: the user's own choice
    QByteArray type;           // XDG_SESSION_TYPE
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray display;        // DISPLAY: an X server, XWayland in a Wayland session
};

// The value for QT_QPA_PLATFORM, or empty to leave Qt's own choice. Qt's
// Wayland platform ignores the positions a program gives its windows, so in
// a Wayland session with an X server at hand, and no choice of the user's,
// X11 comes first; Wayland stays as the fallback should X fail.
QByteArray preferredQtPlatform(const Session &session);
