// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// Records what the sound server's default sink plays (its monitor source),
// mono, 16 bit, 44.1 kHz, on a thread of libpulse's own.
class MonitorRecorder
{
public:
    static constexpr int kRate = 44100;

    ~MonitorRecorder();
    // False, with the reason, when no server or monitor answers within 2 s.
    bool start(QString *error);
    // Ends the recording; the samples recorded.
    std::vector<qint16> stop();

private:
    static void onRead(pa_stream *stream, size_t, void *self);

    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    std::vector<qint16> m_samples;
};

// The tones found in a recording: stretches of sound between silences.
struct RecordedTone {
    double startMs = 0;
    double hz = 0;
    double lengthMs = 0;
    int firstStep = 0; // size of the first sample that is not silence
};
std::vector<RecordedTone> findTones(const std::vector<qint16> &samples);
