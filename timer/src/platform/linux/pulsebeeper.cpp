#include "platform/linux/pulsebeeper.h"

#include <QThread>
#include <cmath>
#include <pulse/simple.h>
#include <vector>

namespace
{
constexpr int kRate = 44100;
constexpr qint64 kRetryAfterMs = 5000;

std::vector<qint16> sineTone(int hz, int ms)
{
    const int n = kRate * ms / 1000;
    const int fade = std::min(n / 2, kRate * 4 / 1000); // 4 ms ramps avoid clicks
    std::vector<qint16> samples(n);
    for (int i = 0; i < n; ++i) {
        double gain = 0.4;
        if (i < fade)
            gain *= double(i) / fade;
        if (n - i < fade)
            gain *= double(n - i) / fade;
        samples[i] = qint16(32767 * gain * std::sin(2 * M_PI * hz * double(i) / kRate));
    }
    return samples;
}
} // namespace

void PulseBeeper::beep(int hz, int ms)
{
    if (hz <= 0 || ms <= 0)
        return;
    if (m_sinceFailure.isValid() && m_sinceFailure.elapsed() < kRetryAfterMs)
        return;

    pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
    // A short target buffer keeps the end of the call close to the end of
    // the tone.
    pa_buffer_attr attr;
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(pa_usec_to_bytes(30 * 1000, &format));
    attr.prebuf = uint32_t(-1);
    attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(-1);
    int err = 0;
    pa_simple *s = pa_simple_new(nullptr, "Tempral", PA_STREAM_PLAYBACK, nullptr, "signal", &format,
                                 nullptr, &attr, &err);
    if (!s) {
        m_sinceFailure.start();
        return;
    }
    m_sinceFailure.invalidate();
    const std::vector<qint16> tone = sineTone(hz, ms);
    if (pa_simple_write(s, tone.data(), tone.size() * sizeof(qint16), &err) == 0)
        pa_simple_drain(s, &err);
    pa_simple_free(s);
}

void PulseBeeper::sleep(int ms)
{
    if (ms > 0)
        QThread::msleep(ulong(ms));
}
