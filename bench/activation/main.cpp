// SPDX-License-Identifier: GPL-3.0-or-later
// Times the window's load step and first activation (both passes) over the
// real SMB browser, whose listing children are a script: one workgroup that
// answers at once and K that never answer, each child ended at the deadline.
// The same network walked one listing at a time shows what waiting for each
// in turn costs.
//   bench_activation [DEADLINE-MS [ROUNDS]]     default 1000 ms, 3 rounds
#include "net/systemnetwork.h"
#include "networkwindow.h"
#include "oneatatime.h"
#include "platform/linux/smbbrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace
{

// Milliseconds for the load step and the first activation; -1 when the live
// workgroup's ten computers are not all in the tree.
double activation(int silent, std::chrono::milliseconds deadline, bool together)
{
    qputenv("BENCH_SILENT", QByteArray::number(silent));
    std::unique_ptr<NetworkProvider> network =
        makeSystemNetwork(std::make_unique<SmbBrowser>(QStringLiteral(BENCH_LISTER), deadline));
    if (!together)
        network = std::make_unique<OneAtATime>(std::move(network));
    NetworkWindow w(std::move(network));
    const double ms = double(w.loadAndActivate());
    const QModelIndex live = w.c.node(QStringLiteral("ZIVA"));
    return w.c.nodes.rowCount(live) == 10 ? ms : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const std::chrono::milliseconds deadline(args.size() > 1 ? args[1].toInt() : 1000);
    const int rounds = args.size() > 2 ? args[2].toInt() : 3;
    // An empty list file: only the SMB workgroups (and this computer) show.
    qputenv("XDG_CONFIG_HOME", "/nonexistent");

    std::printf("deadline %lld ms, %d rounds (best / worst)\n\n", qlonglong(deadline.count()),
                rounds);
    std::printf("| silent workgroups K | activation (ms) | worst / deadline | "
                "one listing at a time (ms) |\n|---|---|---|---|\n");
    for (int k : {0, 1, 4, 16}) {
        QList<double> times;
        for (int r = 0; r < rounds; ++r)
            times.append(activation(k, deadline, true));
        std::sort(times.begin(), times.end());
        // Waiting for each in turn takes K deadlines; skipped past 20 s.
        const double alone = k * deadline.count() <= 20000 ? activation(k, deadline, false) : -1;
        std::printf("| %d | %.0f / %.0f | %.2f | %s |\n", k, times.first(), times.last(),
                    times.last() / double(deadline.count()),
                    alone < 0 ? "" : qPrintable(QString::number(alone, 'f', 0)));
        std::fflush(stdout);
    }
    return 0;
}
