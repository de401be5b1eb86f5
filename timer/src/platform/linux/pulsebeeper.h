// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/beeper.h"

#include <QElapsedTimer>
#include <memory>

class PulsePlayback;

// Sine tones through the desktop's sound server (libpulse). Each beep opens
// a short playback stream on a main loop of its own and drives that loop
// itself, so every wait on the server has a deadline: when the connection
// and the stream are not ready within 80 ms, the tone is skipped; otherwise
// it is handed over whole and the caller is held until it has been played,
// at most its length plus 100 ms (what is left then still sounds, and is cut
// off only if the next tone finds it playing). Without a sound server, or
// with one that does not answer, no new attempt is made for a few seconds,
// so a signal of three tones waits for one connection at most.
class PulseBeeper : public Beeper
{
public:
    PulseBeeper();
    ~PulseBeeper() override;
    void beep(int hz, int ms) override;
    void sleep(int ms) override;

private:
    QElapsedTimer m_sinceFailure;
    std::unique_ptr<PulsePlayback> m_sounding; // a tone let go before its end
};
