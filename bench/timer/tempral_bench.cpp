// Timing of the timer window on the real clock, offscreen.
//
//   tempral_bench [--quick]
//
// 1. Countdowns of 10 s and 60 s (only 10 s with --quick) through a line that
//    records when RTS goes on and off: the time the load was on against the
//    period, and how late each tick came against start + k * 1000 ms.
// 2. How long the three signals block the window (start, switch-on,
//    switch-off) with the real PulseAudio beeper and with a beeper that
//    sleeps for each tone's duration (the nominal path).
#include "core/ticktimer.h"
#include "platform/beeper.h"
#include "platform/linux/pulsebeeper.h"
#include "platform/serialline.h"
#include "platform/settingsstore.h"
#include "window/form1.h"
#include "window/messageboxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMap>
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
        form.formLoad();
        form.show();
        waitUntil([&] { return active; }, 5000);
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
    QObject::connect(form.Timer1, &TickTimer::tick, [&] { ticks.push_back(nowMs()); });
    form.Zadato1->setText(QString::number(seconds));
    form.btnPokreniTClick();
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

void signalTimes(Beeper &beeper, const char *label)
{
    BenchWindow window(beeper);
    Form1 &form = window.form;
    form.chkZvuk->setChecked(true);
    Stats start, on, off;
    for (int round = 0; round < 3; ++round) {
        form.Zadato1->setText("30");
        double t = nowMs();
        form.btnPokreniTClick();
        start.add(nowMs() - t);
        waitUntil([&] { return !form.Timer2->isEnabled(); }, 1000);
        form.btnIskljuciClick(); // ends the countdown; not measured
        waitUntil([&] { return !form.Timer2->isEnabled(); }, 2000);
        t = nowMs();
        form.btnIskljuciClick();
        on.add(nowMs() - t);
        waitUntil([&] { return !form.Timer2->isEnabled(); }, 2000);
        t = nowMs();
        form.btnIskljuciClick();
        off.add(nowMs() - t);
        waitUntil([&] { return !form.Timer2->isEnabled(); }, 2000);
    }
    const auto show = [](const char *what, int nominal, const Stats &s) {
        std::printf("  %-10s nominal %3d ms: min %7.1f  mean %7.1f  max %7.1f ms\n", what, nominal,
                    s.min, s.sum / s.n, s.max);
    };
    std::printf("signals, %s (3 rounds):\n", label);
    show("start", 885, start);
    show("switch-on", 950, on);
    show("switch-off", 900, off);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    clockNs.start();
    const bool quick = app.arguments().contains("--quick");

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
