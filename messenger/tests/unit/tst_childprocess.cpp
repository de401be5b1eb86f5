// Child processes: what they are given and give back, and every way they can
// end, each within its bound.
#include "platform/linux/childprocess.h"

#include <QtTest>
#include <csignal>

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
};

QTEST_GUILESS_MAIN(TestChildProcess)
#include "tst_childprocess.moc"
