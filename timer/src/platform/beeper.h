#pragma once

// Tones and pauses of the switching signals. Both calls block the caller for
// their duration, so the window stays still while a signal plays.
class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep(int hz, int ms) = 0;
    virtual void sleep(int ms) = 0;
};
