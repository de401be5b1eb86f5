#pragma once

#include "platform/beeper.h"

#include <QElapsedTimer>

// Sine tones through the desktop's sound server (libpulse-simple): each beep
// opens a short playback stream, writes the tone and waits until it has been
// played. Without a sound server the tone is skipped at once; after a failed
// connection no new attempt is made for a few seconds, so a signal of three
// tones costs one failed connection at most.
class PulseBeeper : public Beeper
{
public:
    void beep(int hz, int ms) override;
    void sleep(int ms) override;

private:
    QElapsedTimer m_sinceFailure;
};
