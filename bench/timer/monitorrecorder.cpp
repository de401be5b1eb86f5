// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitorrecorder.h"

#include <QDeadlineTimer>
#include <QThread>
#include <cstdlib>
#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

namespace
{
// Waits, with the loop's lock held, until `done` holds or 2 s have passed.
template <class Done> bool waitFor(pa_threaded_mainloop *loop, Done done)
{
    const QDeadlineTimer deadline(2000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        pa_threaded_mainloop_unlock(loop);
        QThread::msleep(5);
        pa_threaded_mainloop_lock(loop);
    }
    return true;
}
} // namespace

MonitorRecorder::~MonitorRecorder()
{
    stop();
}

bool MonitorRecorder::start(QString *error)
{
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop || pa_threaded_mainloop_start(m_loop) < 0) {
        *error = "no main loop";
        return false;
    }
    pa_threaded_mainloop_lock(m_loop);
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "tempral_bench");
    pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
    const bool connected = waitFor(m_loop,
                                   [this] {
                                       const auto s = pa_context_get_state(m_context);
                                       return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
                                   }) &&
                           pa_context_get_state(m_context) == PA_CONTEXT_READY;
    bool ready = false;
    if (connected) {
        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
        pa_buffer_attr attr;
        attr.maxlength = attr.tlength = attr.prebuf = attr.minreq = uint32_t(-1);
        attr.fragsize = uint32_t(pa_usec_to_bytes(10 * 1000, &format));
        m_stream = pa_stream_new(m_context, "monitor", &format, nullptr);
        pa_stream_set_read_callback(m_stream, onRead, this);
        pa_stream_connect_record(m_stream, "@DEFAULT_MONITOR@", &attr, PA_STREAM_ADJUST_LATENCY);
        ready = waitFor(m_loop,
                        [this] {
                            const auto s = pa_stream_get_state(m_stream);
                            return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
                        }) &&
                pa_stream_get_state(m_stream) == PA_STREAM_READY;
    }
    pa_threaded_mainloop_unlock(m_loop);
    if (!ready)
        *error = connected ? "the default sink's monitor cannot be recorded"
                           : "no sound server answered";
    return ready;
}

void MonitorRecorder::onRead(pa_stream *stream, size_t, void *self)
{
    auto &samples = static_cast<MonitorRecorder *>(self)->m_samples;
    const void *data = nullptr;
    size_t bytes = 0;
    while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &bytes) == 0 &&
           bytes > 0) {
        const size_t n = bytes / sizeof(qint16);
        if (data) {
            const auto *begin = static_cast<const qint16 *>(data);
            samples.insert(samples.end(), begin, begin + n);
        } else {
            samples.insert(samples.end(), n, 0); // a hole in the stream
        }
        pa_stream_drop(stream);
    }
}

std::vector<qint16> MonitorRecorder::stop()
{
    if (!m_loop)
        return std::move(m_samples);
    pa_threaded_mainloop_lock(m_loop);
    if (m_stream) {
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    pa_threaded_mainloop_unlock(m_loop);
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
    return std::move(m_samples);
}

std::vector<RecordedTone> findTones(const std::vector<qint16> &samples)
{
    const int gap = MonitorRecorder::kRate / 100; // 10 ms of silence part two tones
    const double perMs = MonitorRecorder::kRate / 1000.0;
    std::vector<RecordedTone> tones;
    const int n = int(samples.size());
    for (int i = 0; i < n;) {
        if (samples[i] == 0) {
            ++i;
            continue;
        }
        const int start = i;
        int last = i, rises = 0;
        double firstRise = -1, lastRise = -1;
        for (; i < n && i - last < gap; ++i) {
            if (samples[i] != 0)
                last = i;
            if (i > start && samples[i - 1] < 0 && samples[i] >= 0) {
                // where the line between the two samples crosses zero
                const double a = samples[i - 1], b = samples[i];
                lastRise = i - 1 + a / (a - b);
                if (firstRise < 0)
                    firstRise = lastRise;
                ++rises;
            }
        }
        RecordedTone t;
        t.startMs = start / perMs;
        t.lengthMs = (last - start + 1) / perMs;
        t.hz = rises > 1 ? (rises - 1) * MonitorRecorder::kRate / (lastRise - firstRise) : 0;
        t.firstStep = std::abs(int(samples[start]));
        tones.push_back(t);
    }
    return tones;
}
