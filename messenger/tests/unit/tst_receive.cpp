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

// A spool folder that the guest user may use as Samba's message command does.
struct TempSpool {
    QTemporaryDir dir;
    QString path = dir.filePath("spool");
    TempSpool()
    {
        QDir().mkpath(path);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther);
    }
    QStringList entries() const
    {
        return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                    QDir::NoDotAndDotDot);
    }
    QString message(const QByteArray &bytes, const QString &name = "msg.X") const
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
};

// Receive::run's status and messages, as "<status> <stderr>".
QString receive(const QStringList &args, const QString &spool, const QDateTime &now = Now)
{
    QString err;
    QTextStream stream(&err);
    return QString::number(Receive::run(args, spool, now, stream)) + ' ' + err;
}

SpoolRecord only(const TempSpool &spool)
{
    const auto ids = Spool(spool.path).ids();
    if (!ids || ids->size() != 1)
        return {};
    QString why;
    return Spool(spool.path).load(ids->first(), &why).value_or(SpoolRecord{});
}

// The real program with VESNAL_SPOOL, as the guest user when this runs as root.
QString runReceiver(const QStringList &args, const QString &spool)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VESNAL_SPOOL", spool);
    p.setProcessEnvironment(env);
    if (::geteuid() == 0)
        p.start("setpriv",
                QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", Receiver} +
                    args);
    else
        p.start(Receiver, args);
    p.waitForFinished(20000);
    return QString::number(p.exitCode()) + ' ' + p.readAllStandardError();
}

} // namespace

class TestReceive : public QObject
{
    Q_OBJECT
private slots:
    void recordsRoundTripAndKeepTheirHeaderIntact()
    {
        const SpoolRecord r{Now.toOffsetFromUtc(3600), "PC_02\nTo: FORGED", "rx-01",
                            "Zdravo, čćđšž!\n\nFrom: not a header\r\n" + QString(QChar()) + 'x'};
        QString why;
        const auto back = SpoolRecord::parse(r.serialize(), &why);
        QVERIFY2(back, qPrintable(why));
        QCOMPARE(back->text, r.text);
        QCOMPARE(back->destination, "rx-01");
        QCOMPARE(back->sender, "PC_02_To: FORGED"); // a line break would forge a header
        QCOMPARE(back->received, r.received);
        QCOMPARE(back->received.toString(Qt::ISODateWithMs), "2026-12-07T10:15:03.250+01:00");
        for (const QByteArray &bad : {QByteArray(), QByteArray("From: x\nTo: y\n\nhi"),
                                      QByteArray("Vesnal-Message: 1\nFrom: x\nTo: y\n\nhi"),
                                      QByteArray("Vesnal-Message: 1\nReceived: 2026-12-07T10:15:03"
                                                 "\nFrom: x\nTo: y")})
            QVERIFY(!SpoolRecord::parse(bad, &why));
    }

    void storingPassesOverTakenNamesAndNeverFollowsLinks()
    {
        TempSpool spool;
        const QString stem = QStringLiteral("20261207T091503.250Z-%1-").arg(::getpid());
        QFile victim(spool.dir.filePath("victim"));
        QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("keep") == 4);
        victim.close();
        const QDir d(spool.path);
        QVERIFY(QFile::link(victim.fileName(), d.filePath("." + stem + "1.tmp")));
        QVERIFY(QFile::link(victim.fileName(), d.filePath(stem + "3.msg")));
        spool.message("taken", "spool/" + stem + "2.msg");

        const Spool s(spool.path);
        QString why;
        const SpoolRecord record{Now, "PC_02", "rx-01", "tekst"};
        QCOMPARE(s.store(record, Now, &why).value_or(why), stem + "4");
        QCOMPARE(s.store(record, Now, &why).value_or(why), stem + "5");
        QCOMPARE(spool.entries(), QStringList({"." + stem + "1.tmp", stem + "2.msg", stem + "3.msg",
                                               stem + "4.msg", stem + "5.msg"}));
        QFile kept(d.filePath(stem + "2.msg"));
        QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == "taken");
        QVERIFY(victim.open(QIODevice::ReadOnly) && victim.readAll() == "keep");
        QCOMPARE(int(QFileInfo(d.filePath(stem + "4.msg")).permissions() & 0x7077), 0x6044);
        // A link named as a record is neither listed nor read.
        QCOMPARE(s.ids().value_or(QStringList()),
                 QStringList({stem + "2", stem + "4", stem + "5"}));
        QVERIFY(!s.load(stem + "3", &why));
        QVERIFY(!Spool(spool.dir.filePath("none")).store(record, Now, &why));
        QVERIFY2(why.startsWith("spool folder ") && why.contains("No such file"), qPrintable(why));
    }

    void receiveStoresWholeOrNothing()
    {
        TempSpool spool;
        const QString text = QStringLiteral("Zdravo mreži, čćđšž!\nDruga linija");
        QString file = spool.message(text.toUtf8());
        QCOMPARE(receive({file, "PC_02", "rx-01", "&"}, spool.path), "0 "); // as smbd runs it
        QVERIFY(!QFile::exists(file));
        SpoolRecord r = only(spool);
        QCOMPARE(r.text, text);
        QCOMPARE(r.sender + ' ' + r.destination, "PC_02 rx-01");
        QCOMPARE(r.received, Now);
        QCOMPARE(r.received.offsetFromUtc(), 3600);

        // Refusals leave the spool as it was and the message file in place.
        const QString big = spool.message(QByteArray(Receive::MaxMessageBytes + 1, 'a'), "big");
        const QString fifo = spool.dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const struct {
            QStringList args;
            QString spool, expected;
        } refusals[] = {
            {{big, "PC_02", "rx-01"}, spool.path, "larger than 65536 bytes"},
            {{spool.dir.filePath("gone"), "PC_02", "rx-01"}, spool.path, "No such file"},
            {{fifo, "PC_02", "rx-01"}, spool.path, "not a regular file"}, // would block
            {{spool.dir.path(), "PC_02", "rx-01"}, spool.path, "not a regular file"},
            {{file = spool.message("x"), "PC_02", "rx-01"}, spool.dir.filePath("no"), "No such"},
        };
        const QStringList before = spool.entries();
        for (const auto &r : refusals) {
            const QString out = receive(r.args, r.spool);
            QVERIFY2(out.startsWith("1 vesnal-receive: ") && out.contains(r.expected) &&
                         out.count('\n') == 1,
                     qPrintable(out));
        }
        QCOMPARE(spool.entries(), before);
        QVERIFY(QFile::exists(big) && QFile::exists(file));
        for (const QStringList &args :
             {QStringList{}, QStringList{file, "PC_02"}, QStringList{"", "a", "b"},
              QStringList{file, "a", "b", "c"}, QStringList{file, "a", "b", "&", "&"}})
            QVERIFY(receive(args, spool.path).startsWith("2 usage: vesnal-receive"));

        // Exactly the cap is taken; invalid UTF-8 is replaced, never fatal.
        QDir(spool.path).removeRecursively();
        QDir().mkpath(spool.path);
        QCOMPARE(receive({spool.message(QByteArray(Receive::MaxMessageBytes - 2, 'a') + "\xc4"
                                                                                        "\x8d"),
                          "PC_02", "rx-01"},
                         spool.path),
                 "0 ");
        QCOMPARE(only(spool).text.size(), Receive::MaxMessageBytes - 1);
        QDir(spool.path).removeRecursively();
        QDir().mkpath(spool.path);
        QCOMPARE(receive({spool.message("a\xff\xc4z\xc4\x8d"), "PC_02", "rx-01"}, spool.path),
                 "0 ");
        QCOMPARE(only(spool).text, QStringLiteral("a\uFFFD\uFFFDzč"));
    }

    void theNextRunRemovesRecordsOlderThanThirtyDays()
    {
        TempSpool spool;
        const auto storeAt = [&](const QDateTime &t) {
            QCOMPARE(receive({spool.message("x"), "A", "b"}, spool.path, t), "0 ");
        };
        storeAt(Now.addDays(-31));
        storeAt(Now.addDays(-29));
        const QString stale =
            QStringLiteral(".%1-1-1.tmp")
                .arg(Now.addSecs(-7200).toUTC().toString("yyyyMMdd'T'HHmmss.zzz'Z'"));
        const QString fresh =
            QStringLiteral(".%1-1-1.tmp")
                .arg(Now.addSecs(-60).toUTC().toString("yyyyMMdd'T'HHmmss.zzz'Z'"));
        spool.message("", "spool/" + stale);
        spool.message("", "spool/" + fresh);
        spool.message("", "spool/notes.txt");
        QCOMPARE(spool.entries().size(), 5);
        storeAt(Now);
        const auto ids = Spool(spool.path).ids().value_or(QStringList());
        QCOMPARE(ids.size(), 2);
        QCOMPARE(Spool::idTime(ids[0]), Now.addDays(-29).toUTC());
        QCOMPARE(Spool::idTime(ids[1]), Now.toUTC());
        QVERIFY(!QFile::exists(QDir(spool.path).filePath(stale)));
        QVERIFY(QFile::exists(QDir(spool.path).filePath(fresh)));
        QVERIFY(QFile::exists(QDir(spool.path).filePath("notes.txt")));
    }

    void theProgramAsTheGuestUser()
    {
        QVERIFY2(QFileInfo(Receiver).isExecutable(), "vesnal-receive must be built first");
        // As smbd leaves it: a file of the guest user's, mode 600, in a folder like /tmp.
        TempSpool spool;
        QVERIFY(QDir(spool.dir.path()).mkdir("tmp"));
        QVERIFY(::chmod(QFile::encodeName(spool.dir.filePath("tmp")).constData(), 01777) == 0);
        const bool root = ::geteuid() == 0;
        const auto own = [&](const QString &path, const char *user) {
            if (root)
                QCOMPARE(QProcess::execute("chown", {user, path}), 0);
        };
        int n = 0;
        const auto message = [&](const QByteArray &text, const char *owner) {
            const QString file = spool.message(text, "tmp/msg." + QString::number(++n));
            QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            own(file, owner);
            return file;
        };
        own(spool.path, "nobody");
        const QString file = message("Zdravo čćđšž", "nobody");
        QCOMPARE(runReceiver({file, "PC_02", "rx-01", "&"}, spool.path), "0 ");
        QCOMPARE(only(spool).text, QStringLiteral("Zdravo čćđšž"));
        QVERIFY(!QFile::exists(file));

        // A spool the guest may not write into, a message file it may not read.
        own(spool.path, "root");
        if (!root)
            QFile::setPermissions(spool.path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QString kept = message("x", "nobody");
        QString out = runReceiver({kept, "PC_02", "rx-01"}, spool.path);
        QVERIFY2(out.startsWith("1 vesnal-receive: cannot write into spool folder ") &&
                     out.contains("Permission denied"),
                 qPrintable(out));
        QFile::setPermissions(spool.path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        own(spool.path, "nobody");
        const QString unreadable = message("x", "root");
        if (!root)
            QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
        out = runReceiver({unreadable, "PC_02", "rx-01"}, spool.path);
        QVERIFY2(out.startsWith("1 vesnal-receive: cannot take the message file ") &&
                     out.contains("Permission denied") && out.count('\n') == 1,
                 qPrintable(out));
        QCOMPARE(Spool(spool.path).ids().value_or(QStringList()).size(), 1);
        QVERIFY(QFile::exists(kept) && QFile::exists(unreadable));
    }
};

QTEST_GUILESS_MAIN(TestReceive)
#include "tst_receive.moc"
