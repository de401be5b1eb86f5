// SPDX-License-Identifier: GPL-3.0-or-later
// The receiving side: records and what they never hold, the spool's safe
// writing and clean-up, its limits and rates with the refusals counted, and
// vesnal-receive's failures as the guest user (the Samba lab runs it in smbd).
#include "receiver/receive.h"
#include "receiver/spool.h"
#include "receiver/spoolstate.h"

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
    QList<SpoolRecord> records() const
    {
        const Spool spool(path);
        QList<SpoolRecord> all;
        QString why;
        for (const QString &id : spool.ids().value_or(QStringList()))
            all.append(spool.load(id, &why).value_or(SpoolRecord{}));
        return all;
    }
    // The refusals counted in the state, as "reason count sender address".
    QStringList refusals() const
    {
        QString why;
        QStringList lines;
        for (const Refusal &r : SpoolState::read(path, &why).value_or(SpoolState()).refusals)
            lines << QStringLiteral("%1 %2 ").arg(r.reason).arg(r.count) + r.sender + ' ' +
                         r.address;
        return lines;
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
    const QStringList args{file, u"\uFEFFPC_02"_qs, "rx-01", "&"};
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
    void recordsHoldPlainTextAndStoringNeverReplacesOrFollowsLinks()
    {
        // Header fields lose controls, line separators and bidi controls; the
        // text keeps newlines and tabs and shows other controls visibly.
        // Every field may start with U+FEFF, and keeps it.
        const SpoolRecord r{
            Now, u"\uFEFFPC_02\nTo: FORGED\u2028\u202E\u2066x"_qs, u"\uFEFFrx-01\t\u200F"_qs,
            u"\uFEFFZdravo, čćđšž!\r\n\rFrom: x\t\x1b[31m\a"_qs + QChar() + u"\u0085\x7f"_qs,
            u"10.0.0.2\nTo: X"_qs};
        QString why;
        const auto back = SpoolRecord::parse(r.serialize(), &why);
        QVERIFY2(back, qPrintable(why));
        QCOMPARE(back->text,
                 u"\uFEFFZdravo, čćđšž!\n\nFrom: x\t\u241b[31m\u2407\u2400\ufffd\u2421"_qs);
        QCOMPARE(
            back->sender + '|' + back->destination + '|' + back->address + '|' +
                back->received.toString(Qt::ISODateWithMs),
            u"\uFEFFPC_02To: FORGEDx|\uFEFFrx-01|10.0.0.2To: X|2026-12-07T10:15:03.250+01:00"_qs);

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

    void argumentsAsSambaGivesThem()
    {
        TempSpool spool;
        // A called name with a space arrives as two words; "&" as the last
        // one. A leading U+FEFF of the text (a byte order mark) and of the
        // sender is kept.
        for (const QStringList &destination :
             {QStringList{"rx", "01"}, QStringList{"rx", "01", "&"}})
            QCOMPARE(
                receive(QStringList{"--address=10.0.0.2", spool.file("\xEF\xBB\xBFZdravo čćđšž"),
                                    u"\uFEFFPC_02"_qs} +
                            destination,
                        spool.path, Now.addSecs(spool.records().size())),
                "0 ");
        QCOMPARE(spool.records().size(), 2);
        const SpoolRecord r = spool.records().last(); // the address is where a reply goes
        QCOMPARE(r.sender + '|' + r.text + '|' + r.destination + '|' + r.address,
                 u"\uFEFFPC_02|\uFEFFZdravo čćđšž|rx 01|10.0.0.2"_qs);
        for (const QStringList &args :
             {QStringList{spool.file("x"), "PC_02"}, QStringList{"", "a", "b"},
              QStringList{"--max-records=0", spool.file("x"), "a", "b"},
              QStringList{"--unknown=1", spool.file("x"), "a", "b"}})
            QVERIFY(receive(args, spool.path).startsWith("2 "));
        QVERIFY(QFile::exists(spool.dir.filePath("msg.X"))); // never taken as a message
    }

    void refusalsAreCountedAndTheirFilesRemoved()
    {
        TempSpool spool;
        const QStringList small{"--max-records=3", "--max-size=1K", "--sender-rate=2/60"};
        const auto send = [&](const QString &from, const QString &address, int seconds,
                              const QByteArray &text = "x", QStringList options = {}) {
            const QString file = spool.file(text);
            const QString out =
                receive((options.isEmpty() ? small : options) +
                            QStringList{"--address=" + address, file, from, "rx-01"},
                        spool.path, Now.addSecs(seconds));
            return out.left(1) + (QFile::exists(file) ? " left" : "");
        };
        // Two a minute per name and per address: a third is refused, by
        // either; so is the name while it keeps sending, and a minute after
        // its last try it is let in again.
        for (const auto &[from, address, seconds, status] :
             QList<std::tuple<QString, QString, int, QString>>{{"PC_02", "10.0.0.2", 0, "0"},
                                                               {"PC_02", "10.0.0.2", 1, "0"},
                                                               {"PC_02", "10.0.0.9", 2, "3"},
                                                               {"OTHER", "10.0.0.2", 3, "3"},
                                                               {"PC_02", "10.0.0.3", 33, "3"},
                                                               {"PC_02", "10.0.0.3", 95, "0"}})
            QCOMPARE(send(from, address, seconds), status);
        // Full: three records. Too large: over 64 KiB.
        QCOMPARE(send("PC_04", "10.0.0.4", 96), "3");
        QCOMPARE(send("PC_05", "10.0.0.5", 97, QByteArray(Receive::MaxMessageBytes + 1, 'a')), "3");
        QCOMPARE(spool.refusals(),
                 QStringList({"0 1 PC_02 10.0.0.9", "0 1 OTHER 10.0.0.2", "0 1 PC_02 10.0.0.3",
                              "1 1 PC_04 10.0.0.4", "2 1 PC_05 10.0.0.5"}));
        const QStringList stored = spool.entries();
        QCOMPARE(stored.filter(".msg").size(), 3);
        // The size limit on its own; and all senders together.
        QCOMPARE(send("PC_06", "10.0.0.6", 200, QByteArray(2000, 'a'), {"--max-size=2K"}), "3");
        const QStringList everyone{"--max-records=9", "--total-rate=1/60"};
        QCOMPARE(send("PC_07", "10.0.0.7", 201, "x", everyone), "0");
        QCOMPARE(send("PC_08", "10.0.0.8", 202, "x", everyone), "3");
        QCOMPARE(spool.refusals().mid(5),
                 QStringList({"1 1 PC_06 10.0.0.6", "0 1 PC_08 10.0.0.8"}));
        QVERIFY(QDir(spool.dir.path()).entryList({"msg.*"}, QDir::Files).isEmpty());

        // Only so many senders get a line of their own; the rest are counted together.
        SpoolState state;
        for (int i = 0; i < SpoolState::MostRefusals + 6; ++i)
            state.refuse(Refusal::TooFast, QString::number(i), {}, Now);
        QCOMPARE(state.refusals.size(), SpoolState::MostRefusals + 1);
        QCOMPARE(state.refusals.last().sender + ' ' + QString::number(state.refusals.last().count),
                 "* 6");
    }

    void prunedOnceAnHourOfWhatIsOlderThanThirtyDays()
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
        QVERIFY(!spool.entries().contains(temp(7200)) && spool.entries().contains(temp(60)));
        // Within the hour nothing is listed: an old record stays until then.
        const QDateTime t = Now.addSecs(1); // a record stored long ago
        Spool(spool.path).store({t, "A", "b", "x", ""}, t.addDays(-31), nullptr);
        QCOMPARE(receive({spool.file("x"), "A", "b"}, spool.path, Now.addSecs(3599)), "0 ");
        QCOMPARE(Spool(spool.path).ids()->size(), 4);
        QCOMPARE(receive({spool.file("x"), "A", "b"}, spool.path, Now.addSecs(3600)), "0 ");
        QCOMPARE(Spool(spool.path).ids()->size(), 4);
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
        // A message file the guest may not read; a spool it may not write
        // into. (The Samba lab's receiver stores what its guest may read.)
        chown(spool.path, "nobody");
        const QString unreadable = message("root", "2");
        if (!Root)
            QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
        QString out = runReceiver(unreadable, spool.path);
        QVERIFY2(out.startsWith("1 vesnal-receive: cannot take the message file ") &&
                     out.contains("Permission denied") && out.count('\n') == 1,
                 qPrintable(out));
        TempSpool closed;
        if (!Root)
            QFile::setPermissions(closed.path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        out = runReceiver(message("nobody", "3"), closed.path);
        QVERIFY2(out.startsWith("1 vesnal-receive: ") && out.contains("Permission denied") &&
                     out.contains("nothing was stored"),
                 qPrintable(out));
        QVERIFY(closed.entries().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReceive)
#include "tst_receive.moc"
