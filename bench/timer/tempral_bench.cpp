// SPDX-License-Identifier: GPL-3.0-or-later
// Timing of the timer window on the real clock, offscreen.
//
//   tempral_bench [--quick]
//   tempral_bench --tones
//
// 1. Countdowns of 10 s and 60 s (only 10 s with --quick) through a line that
//    records when RTS goes on and off: the time the load was on against the
//    period, and how late each tick came against start + k * 1000 ms.
// 2. How long the three signals block the window (start, switch-on,
//    switch-off) with the real PulseAudio beeper and with a beeper that
//    sleeps for each tone's duration (the nominal path).
// --tones: only the signals through the real beeper, five rounds, while the
// sound server's default sink is recorded from its monitor; then each tone
// as it was played: frequency, sounding length, the step at its first sample.
#include "benchapplication.h"
#include "core/ticktimer.h"
#include "monitorrecorder.h"
#include "platform/beeper.h"
#include "platform/linux/pulsebeeper.h"
#include "platform/serialline.h"
#include "platform/settingsstore.h"
#include "window/form1.h"
#include "window/messageboxes.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <vector>

namespace
{
QElapsedTimer clockNs;

double nowMs()
{
    return clockNs.nsecsElapsed() / 1e6;
}

class TimestampLine : public SerialLine
{
public:
    bool open(int, QString *) override { return m_open = true; }
    void close() override { m_open = m_rts = false; }
    bool isOpen() const override { return m_open; }
    bool setRts(bool on) override
    {
        if (on != m_rts)
            (on ? onAt : offAt) = nowMs();
        m_rts = on;
        return m_open;
    }
    bool rts() const override { return m_rts; }
    double onAt = 0, offAt = 0;

private:
    bool m_open = false, m_rts = false;
};

class MemorySettings : public SettingsStore
{
public:
    std::optional<QString> read(const QString &) override { return std::nullopt; }
    bool write(const QString &, const QString &) override { return true; }
};

class NoBoxes : public MessageBoxes
{
public:
    void critical(QWidget *, const QString &, const QString &) override {}
    void warning(QWidget *, const QString &, const QString &) override {}
};

// The nominal path: each tone blocks exactly as long as it would sound.
class SleepingBeeper : public Beeper
{
public:
    void beep(int, int ms) override { QThread::msleep(ulong(ms)); }
    void sleep(int ms) override { QThread::msleep(ulong(ms)); }
};

void waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

// A loaded and activated window on a timestamping line.
struct BenchWindow {
    explicit BenchWindow(Beeper &beeper) : form(line, settings, beeper, boxes)
    {
        bool active = false;
        QObject::connect(&form, &Form1::firstActivationDone, [&] { active = true; });
        form.load();
        form.show();
        waitUntil([&] { return active; }, 5000);
    }
    void start(const QString &period)
    {
        form.findChild<QLineEdit *>("Zadato1")->setText(period);
        form.findChild<QPushButton *>("btnPokreniT")->click();
    }
    void pressSwitch() { form.findChild<QPushButton *>("btnIskljuci")->click(); }
    // Waits until the switch takes a press again.
    void guardOver(int timeoutMs)
    {
        const auto *guard = form.findChild<TickTimer *>("Timer2");
        waitUntil([&] { return !guard->isEnabled(); }, timeoutMs);
    }
    TimestampLine line;
    MemorySettings settings;
    NoBoxes boxes;
    Form1 form;
};

void countdown(int seconds)
{
    SleepingBeeper beeper; // the start signal blocks 885 ms as it would
    BenchWindow window(beeper);
    TimestampLine &line = window.line;
    Form1 &form = window.form;

    std::vector<double> ticks;
    QObject::connect(form.findChild<TickTimer *>("Timer1"), &TickTimer::tick,
                     [&] { ticks.push_back(nowMs()); });
    window.start(QString::number(seconds));
    waitUntil([&] { return line.offAt > 0; }, seconds * 1000 + 5000);

    // Our slot runs after the window's handler, and the last handler plays
    // the switch-off tone after RTS goes off: the last tick is the moment
    // RTS went off.
    if (!ticks.empty() && line.offAt > 0)
        ticks.back() = line.offAt;
    const double on = line.offAt - line.onAt;
    double worst = 0, first = 0, last = 0, sumK = 0, sumL = 0, sumKK = 0, sumKL = 0;
    const int n = int(ticks.size());
    for (int k = 1; k <= n; ++k) {
        const double late = ticks[k - 1] - line.onAt - 1000.0 * k;
        worst = std::max(worst, std::abs(late));
        if (k == 1)
            first = late;
        last = late;
        if (qEnvironmentVariableIsSet("TEMPRAL_BENCH_TICKS"))
            std::printf("tick %d %+.2f\n", k, late);
        sumK += k, sumL += late, sumKK += double(k) * k, sumKL += k * late;
    }
    const double slope = n > 1 ? (n * sumKL - sumK * sumL) / (n * sumKK - sumK * sumK) : 0;
    std::printf("countdown %4d s: load on %.1f ms (period %d ms, off by %+.1f ms); %d ticks, "
                "lateness first %+.2f ms, last %+.2f ms, worst %.2f ms, trend %+.3f ms/tick\n",
                seconds, on, seconds * 1000, on - seconds * 1000.0, n, first, last, worst, slope);
    std::fflush(stdout);
    form.hide();
}

struct Stats {
    double min = 1e9, max = 0, sum = 0;
    int n = 0;
    void add(double v) { min = std::min(min, v), max = std::max(max, v), sum += v, ++n; }
};

void signalTimes(Beeper &beeper, const char *label, int rounds = 3)
{
    BenchWindow window(beeper);
    window.form.findChild<QCheckBox *>("chkZvuk")->setChecked(true);
    Stats start, on, off;
    for (int round = 0; round < rounds; ++round) {
        double t = nowMs();
        window.start("30");
        start.add(nowMs() - t);
        window.guardOver(1000);
        window.pressSwitch(); // ends the countdown; not measured
        window.guardOver(2000);
        t = nowMs();
        window.pressSwitch();
        on.add(nowMs() - t);
        window.guardOver(2000);
        t = nowMs();
        window.pressSwitch();
        off.add(nowMs() - t);
        window.guardOver(2000);
    }
    const auto show = [](const char *what, int nominal, const Stats &s) {
        std::printf("  %-10s nominal %3d ms: min %7.1f  mean %7.1f  max %7.1f ms\n", what, nominal,
                    s.min, s.sum / s.n, s.max);
    };
    std::printf("signals, %s (%d rounds):\n", label, rounds);
    show("start", 885, start);
    show("switch-on", 950, on);
    show("switch-off", 900, off);
    std::fflush(stdout);
}
// Each round plays: start (800, 1000, 1200 Hz, 95 ms), switch-off (800 Hz,
// 900 ms, ending the countdown), switch-on (1200 Hz, 400 ms, twice),
// switch-off.
int recordedTones()
{
    MonitorRecorder recorder;
    QString error;
    if (!recorder.start(&error)) {
        std::printf("--tones: %s\n", qPrintable(error));
        return 1;
    }
    // An idle null sink runs with seconds of latency; a recorder brings it
    // down to its own, as a sound card would have.
    waitUntil([] { return false; }, 2500);
    PulseBeeper pulse;
    signalTimes(pulse, "real PulseAudio beeper, recorded", 5);
    waitUntil([] { return false; }, 500);
    const std::vector<RecordedTone> tones = findTones(recorder.stop());

    struct Kind {
        int hz, ms;
        Stats f, length, step;
    } kinds[] = {{800, 95, {}, {}, {}},
                 {1000, 95, {}, {}, {}},
                 {1200, 95, {}, {}, {}},
                 {1200, 400, {}, {}, {}},
                 {800, 900, {}, {}, {}}};
    int unknown = 0, clicks = 0;
    for (const RecordedTone &t : tones) {
        Kind *kind = nullptr;
        for (Kind &k : kinds)
            if (std::abs(t.hz - k.hz) < 50 && std::abs(t.lengthMs - k.ms) < k.ms / 4.0 + 10)
                kind = &k;
        if (!kind) {
            ++unknown;
            std::printf("  unknown sound at %.0f ms: %.1f Hz, %.1f ms\n", t.startMs, t.hz,
                        t.lengthMs);
            continue;
        }
        kind->f.add(t.hz);
        kind->length.add(t.lengthMs);
        kind->step.add(t.firstStep);
        clicks += t.firstStep > 1000;
    }
    std::printf("tones recorded from the monitor: %zu (%d not a signal's tone), %d starting "
                "with a step above 1000\n",
                tones.size(), unknown, clicks);
    for (const Kind &k : kinds)
        if (k.f.n)
            std::printf("  %4d Hz %3d ms: %2d tones, %.1f to %.1f Hz, sounding %.1f to %.1f ms, "
                        "first-sample step %.0f to %.0f\n",
                        k.hz, k.ms, k.f.n, k.f.min, k.f.max, k.length.min, k.length.max, k.step.min,
                        k.step.max);
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    clockNs.start();
    const bool quick = app.arguments().contains("--quick");
    if (app.arguments().contains("--tones"))
        return recordedTones();

    PulseBeeper pulse;
    double t = nowMs();
    pulse.beep(800, 95);
    std::printf("PulseBeeper: first beep(800, 95) took %.1f ms%s\n", nowMs() - t,
                nowMs() - t < 50 ? " (no sound server: skipped)" : "");
    t = nowMs();
    pulse.beep(800, 95);
    std::printf("PulseBeeper: second beep(800, 95) took %.1f ms\n", nowMs() - t);

    SleepingBeeper sleeping;
    signalTimes(pulse, "real PulseAudio beeper");
    signalTimes(sleeping, "beeper sleeping for each tone (nominal path)");

    countdown(10);
    if (!quick)
        countdown(60);
    return 0;
}
