// SPDX-License-Identifier: GPL-3.0-or-later
// The receiving side: records, the spool's safe writing and clean-up, and
// vesnal-receive as Samba runs it (as the guest user, when the test is root).
#include "receiver/receive.h"
#include "receiver/spool.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QString Receiver = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-receive");
const QDateTime Now(QDate(2026, 12, 7), QTime(10, 15, 3, 250), QTimeZone("Europe/Belgrade"));
const bool Root = ::geteuid() == 0;

// DIR/spool, and files beside it; DIR may be entered by the guest user.
struct TempSpool {
    QTemporaryDir dir;
    QString path = dir.filePath("spool");
    TempSpool()
    {
        QDir().mkpath(path);
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    }
    QStringList entries() const
    {
        return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                    QDir::NoDotAndDotDot);
    }
    QString file(const QByteArray &bytes, const QString &name = "msg.X") const
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
    // The one record's sender and text, or "(n records)".
    QString onlyRecord() const
    {
        const Spool spool(path);
        const QStringList ids = spool.ids().value_or(QStringList());
        QString why;
        const auto record = ids.size() == 1 ? spool.load(ids[0], &why) : std::nullopt;
        return record ? record->sender + ' ' + record->text
                      : QStringLiteral("(%1 records)").arg(ids.size());
    }
};

// Receive::run's status and messages, as "<status> <stderr>".
QString receive(const QStringList &args, const QString &spool, const QDateTime &now = Now)
{
    QString err;
    QTextStream stream(&err);
    return QString::number(Receive::run(args, spool, now, stream)) + ' ' + err;
}

// The real program, as smbd runs it: as the guest user when this runs as root.
QString runReceiver(const QString &file, const QString &spool)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VESNAL_SPOOL", spool);
    p.setProcessEnvironment(env);
    const QStringList args{file, QStringLiteral("\uFEFFPC_02"), "rx-01", "&"};
    const QStringList guest{"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", Receiver};
    Root ? p.start("setpriv", guest + args) : p.start(Receiver, args);
    p.waitForFinished(20000);
    return QString::number(p.exitCode()) + ' ' + p.readAllStandardError();
}

void chown(const QString &path, const char *user)
{
    if (Root)
        QCOMPARE(QProcess::execute("chown", {user, path}), 0);
}

} // namespace

class TestReceive : public QObject
{
    Q_OBJECT
private slots:
    void recordsRoundTripAndStoringNeverReplacesOrFollowsLinks()
    {
        // Every field may start with U+FEFF, and keeps it.
        const SpoolRecord r{Now, QStringLiteral("\uFEFFPC_02\nTo: FORGED"),
                            QStringLiteral("\uFEFF"),
                            QStringLiteral("\uFEFFZdravo, čćđšž!\n\nFrom: x\r\n") + QChar() + 'x'};
        QString why;
        const auto back = SpoolRecord::parse(r.serialize(), &why);
        QVERIFY2(back, qPrintable(why));
        QCOMPARE(back->text, r.text);
        QCOMPARE(back->sender + '|' + back->destination + '|' +
                     back->received.toString(Qt::ISODateWithMs),
                 QStringLiteral("\uFEFFPC_02_To: FORGED|\uFEFF|2026-12-07T10:15:03.250+01:00"));

        // Names already taken, by a link to a file outside or by a file, are passed over.
        TempSpool spool;
        const QString stem = QStringLiteral("20261207T091503.250Z-%1-").arg(::getpid());
        const QString victim = spool.file("keep", "victim");
        QVERIFY(QFile::link(victim, spool.path + "/." + stem + "1.tmp"));
        QVERIFY(QFile::link(victim, spool.path + '/' + stem + "3.msg"));
        spool.file("taken", "spool/" + stem + "2.msg");
        const Spool s(spool.path);
        QCOMPARE(s.store(r, Now, &why).value_or(why), stem + "4");
        QCOMPARE(spool.entries(), QStringList({"." + stem + "1.tmp", stem + "2.msg", stem + "3.msg",
                                               stem + "4.msg"}));
        QFile kept(victim);
        QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == "keep");
        QCOMPARE(int(QFileInfo(spool.path + '/' + stem + "4.msg").permissions() & 0x7077), 0x6044);
        QCOMPARE(s.ids().value_or(QStringList()), QStringList({stem + "2", stem + "4"}));
        QVERIFY(!s.load(stem + "3", &why)); // a link is never read
    }

    void receiveStoresWholeOrNothing()
    {
        TempSpool spool;
        // Refusals: one line each, nothing stored, the message file left.
        const QString big = spool.file(QByteArray(Receive::MaxMessageBytes + 1, 'a'), "big");
        const QString fifo = spool.dir.filePath("fifo"), kept = spool.file("x");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const auto &[file, folder, expected] : QList<std::tuple<QString, QString, QString>>{
                 {big, spool.path, "larger than 65536 bytes"},
                 {spool.dir.filePath("gone"), spool.path, "No such file"},
                 {fifo, spool.path, "not a regular file"}, // reading it would block
                 {kept, spool.dir.filePath("none"),
                  "spool folder " + spool.dir.filePath("none")}}) {
            const QString out = receive({file, "PC_02", "rx-01"}, folder);
            QVERIFY2(out.startsWith("1 vesnal-receive: ") && out.contains(expected) &&
                         out.count('\n') == 1,
                     qPrintable(out));
        }
        QVERIFY(spool.entries().isEmpty() && QFile::exists(big) && QFile::exists(kept));
        for (const QStringList &args : {QStringList{kept, "PC_02"}, QStringList{"", "a", "b"},
                                        QStringList{kept, "a", "b", "&", "&"}})
            QVERIFY(receive(args, spool.path).startsWith("2 usage: vesnal-receive"));

        // Exactly the cap is taken; invalid UTF-8 is replaced, never fatal.
        const QByteArray full =
            QByteArray(Receive::MaxMessageBytes - 6, 'a') + "\xff\xc4z\xc4\x8d!";
        QCOMPARE(receive({spool.file(full), "PC_02", "rx-01"}, spool.path), "0 ");
        QVERIFY(spool.onlyRecord().endsWith(QStringLiteral("a\uFFFD\uFFFDzč!")));
    }

    void theNextRunRemovesWhatIsOlderThanThirtyDays()
    {
        TempSpool spool;
        const auto temp = [](int secondsAgo) { // as an interrupted run leaves it
            return Now.addSecs(-secondsAgo).toUTC().toString("'.'yyyyMMdd'T'HHmmss.zzz'Z-1-1.tmp'");
        };
        for (const QString &name : {temp(7200), temp(60), QStringLiteral("notes.txt")})
            spool.file("", "spool/" + name);
        for (const QDateTime &t : {Now.addDays(-31), Now.addDays(-29), Now})
            QCOMPARE(receive({spool.file("x"), "A", "b"}, spool.path, t), "0 ");
        const QStringList ids = Spool(spool.path).ids().value_or(QStringList());
        QCOMPARE(Spool::idTime(ids.value(0)), Now.addDays(-29).toUTC()); // the oldest kept
        QCOMPARE(spool.entries().size(), 4);
        QVERIFY(!spool.entries().contains(temp(7200)) && spool.entries().contains(temp(60)));
    }

    void theProgramAsTheGuestUser()
    {
        QVERIFY2(QFileInfo(Receiver).isExecutable(), "vesnal-receive must be built first");
        // As smbd leaves it: a file of the guest user's, mode 600, in a folder like /tmp.
        TempSpool spool;
        const QString tmp = spool.dir.filePath("tmp");
        QVERIFY(QDir().mkdir(tmp) && ::chmod(QFile::encodeName(tmp).constData(), 01777) == 0);
        const auto message = [&](const char *owner, const QString &name) {
            const QString file = spool.file("\xEF\xBB\xBFZdravo čćđšž", "tmp/" + name);
            QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            chown(file, owner);
            return file;
        };
        chown(spool.path, "nobody");
        const QString file = message("nobody", "1");
        QCOMPARE(runReceiver(file, spool.path), "0 ");
        QCOMPARE(spool.onlyRecord(), QStringLiteral("\uFEFFPC_02 \uFEFFZdravo čćđšž"));
        QVERIFY(!QFile::exists(file));

        // A message file the guest may not read; a spool it may not write into.
        const QString unreadable = message("root", "2");
        if (!Root)
            QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
        QString out = runReceiver(unreadable, spool.path);
        QVERIFY2(out.startsWith("1 vesnal-receive: cannot take the message file ") &&
                     out.contains("Permission denied") && out.count('\n') == 1,
                 qPrintable(out));
        chown(spool.path, "root");
        if (!Root)
            QFile::setPermissions(spool.path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        out = runReceiver(message("nobody", "3"), spool.path);
        QVERIFY2(out.startsWith("1 vesnal-receive: cannot write into spool folder ") &&
                     out.contains("Permission denied"),
                 qPrintable(out));
        QCOMPARE(spool.entries().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestReceive)
#include "tst_receive.moc"
