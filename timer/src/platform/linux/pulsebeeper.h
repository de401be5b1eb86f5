#pragma once

#include "platform/beeper.h"

#include <QElapsedTimer>

// Sine tones through the desktop's sound server (libpulse). Each beep opens
// a short playback stream on a main loop of its own and drives that loop
// itself, so every wait on the server has a deadline: the connection and the
// stream must be ready within 50 ms, and the whole tone must have been played
// within its length plus 100 ms; otherwise the tone is skipped (or cut off)
// and the caller goes on. Without a sound server, or with one that does not
// answer, no new attempt is made for a few seconds, so a signal of three
// tones waits for one connection at most.
class PulseBeeper : public Beeper
{
public:
    void beep(int hz, int ms) override;
    void sleep(int ms) override;

private:
    QElapsedTimer m_sinceFailure;
};
