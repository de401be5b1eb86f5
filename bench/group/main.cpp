// SPDX-License-Identifier: GPL-3.0-or-later
// Times a message to the own workgroup ("*") of 20 computers, 5 of which
// never answer: the delivery helper's whole run, in this process, with a
// stand-in smbclient that answers at once or sleeps past the timeout. The
// figure to hold it against is one timeout; one smbclient after another
// (at most 1 at a time) is shown for comparison.
//   bench_group [timeout-ms] [rounds]
#include "delivery/delivery.h"
#include "fakenetwork.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int Computers = 20;
constexpr int Silent = 5;

// Reads the text like smbclient, then answers at once, or (SILENT-*) never.
const char *const StandIn = R"(#!/bin/sh
cat >/dev/null
case "$2" in SILENT-*) exec sleep 3600 ;; esac
exit 0
)";

double runMs(const Delivery::Settings &settings, FakeNetwork &network, int *status)
{
    QString messages;
    QTextStream err(&messages);
    const auto provider = [&network]() -> NetworkProvider & { return network; };
    QElapsedTimer clock;
    clock.start();
    *status = Delivery::run({QStringLiteral("send"), QStringLiteral("* Sastanak u 10 časova")},
                            settings, provider, err);
    return clock.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int timeoutMs = argc > 1 ? std::max(100, std::atoi(argv[1])) : 3000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    QTemporaryDir dir;
    QFile program(dir.filePath(QStringLiteral("smbclient")));
    if (!program.open(QIODevice::WriteOnly) || program.write(StandIn) < 0)
        return 2;
    program.close();
    program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    // The silent ones spread over the group, as a browse list would have them.
    FakeNetwork network;
    network.add(QString(), QStringLiteral("RADNAGRUPA"), NetDisplay::Domain);
    for (int i = 1; i <= Computers; ++i) {
        const bool silent = i % (Computers / Silent) == 0;
        network.add(QStringLiteral("RADNAGRUPA"),
                    QStringLiteral("\\\\%1-%2")
                        .arg(silent ? QStringLiteral("SILENT") : QStringLiteral("PC"))
                        .arg(i, 2, 10, QLatin1Char('0')),
                    NetDisplay::Server);
    }
    Delivery::Settings settings;
    settings.smbclient = program.fileName();
    settings.codePage = QStringLiteral("CP852");
    settings.sender = QStringLiteral("PC-00");
    settings.workgroup = QStringLiteral("RADNAGRUPA");
    settings.timeoutMs = timeoutMs;

    std::vector<double> parallel;
    int status = -1;
    for (int r = 0; r < rounds; ++r)
        parallel.push_back(runMs(settings, network, &status));
    settings.parallel = 1;
    int oneByOneStatus = -1;
    const double oneByOne = runMs(settings, network, &oneByOneStatus);

    const double best = *std::min_element(parallel.begin(), parallel.end());
    const double mid = median(parallel);
    std::printf("\"*\" to %d computers, %d never answer; timeout %d ms; %d rounds\n", Computers,
                Silent, timeoutMs, rounds);
    std::printf("8 at a time:   best %8.1f ms (%.2f x timeout), median %8.1f ms (%.2f x), "
                "exit status %d\n",
                best, best / timeoutMs, mid, mid / timeoutMs, status);
    std::printf("one by one:         %8.1f ms (%.2f x timeout), exit status %d\n", oneByOne,
                oneByOne / timeoutMs, oneByOneStatus);
    return status == 1 ? 0 : 1;
}
