// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tones and pauses of the switching signals. Both calls block the caller, so
// the window stays still while a signal plays, but each is bounded: a tone
// holds the caller at most its length plus 100 ms (one that cannot be played
// in that time is skipped silently), a pause its length. Once the program has
// been asked to quit, both return at once, so that the load can go off.
class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep(int hz, int ms) = 0;
    virtual void sleep(int ms) = 0;
};
