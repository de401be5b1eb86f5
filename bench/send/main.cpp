// SPDX-License-Identifier: GPL-3.0-or-later
// Times Send of the main window to 1000 recipients with the real launcher,
// from the click to the result box, against the floor: 1000 posix_spawn
// starts of the same helper (and their reaping). Also shows what a start
// through QProcess::startDetached costs, for comparison.
//   bench_send [rounds]
#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "maincontrols.h"
#include "platform/linux/deliverylauncher.h"
#include "window/frmnwcheck.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace
{

constexpr int Recipients = 1000;
const QString HelperDir = QStringLiteral(BENCH_HELPER_DIR);

// Lets the helpers of the last round end and be reaped before the next.
void settle()
{
    QThread::msleep(300);
}

double floorMs()
{
    const QByteArray program = (HelperDir + QStringLiteral("/vesnal-net")).toUtf8();
    char send[] = "send";
    char text[] = "PC-0000 Zdravo";
    char *argv[] = {const_cast<char *>(program.constData()), send, text, nullptr};
    std::vector<pid_t> pids;
    pids.reserve(Recipients);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Recipients; ++i) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) == 0)
            pids.push_back(pid);
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    for (const pid_t pid : pids)
        waitpid(pid, nullptr, 0);
    return ms;
}

double startDetachedMs()
{
    const QString program = HelperDir + QStringLiteral("/vesnal-net");
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Recipients; ++i)
        QProcess::startDetached(program,
                                {QStringLiteral("send"), QStringLiteral("PC-0000 Zdravo")});
    return clock.nsecsElapsed() / 1e6;
}

double windowMs(QAbstractButton *send, FakeMessageBoxes &boxes)
{
    QElapsedTimer clock;
    qint64 shownAt = -1;
    boxes.texts.clear();
    boxes.onReport = [&] { shownAt = clock.nsecsElapsed(); };
    clock.start();
    send->click();
    if (boxes.texts != QStringList{QStringLiteral("          Poruka je predata mreži.          ")})
        std::fprintf(stderr, "unexpected result box\n");
    return shownAt / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    FakeNetwork network;
    DeliveryLauncher launcher(HelperDir);
    FakeMessageBoxes boxes;
    frmNWCheck window(network, launcher, boxes, {});
    window.Form_Load();
    const MainControls c(window);
    for (int i = 0; i < Recipients; ++i)
        c.recipients.add(QStringLiteral("PC-%1").arg(i, 4, 10, QLatin1Char('0')));
    c.Total->setText(c.recipients.countText()); // as the list's focus would
    c.RichTextBox1->setPlainText(QStringLiteral("Zdravo"));

    std::vector<double> floors, windows, detached;
    for (int r = 0; r < rounds; ++r) {
        floors.push_back(floorMs());
        settle();
        windows.push_back(windowMs(c.Send, boxes));
        settle();
        detached.push_back(startDetachedMs());
        settle();
    }
    const double f = median(floors), w = median(windows), d = median(detached);
    std::printf("recipients %d, rounds %d (medians)\n", Recipients, rounds);
    std::printf("floor: posix_spawn x%d        %8.1f ms\n", Recipients, f);
    std::printf("Send: click to result box     %8.1f ms  (%.2f x floor)\n", w, w / f);
    std::printf("for comparison: startDetached %8.1f ms  (%.2f x floor)\n", d, d / f);
    return 0;
}
