// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/pulsebeeper.h"

#include "platform/signalwatcher.h"

#include <QDeadlineTimer>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <vector>

namespace
{
constexpr int kRate = 44100;
// The server drops up to about 8 ms at the start of a new stream; the tone
// follows this much silence, so what is dropped is silence and the fade-in
// is heard whole.
constexpr int kLeadInMs = 20;
constexpr int kFadeMs = 4;
constexpr int kSlackMs = 100; // a tone holds the caller at most this much beyond its length
// The connection and the stream must be ready by then; a tone that starts
// later would sound well past the time the caller is let go.
constexpr int kReadyWithinMs = 80;
constexpr int kSliceMs = 10; // longest single wait: a request to quit is seen soon
constexpr qint64 kRetryAfterMs = 5000;

std::vector<qint16> toneSamples(int hz, int ms)
{
    const int lead = kRate * kLeadInMs / 1000;
    const int n = kRate * ms / 1000;
    const int fade = std::min(n / 2, kRate * kFadeMs / 1000);
    std::vector<qint16> samples(lead + n, 0);
    for (int i = 0; i < n; ++i) {
        double gain = 0.4;
        if (i < fade)
            gain *= double(i) / fade;
        if (n - i < fade)
            gain *= double(n - i) / fade;
        samples[lead + i] = qint16(32767 * gain * std::sin(2 * M_PI * hz * double(i) / kRate));
    }
    return samples;
}

bool quitting()
{
    return SignalWatcher::requested();
}
} // namespace

// One tone: a main loop, a connection and a stream, freed together. The
// whole tone is handed to the server at once, so the server plays it out
// even while nobody runs the loop.
class PulsePlayback
{
public:
    // Sounding: handed over whole, but not yet played out by the deadline.
    enum Result { Played, Sounding, Skipped, Unreachable };

    PulsePlayback() : m_loop(pa_mainloop_new()) {}
    ~PulsePlayback()
    {
        if (m_stream) {
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
        }
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        if (m_loop)
            pa_mainloop_free(m_loop);
    }
    PulsePlayback(const PulsePlayback &) = delete;
    PulsePlayback &operator=(const PulsePlayback &) = delete;

    Result play(const std::vector<qint16> &samples, const QDeadlineTimer &readyBy,
                const QDeadlineTimer &playedBy)
    {
        if (!m_loop)
            return Unreachable;
        m_context = pa_context_new(pa_mainloop_get_api(m_loop), "Tempral");
        // Never start a sound server: that would be a wait without a bound.
        if (!m_context ||
            pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return Unreachable;
        const auto connected = [this] {
            const pa_context_state_t s = pa_context_get_state(m_context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        };
        if (!runUntil(connected, readyBy) || pa_context_get_state(m_context) != PA_CONTEXT_READY)
            return quitting() ? Skipped : Unreachable;

        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
        // A short target latency keeps the end of the call close to the end
        // of the tone.
        pa_buffer_attr attr;
        attr.maxlength = attr.prebuf = attr.minreq = attr.fragsize = uint32_t(-1);
        attr.tlength = uint32_t(pa_usec_to_bytes(30 * 1000, &format));
        m_stream = pa_stream_new(m_context, "signal", &format, nullptr);
        if (!m_stream || pa_stream_connect_playback(m_stream, nullptr, &attr,
                                                    PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
            return Skipped;
        const auto streamReady = [this] {
            const pa_stream_state_t s = pa_stream_get_state(m_stream);
            return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
        };
        if (!runUntil(streamReady, readyBy) || pa_stream_get_state(m_stream) != PA_STREAM_READY)
            return Skipped;

        // The server takes more than its target length at once; the drain
        // reports when the last sample has been played.
        if (pa_stream_write(m_stream, samples.data(), samples.size() * sizeof(qint16), nullptr, 0,
                            PA_SEEK_RELATIVE) < 0)
            return Skipped;
        pa_operation *drain = pa_stream_drain(
            m_stream,
            [](pa_stream *, int, void *self) {
                static_cast<PulsePlayback *>(self)->m_drained = true;
            },
            this);
        if (!drain)
            return Skipped;
        const bool played = runUntil([this] { return m_drained; }, playedBy);
        pa_operation_unref(drain);
        return played ? Played : quitting() ? Skipped : Sounding;
    }

private:
    // Runs the loop until `reached` holds. False when the deadline passes,
    // the loop fails or the program is asked to quit.
    template <class Condition> bool runUntil(Condition reached, const QDeadlineTimer &by)
    {
        while (!reached()) {
            if (quitting() || by.hasExpired())
                return false;
            const qint64 leftUs = by.remainingTimeNSecs() / 1000 + 1;
            const int timeoutUs = int(std::min<qint64>(leftUs, kSliceMs * 1000));
            if (pa_mainloop_prepare(m_loop, timeoutUs) < 0 || pa_mainloop_poll(m_loop) < 0 ||
                pa_mainloop_dispatch(m_loop) < 0)
                return false;
        }
        return true;
    }

    pa_mainloop *m_loop;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    bool m_drained = false;
};

PulseBeeper::PulseBeeper() = default;
PulseBeeper::~PulseBeeper() = default;

void PulseBeeper::beep(int hz, int ms)
{
    m_sounding.reset(); // long played out by now: a pause lies between two tones
    if (hz <= 0 || ms <= 0 || quitting())
        return;
    if (m_sinceFailure.isValid() && m_sinceFailure.elapsed() < kRetryAfterMs)
        return;
    const QDeadlineTimer readyBy(kReadyWithinMs, Qt::PreciseTimer);
    const QDeadlineTimer playedBy(ms + kSlackMs, Qt::PreciseTimer);
    auto playback = std::make_unique<PulsePlayback>();
    const auto result = playback->play(toneSamples(hz, ms), readyBy, playedBy);
    if (result == PulsePlayback::Unreachable)
        m_sinceFailure.start();
    else
        m_sinceFailure.invalidate();
    // Late, but whole: the caller goes on while the server plays the end.
    if (result == PulsePlayback::Sounding)
        m_sounding = std::move(playback);
}

void PulseBeeper::sleep(int ms)
{
    const QDeadlineTimer until(std::max(ms, 0), Qt::PreciseTimer);
    for (qint64 left; !quitting() && (left = until.remainingTimeNSecs()) > 0;) {
        const timespec slice{0, long(std::min<qint64>(left, kSliceMs * 1000000LL))};
        ::nanosleep(&slice, nullptr);
    }
}
