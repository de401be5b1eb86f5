// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An event of the desktop's sound theme, as a program asks for it.
struct ThemeEvent {
    const char *applicationName;
    const char *applicationId;
    const char *eventId; // "message-new-instant"
    const char *description;
};

// Plays the event through the desktop's sound server and waits for its
// end, at most `boundMs`; true when it played. The server's own waits have
// no bound: a program that must not hang calls this in a child process,
// which ends right after (a wait given up leaves the sound system's threads
// behind).
bool playThemeEvent(const ThemeEvent &event, int boundMs);
