// SPDX-License-Identifier: GPL-3.0-or-later
// What one received message costs, and what the agent costs while they come:
//
//   bench_receive [RUNS [SECONDS]]
//
// 1. One vesnal-receive run (wall time and peak memory, over RUNS runs)
//    into spools that already hold 0, 1000 and 20000 records, each stored
//    (the record limit raised), and 1000 at the default limit (the message
//    is refused: the spool is full). The spool's state is there as earlier
//    runs left it; the hourly pruning is timed on its own.
// 2. vesnal-popup (offscreen) on a spool at the default limit, its list of
//    1000 messages open: its CPU over SECONDS idle, while 20 messages a
//    second are refused (the spool is full: the state file changes each
//    time), and while 20 a second are stored.
#include "receiver/spool.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

const QString Receive = QStringLiteral(BENCH_PROGRAM_DIR "/vesnal-receive");
const QString Popup = QStringLiteral(BENCH_PROGRAM_DIR "/vesnal-popup");
const QString Unlimited = QStringLiteral("--total-rate=1000000/60");

// Starts `program` with `args` and the environment plus `env`; its pid.
pid_t spawn(const QString &program, const QStringList &args, const QStringList &env)
{
    QList<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString &a : args)
        bytes.append(QFile::encodeName(a));
    const qsizetype argc = bytes.size();
    for (char **e = environ; *e; ++e)
        bytes.append(*e);
    for (const QString &e : env)
        bytes.append(e.toLocal8Bit());
    std::vector<char *> argv, envp;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        (i < argc ? argv : envp).push_back(bytes[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    // What the programs say of each message goes nowhere.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&quiet);
    return failed ? -1 : pid;
}

struct Run {
    double ms = 0;
    long maxRssKiB = 0;
    int status = -1;
};

// An address of its own for the sender number `n`.
QString address(int n)
{
    return QStringLiteral("--address=10.%1.%2.%3")
        .arg(n >> 16 & 255)
        .arg(n >> 8 & 255)
        .arg(n & 255);
}

// One vesnal-receive run into `spool`, of a new message from the sender
// number `n` (a name and an address of its own: no sender's rate is reached).
Run receiveOnce(const QString &spool, int n, const QStringList &options)
{
    const QString sender = QStringLiteral("PC_%1").arg(n);
    const QString file = spool + QStringLiteral("/../msg.") + sender;
    QFile message(file);
    message.open(QIODevice::WriteOnly);
    message.write("Poruka za merenje, čćđšž.\n");
    message.close();
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = spawn(Receive, options + QStringList{address(n), file, sender, "rx-01", "&"},
                            {"VESNAL_SPOOL=" + spool});
    int status = 0;
    struct rusage usage = {};
    ::wait4(pid, &status, 0, &usage);
    return {clock.nsecsElapsed() / 1e6, usage.ru_maxrss, WEXITSTATUS(status)};
}

// `n` records in a new spool, written as vesnal-receive writes them (but
// without waiting for the disk), and the state an earlier run leaves.
void fill(const QString &spool, int n, const QStringList &options)
{
    QDir().mkpath(spool);
    const QDateTime start = QDateTime::currentDateTime().addSecs(-n);
    for (int i = 0; i < n; ++i) {
        const QDateTime t = start.addMSecs(1000LL * i);
        const SpoolRecord record{t, QStringLiteral("PC_%1").arg(i % 100), "rx-01",
                                 QStringLiteral("Poruka broj %1 iz popunjenog sandučeta.").arg(i)};
        QFile f(spool + '/' + t.toUTC().toString("yyyyMMdd'T'HHmmss.zzz'Z'") + "-1-1.msg");
        f.open(QIODevice::WriteOnly);
        f.write(record.serialize());
    }
    receiveOnce(spool, 1 << 20, options); // prunes: the counts are in the state
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

// The CPU seconds the process `pid` used so far.
double cpuSeconds(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> f = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (f.value(11).toLongLong() + f.value(12).toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

long peakKiB(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The agent's share of one core while `during` runs for `seconds`: it is
// called every 50 ms with the tick's number.
double agentLoad(pid_t agent, int seconds, const std::function<void(int)> &during)
{
    const double before = cpuSeconds(agent);
    QElapsedTimer clock;
    clock.start();
    for (int tick = 0; tick < seconds * 20; ++tick) {
        during(tick);
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        const qint64 next = (tick + 1) * 50LL;
        if (clock.elapsed() < next)
            QThread::msleep(next - clock.elapsed());
    }
    return 100.0 * (cpuSeconds(agent) - before) / (clock.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    QTemporaryDir tmp;

    std::printf("one vesnal-receive, %d runs each: median / best ms, peak memory MiB\n", runs);
    struct Row {
        int records;
        QStringList options;
        const char *what;
    };
    const QStringList raised{Unlimited, "--max-records=100000"};
    const QList<Row> rows{{0, raised, "stored"},
                          {1000, raised, "stored"},
                          {1000, {Unlimited}, "refused: full (the default limit)"},
                          {20000, raised, "stored"}};
    double empty = 0;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const Row &row = rows[r];
        const QString spool = tmp.filePath(QStringLiteral("spool-%1").arg(r));
        fill(spool, row.records, row.options);
        QList<double> ms;
        long rss = 0;
        int status = -1;
        for (int i = 0; i < runs; ++i) {
            const Run r = receiveOnce(spool, i, row.options);
            ms.append(r.ms);
            rss = std::max(rss, r.maxRssKiB);
            status = r.status;
        }
        if (row.records == 0)
            empty = median(ms);
        // The hourly pruning: the state says it was never done.
        QFile::remove(spool + "/state");
        const Run pruning = receiveOnce(spool, runs, row.options);
        std::printf("%6d records, %-36s exit %d: %6.2f / %6.2f ms (%.2f x empty), %5.1f MiB;"
                    " with the pruning %6.2f ms, %5.1f MiB\n",
                    row.records, row.what, status, median(ms),
                    *std::min_element(ms.begin(), ms.end()), median(ms) / empty, rss / 1024.0,
                    pruning.ms, pruning.maxRssKiB / 1024.0);
    }

    // The agent on a spool at the default limit.
    const QString spool = tmp.filePath(QStringLiteral("agent"));
    fill(spool, 1000, {});
    QDir().mkpath(tmp.filePath("run"));
    QFile::setPermissions(tmp.filePath("run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const pid_t agent = spawn(Popup, {},
                              {"QT_QPA_PLATFORM=offscreen", "VESNAL_SPOOL=" + spool,
                               "XDG_STATE_HOME=" + tmp.filePath("state"),
                               "XDG_RUNTIME_DIR=" + tmp.filePath("run")});
    QThread::sleep(3); // its start: 1000 records read, the list drawn
    const double start = cpuSeconds(agent);
    std::printf("vesnal-popup on 1000 records: start %.2f CPU s, %d s each:\n", start, seconds);
    const double idle = agentLoad(agent, seconds, [](int) {});
    int n = 0;
    const auto message = [&](const QStringList &options) {
        return [&, options](int) {
            const QString file = tmp.filePath(QStringLiteral("m%1").arg(n++));
            QFile f(file);
            f.open(QIODevice::WriteOnly);
            f.write("Poruka za merenje.\n");
            f.close();
            spawn(Receive,
                  options +
                      QStringList{address(n), file, QStringLiteral("PC_%1").arg(n), "rx-01", "&"},
                  {"VESNAL_SPOOL=" + spool});
        };
    };
    const double refused = agentLoad(agent, seconds, message({Unlimited}));
    const int before = int(Spool(spool).ids()->size());
    const double stored = agentLoad(agent, seconds, message({Unlimited, "--max-records=100000"}));
    QThread::sleep(1);
    std::printf("  idle %.2f %% of a core\n", idle);
    std::printf("  20 messages a second refused (spool full): %.2f %%\n", refused);
    std::printf("  20 messages a second stored (%lld new records): %.2f %%\n",
                Spool(spool).ids()->size() - before, stored);
    std::printf("  peak memory %.1f MiB\n", peakKiB(agent) / 1024.0);
    ::kill(agent, SIGTERM);
    ::waitpid(agent, nullptr, 0);
    return 0;
}
