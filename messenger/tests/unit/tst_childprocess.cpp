// SPDX-License-Identifier: GPL-3.0-or-later
// Child processes: what they are given and give back, and every way they can
// end, each within its bound.
#include "platform/linux/childprocess.h"
#include "platform/linux/childwatch.h"

#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using End = ChildOutcome::End;

namespace
{
std::unique_ptr<ChildProcess> shell(const QString &script, ChildProcess::Options options = {})
{
    return std::make_unique<ChildProcess>("/bin/sh", QStringList{"-c", script}, std::move(options));
}
ChildOutcome run(const QString &script, ChildProcess::Options options = {}, int ms = 10000)
{
    return shell(script, std::move(options))->finish(QDeadlineTimer(ms));
}
} // namespace

class TestChildProcess : public QObject
{
    Q_OBJECT
private slots:
    void outputAndInputAreBounded()
    {
        // 8 MiB of output: kept to the limit, the rest read and dropped, so
        // the child never blocks on a full pipe.
        const ChildOutcome big = run("head -c 8388608 /dev/zero; echo done >&2", {{}, 4096});
        QVERIFY(big.exitedWith(0) && big.out.size() == 4096 && big.outCut && big.err == "done\n");
        // 4 MiB of input to a child that reads none of it: no SIGPIPE ends us.
        QVERIFY(run("exec 0<&-; exit 0", {QByteArray(4 << 20, 'x'), 1024}).exitedWith(0));
    }

    void aHangIsKilledWithItsGroup()
    {
        // One that hangs with a grandchild holding the pipe, and one that
        // closes its output and hangs: both killed at the deadline.
        QTemporaryDir dir;
        const QString pidFile = dir.filePath("grandchild");
        for (const QString &script :
             {"sleep 30 & echo $! > " + pidFile + "; wait", QString("exec >&- 2>&-; sleep 30")}) {
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(run(script, {}, 300).end, End::TimedOut);
            QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        }
        QFile f(pidFile);
        const pid_t grandchild = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toInt() : 0;
        QVERIFY(grandchild > 0);
        // Gone, or a zombie that only waits for whoever adopted it.
        const auto ended = [grandchild] {
            QFile stat(QString("/proc/%1/stat").arg(grandchild));
            return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
        };
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 2000);
    }

    void manyAtOnceEachInItsOwnTimeReleasedOnesRunOn()
    {
        // Ended in the order they end, not the order they came; each with
        // its own deadline; one that never started ends at once.
        ChildWatch watch;
        watch.add(1, shell("sleep 0.6; echo late >&2; exit 4"), QDeadlineTimer(10000));
        watch.add(2, shell("sleep 30"), QDeadlineTimer(300));
        watch.add(3, shell("head -c 100000 /dev/zero; cat; exit 5", {"fed", 1 << 20}),
                  QDeadlineTimer(10000));
        watch.add(4, std::make_unique<ChildProcess>("/nonexistent", QStringList{}),
                  QDeadlineTimer(10000));
        QList<quint64> order;
        QHash<quint64, ChildOutcome> o;
        QElapsedTimer clock;
        clock.start();
        while (watch.size() > 0 && clock.elapsed() < 10000)
            for (const ChildWatch::Ended &e : watch.wait(QDeadlineTimer(10000))) {
                order.append(e.id);
                o.insert(e.id, e.outcome);
            }
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(order.size(), 4);
        // 2's deadline came before 1 ended.
        QVERIFY(order.first() == 4 && order.indexOf(2) < order.indexOf(1) && order.last() == 1);
        QVERIFY(o[4].end == End::NotStarted && o[2].end == End::TimedOut);
        QVERIFY(o[1].exitedWith(4) && o[1].err == "late\n");
        // All of 3's output read while the others ran.
        QVERIFY(o[3].exitedWith(5) && o[3].out.size() == 100003 && o[3].out.endsWith("fed") &&
                !o[3].outCut);

        // The caller's bound ends the wait; released, a child runs on:
        // neither killed nor waited for.
        auto sleeper = std::make_unique<ChildProcess>("sleep", QStringList{"30"});
        const pid_t pid = sleeper->pid();
        watch.add(5, std::move(sleeper), QDeadlineTimer(20000));
        clock.restart();
        QVERIFY(watch.wait(QDeadlineTimer(200)).isEmpty());
        QVERIFY(clock.elapsed() >= 190 && clock.elapsed() < 2000);
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
