// The launcher that turns "net send NAME TEXT" into a run of the helper:
// what it refuses, what the helper receives, and that nothing is left behind.
#include "deliverylauncher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace
{

// Stands in for vesnal-net: writes its pid, process group, standard input's
// target and arguments (NUL-separated) into files beside itself.
const char *Recorder = R"(#!/bin/sh
dir=$(dirname "$0")
n=$$
for a in "$0" "$@"; do printf '%s\0' "$a"; done > "$dir/$n.argv"
cut -d' ' -f5 /proc/$$/stat > "$dir/$n.pgid"
readlink /proc/$$/fd/0 > "$dir/$n.stdin"
mv "$dir/$n.argv" "$dir/$n.done"
)";

bool waitFor(const std::function<bool()> &condition, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class RecorderDir
{
public:
    RecorderDir()
    {
        QFile script(dir.filePath("vesnal-net"));
        script.open(QIODevice::WriteOnly);
        script.write(Recorder);
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    QString file(qint64 pid, const char *suffix) const
    {
        return dir.filePath(QString::number(pid) + QLatin1String(suffix));
    }
    // The recorded argv of run `pid`, once it has finished writing.
    QStringList argv(qint64 pid) const
    {
        if (!waitFor([&] { return QFile::exists(file(pid, ".done")); })) return {};
        QByteArray raw = readAll(file(pid, ".done"));
        raw.chop(1);
        QStringList args;
        for (const QByteArray &a : raw.split('\0'))
            args.append(QString::fromUtf8(a));
        return args;
    }
    int runs() const { return QDir(dir.path()).entryList({"*.done"}).size(); }
    QTemporaryDir dir;
};

} // namespace

class TestDeliveryLauncher : public QObject
{
    Q_OBJECT
private slots:
    void onlyNetSendLinesAreStarted()
    {
        RecorderDir rec;
        DeliveryLauncher launcher(rec.dir.path());
        const QStringList refused = {"",
                                     "net send",
                                     "net sendPC-01 x",
                                     "NET SEND PC-01 x",
                                     " net send PC-01 x",
                                     "net  send PC-01 x",
                                     "rm -rf /tmp/x",
                                     QString("net send PC-01 a") + QChar(u'\0') + "b"};
        for (const QString &line : refused)
            QCOMPARE(launcher.start(line), qint64(0));
        QTest::qWait(200);
        QCOMPARE(rec.runs(), 0);

        DeliveryLauncher missing(rec.dir.filePath("nowhere"));
        QCOMPARE(missing.start("net send PC-01 x"), qint64(0));
        QCOMPARE(DeliveryLauncher().helperPath(),
                 QCoreApplication::applicationDirPath() + "/vesnal-net");
    }

    void helperGetsSendAndTheRestAsOneArgument()
    {
        RecorderDir rec;
        DeliveryLauncher launcher(rec.dir.path());
        const QString rest = QStringLiteral("PC-01 Zdravo mreži,\nčćđšž \"x\" 'y' $(z) `w` ; -x ");
        const qint64 pid = launcher.start("net send " + rest);
        QVERIFY(pid > 0);
        QCOMPARE(rec.argv(pid), QStringList({rec.dir.filePath("vesnal-net"), "send", rest}));
        // The task id is the helper's own pid; it runs in a process group
        // of its own and reads nothing.
        QCOMPARE(readAll(rec.file(pid, ".pgid")).trimmed(), QByteArray::number(pid));
        QCOMPARE(readAll(rec.file(pid, ".stdin")).trimmed(), QByteArray("/dev/null"));
        // The "net send " only is taken away; an empty rest is the helper's
        // to refuse.
        const qint64 bare = launcher.start("net send ");
        QCOMPARE(rec.argv(bare), QStringList({rec.dir.filePath("vesnal-net"), "send", ""}));
    }

    void manyStartsLeaveNoZombies()
    {
        RecorderDir rec;
        DeliveryLauncher launcher(rec.dir.path());
        QList<qint64> pids;
        for (int i = 0; i < 20; ++i)
            pids.append(launcher.start(QStringLiteral("net send PC-%1 x").arg(i)));
        for (const qint64 pid : pids) {
            QVERIFY(pid > 0);
            QCOMPARE(rec.argv(pid).value(2), QStringLiteral("PC-%1 x").arg(pids.indexOf(pid)));
        }
        // Reaped: gone from the process table, not left as zombies.
        for (const qint64 pid : pids)
            QVERIFY2(waitFor([pid] { return !QFile::exists(QStringLiteral("/proc/%1").arg(pid)); }),
                     qPrintable(QString::number(pid)));
    }
};

QTEST_GUILESS_MAIN(TestDeliveryLauncher)
#include "tst_deliverylauncher.moc"
