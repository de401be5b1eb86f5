// SPDX-License-Identifier: GPL-3.0-or-later
// Child processes: what they are given and give back, and every way they can
// end, each within its bound.
#include "platform/linux/childprocess.h"
#include "platform/linux/childwatch.h"

#include <QtTest>
#include <csignal>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

using End = ChildOutcome::End;

namespace
{
// A shell script run as a child (the test's own script, not user text).
ChildOutcome run(const QString &script, ChildProcess::Options options = {}, int ms = 10000)
{
    ChildProcess child(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script},
                       std::move(options));
    return child.finish(QDeadlineTimer(ms));
}
} // namespace

class TestChildProcess : public QObject
{
    Q_OBJECT
private slots:
    void inputOutputAndStatus()
    {
        // Arguments arrive as they are, never read by a shell of ours.
        ChildProcess echo(
            QStringLiteral("printf"),
            {QStringLiteral("%s|"), QStringLiteral("$(x) ;'\"č"), QStringLiteral("-n")});
        const ChildOutcome e = echo.finish(QDeadlineTimer(5000));
        QVERIFY(e.exitedWith(0));
        QCOMPARE(e.out, QByteArray("$(x) ;'\"\xc4\x8d|-n|"));

        const ChildOutcome c = run("tr a-z A-Z; echo warn >&2; exit 3", {"zdravo\n", 1024});
        QVERIFY(c.exitedWith(3));
        QCOMPARE(c.out, QByteArray("ZDRAVO\n"));
        QCOMPARE(c.err, QByteArray("warn\n"));
        QVERIFY(!c.outCut && !c.errCut);
    }

    void boundedOutputAndAReaderThatLeaves()
    {
        // 8 MiB of output: kept to the limit, the rest read and dropped, so
        // the child never blocks on a full pipe.
        const ChildOutcome big = run("head -c 8388608 /dev/zero; echo done >&2", {{}, 4096});
        QVERIFY(big.exitedWith(0));
        QCOMPARE(big.out.size(), 4096);
        QVERIFY(big.outCut && big.err == "done\n");

        // 4 MiB of input to a child that reads none of it: no SIGPIPE ends us.
        const ChildOutcome deaf = run("exec 0<&-; exit 0", {QByteArray(4 << 20, 'x'), 1024});
        QVERIFY(deaf.exitedWith(0));
    }

    void everyEndIsTold()
    {
        QCOMPARE(run("kill -SEGV $$").end, End::Signalled);
        QCOMPARE(run("kill -SEGV $$").signal, SIGSEGV);

        ChildProcess missing(QStringLiteral("/nonexistent/program"), {});
        QVERIFY(!missing.started());
        QCOMPARE(missing.finish(QDeadlineTimer(1000)).end, End::NotStarted);

        // A child that hangs, and one that closes its output and hangs: both
        // are killed at the deadline, with a grandchild that held the pipe.
        for (const char *script : {"sleep 30 & sleep 30", "exec >&- 2>&-; sleep 30"}) {
            QElapsedTimer clock;
            clock.start();
            const ChildOutcome hung = run(script, {}, 300);
            QCOMPARE(hung.end, End::TimedOut);
            QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        }
    }

    void killedWithItsGroup()
    {
        QTemporaryDir dir;
        const QString pidFile = dir.filePath("grandchild");
        const ChildOutcome hung =
            run(QString("sleep 30 & echo $! > %1; wait").arg(pidFile), {}, 500);
        QCOMPARE(hung.end, End::TimedOut);
        QFile f(pidFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const pid_t grandchild = f.readAll().trimmed().toInt();
        QVERIFY(grandchild > 0);
        // Gone, or a zombie that only waits for whoever adopted it.
        const auto ended = [grandchild] {
            QFile stat(QString("/proc/%1/stat").arg(grandchild));
            return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
        };
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 2000);
    }

    void manyAtOnceEachInItsOwnTime()
    {
        // Ended in the order they end, not the order they came; each with
        // its own deadline; one that never started ends at once.
        ChildWatch watch;
        const auto add = [&watch](quint64 id, const QString &script, int ms,
                                  ChildProcess::Options o = {}) {
            watch.add(id, std::make_unique<ChildProcess>("/bin/sh", QStringList{"-c", script}, o),
                      QDeadlineTimer(ms));
        };
        add(1, "sleep 0.6; echo late >&2; exit 4", 10000);
        add(2, "sleep 30", 300);
        add(3, "head -c 100000 /dev/zero; cat; exit 5", 10000, {"fed", 1 << 20});
        add(4, "echo out; echo err >&2", 10000, {{}, 1024, false});
        watch.add(5, std::make_unique<ChildProcess>("/nonexistent", QStringList{}),
                  QDeadlineTimer(10000));
        QList<quint64> order;
        QHash<quint64, ChildOutcome> outcomes;
        QElapsedTimer clock;
        clock.start();
        while (watch.size() > 0 && clock.elapsed() < 10000)
            for (const ChildWatch::Ended &e : watch.wait(QDeadlineTimer(10000))) {
                order.append(e.id);
                outcomes.insert(e.id, e.outcome);
            }
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(order.size(), 5);
        QCOMPARE(order.first(), 5u);
        QVERIFY(order.indexOf(2) < order.indexOf(1)); // its deadline came first
        QCOMPARE(order.last(), 1u);
        QCOMPARE(outcomes[5].end, End::NotStarted);
        QCOMPARE(outcomes[2].end, End::TimedOut);
        QVERIFY(outcomes[1].exitedWith(4) && outcomes[1].err == "late\n");
        QVERIFY(outcomes[3].exitedWith(5));
        QCOMPARE(outcomes[3].out.size(), 100003); // all of it read while others ran
        QVERIFY(outcomes[3].out.endsWith("fed"));
        QVERIFY(outcomes[4].exitedWith(0) && outcomes[4].out.isEmpty() &&
                outcomes[4].err == "err\n");
    }

    void aWakeUpOrTheCallersBoundEndsTheWait()
    {
        ChildWatch watch;
        auto sleeper = std::make_unique<ChildProcess>("sleep", QStringList{"30"});
        const pid_t pid = sleeper->pid();
        watch.add(1, std::move(sleeper), QDeadlineTimer(20000));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(watch.wait(QDeadlineTimer(200)).isEmpty());
        QVERIFY(clock.elapsed() >= 190 && clock.elapsed() < 2000);

        const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        const quint64 one = 1;
        QCOMPARE(::write(wake, &one, sizeof one), ssize_t(sizeof one));
        clock.restart();
        QVERIFY(watch.wait(QDeadlineTimer::Forever, wake).isEmpty());
        QVERIFY(clock.elapsed() < 1000);
        ::close(wake);

        // Released, the child runs on: neither killed nor waited for.
        watch.releaseAll();
        QCOMPARE(watch.size(), 0);
        QTest::qWait(100);
        QCOMPARE(::waitpid(pid, nullptr, WNOHANG), 0);
        ::kill(pid, SIGKILL);
        QCOMPARE(::waitpid(pid, nullptr, 0), pid);
    }
};

QTEST_GUILESS_MAIN(TestChildProcess)
#include "tst_childprocess.moc"
