// The launcher that turns "net send NAME TEXT" into a run of the helper:
// what it refuses, what the helper receives, and that nothing is left behind.
#include "deliverylauncher.h"
#include "tst_delivery_support.h"

#include <QCoreApplication>
#include <QtTest>

namespace
{

// Stands in for vesnal-net: records its process group, standard input and
// arguments in <pid>.* beside itself (<pid>.argv last).
const char *Recorder = R"(#!/bin/sh
dir=$(dirname "$0")
cut -d' ' -f5 /proc/$$/stat > "$dir/$$.pgid"
readlink /proc/$$/fd/0 > "$dir/$$.stdin"
for a in "$0" "$@"; do printf '%s\0' "$a"; done > "$dir/$$.tmp"
mv "$dir/$$.tmp" "$dir/$$.argv"
)";

struct Recorder_ {
    Recorder_() { writeScript(dir, QStringLiteral("vesnal-net"), Recorder); }
    QString file(qint64 pid, const char *suffix) const
    {
        return dir.filePath(QString::number(pid) + QLatin1String(suffix));
    }
    QStringList argv(qint64 pid) const
    {
        const QString f = file(pid, ".argv");
        return waitFor([&] { return QFile::exists(f); }) ? splitArgs(readAll(f)) : QStringList();
    }
    QString helper() const { return dir.filePath(QStringLiteral("vesnal-net")); }
    QTemporaryDir dir;
};

} // namespace

class TestDeliveryLauncher : public QObject
{
    Q_OBJECT
private slots:
    void onlyNetSendLinesAreStarted()
    {
        Recorder_ rec;
        DeliveryLauncher launcher(rec.dir.path());
        for (const QString &line :
             {QString(), QString("net send"), QString("net sendPC-01 x"),
              QString("NET SEND PC-01 x"), QString(" net send PC-01 x"), QString("rm -rf /tmp/x"),
              QString("net send PC-01 a") + QChar(u'\0') + "b"})
            QCOMPARE(launcher.start(line), qint64(0));
        QTest::qWait(200);
        QCOMPARE(QDir(rec.dir.path()).entryList({"*.argv"}).size(), 0);
        QCOMPARE(DeliveryLauncher(rec.dir.filePath("nowhere")).start("net send PC-01 x"),
                 qint64(0));
        QCOMPARE(DeliveryLauncher().helperPath(),
                 QCoreApplication::applicationDirPath() + "/vesnal-net");
    }

    void helperGetsSendAndTheRestAsOneArgument()
    {
        Recorder_ rec;
        DeliveryLauncher launcher(rec.dir.path());
        const QString rest = QStringLiteral("PC-01 Zdravo mreži,\nčćđšž \"x\" 'y' $(z) `w` ; -x ");
        const qint64 pid = launcher.start("net send " + rest);
        QVERIFY(pid > 0);
        QCOMPARE(rec.argv(pid), QStringList({rec.helper(), "send", rest}));
        // The task id is the helper's own pid; it runs in a process group
        // of its own and reads nothing.
        QCOMPARE(readAll(rec.file(pid, ".pgid")).trimmed(), QByteArray::number(pid));
        QCOMPARE(readAll(rec.file(pid, ".stdin")).trimmed(), QByteArray("/dev/null"));
    }

    void manyStartsLeaveNoZombies()
    {
        Recorder_ rec;
        DeliveryLauncher launcher(rec.dir.path());
        QList<qint64> pids;
        for (int i = 0; i < 20; ++i)
            pids.append(launcher.start(QStringLiteral("net send PC-%1 x").arg(i)));
        for (int i = 0; i < pids.size(); ++i)
            QCOMPARE(rec.argv(pids[i]).value(2), QStringLiteral("PC-%1 x").arg(i));
        // Reaped: gone from the process table, not left as zombies.
        for (const qint64 pid : pids)
            QVERIFY(waitFor([pid] { return !QFile::exists(QStringLiteral("/proc/%1").arg(pid)); }));
    }
};

QTEST_GUILESS_MAIN(TestDeliveryLauncher)
#include "tst_deliverylauncher.moc"
