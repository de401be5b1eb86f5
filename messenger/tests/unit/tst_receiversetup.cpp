// SPDX-License-Identifier: GPL-3.0-or-later
// vesnal-receiver-setup against a temporary smb.conf: what enable writes as
// Samba reads it, enable twice, disable byte for byte, the SMB1 question;
// files and paths it refuses before writing anything; a linked smb.conf
// and its backups.
#include <QtTest>

#include <unistd.h>

namespace
{

const QString Setup = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-receiver-setup");
const QString Receiver = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-receive");

// Settings enable must take over: an old synonym in other letter case, a
// continued line in a second [global]; and a comment.
const QByteArray Original = R"([global]
   workgroup = WORKGROUP
   Dos Charset = CP850
   min protocol = SMB2
;  message command = /bin/mail -s 'message from %f' root < %s; rm %s

[homes]
   browseable = no

[global]
   messagecommand = /bin/true \
        %s &
   log level = 1
)";

struct Conf {
    QTemporaryDir dir;
    QString file = dir.filePath("smb.conf");
    QString spool = dir.filePath("spool");

    void write(const QByteArray &bytes) const
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QByteArray read(const QString &name = {}) const
    {
        QFile f(name.isEmpty() ? file : name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    // The script's exit status and output, as "<status> <stdout+stderr>".
    QString run(const QStringList &args, const QByteArray &typed = {},
                const QString &receiver = Receiver, const QString &spoolPath = {}) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VESNAL_SPOOL", spoolPath.isEmpty() ? spool : spoolPath);
        env.insert("VESNAL_RECEIVE", receiver);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(Setup, args + QStringList{"--config", file, "--no-restart"});
        p.write(typed);
        p.closeWriteChannel();
        return p.waitForFinished(60000) ? QString::number(p.exitCode()) + ' ' + p.readAll()
                                        : "timed out";
    }
    // Whether the script ends with status 0 and says `said` (else shows what it said).
    bool says(const QStringList &args, const QString &said, const QByteArray &typed = {}) const
    {
        const QString out = run(args, typed);
        return (out.startsWith("0 ") && out.contains(said)) || (qWarning() << out, false);
    }
    // Settings as Samba reads the file, joined by "|".
    QString settings(const QStringList &names) const
    {
        QStringList values;
        for (const QString &name : names) {
            QProcess p;
            p.start("testparm", {"-s", "--parameter-name=" + name, file});
            p.waitForFinished(30000);
            values.append(QString::fromUtf8(p.readAllStandardOutput()).trimmed());
        }
        return values.join('|');
    }
};

} // namespace

class TestReceiverSetup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(Setup).isExecutable() && QFileInfo(Receiver).isExecutable(),
                 "vesnal-receiver-setup and vesnal-receive must be built first");
        if (QStandardPaths::findExecutable("testparm").isEmpty())
            QSKIP("testparm (Samba) is not installed");
    }

    void enableOnceDisableByteForByte()
    {
        Conf c;
        c.write(Original);
        // Nothing happens before SMB1 is explained and agreed to.
        for (const QByteArray &typed : {QByteArray(), QByteArray("y\n")}) {
            const QString out = c.run({"enable"}, typed);
            QVERIFY2(out.startsWith("1 ") && out.contains("server min protocol = NT1") &&
                         out.contains("nothing was changed"),
                     qPrintable(out));
        }
        QVERIFY(c.read() == Original && !QFile::exists(c.spool));

        QVERIFY(c.says({"enable"}, "enabled in", "yes\n"));
        QCOMPARE(c.read(c.file + ".vesnal-backup"), Original);
        const QByteArray enabled = c.read();
        QCOMPARE(c.settings({"message command", "server min protocol", "disable netbios",
                             "dos charset", "workgroup", "log level"}),
                 "env VESNAL_SPOOL=" + c.spool + ' ' + Receiver +
                     " --address=%I --max-records=1000 --max-size=16M --sender-rate=20/60"
                     " --total-rate=60/60 %s %f %L &|NT1|No|CP852|WORKGROUP|1"); // the rest stays
        const QFileInfo spool(c.spool);
        QCOMPARE(int(spool.permissions() & 0x7077), 0x7055); // rwxr-xr-x
        QCOMPARE(spool.owner(), ::geteuid() == 0 ? "nobody" : spool.owner());

        const QDateTime written = QFileInfo(c.file).lastModified();
        QVERIFY(c.says({"enable", "--yes"}, "nothing changed"));
        QVERIFY(c.read() == enabled && QFileInfo(c.file).lastModified() == written);
        QVERIFY(c.says({"status"}, "receiving messages: enabled"));
        QVERIFY(c.says({"disable"}, "disabled in"));
        QCOMPARE(c.read(), Original);
        // Never enabled, and without a last line break: nothing is rewritten.
        c.write(Original.chopped(1));
        QVERIFY(c.says({"disable"}, "not enabled"));
        QCOMPARE(c.read(), Original.chopped(1));
    }

    void otherFilesAndEditsInBetween()
    {
        // No [global] at all: enable makes one, disable takes it away again.
        Conf c;
        const QByteArray bare = "[public]\n   path = /srv\n";
        c.write(bare);
        QVERIFY(c.says({"enable", "--yes"}, "enabled in"));
        QCOMPARE(c.settings({"dos charset", "server min protocol"}), "CP852|NT1");
        QVERIFY(c.says({"disable"}, "disabled in"));
        QCOMPARE(c.read(), bare);

        // What the administrator changed while it was enabled survives disable.
        const QByteArray extra = "\n[extra]\n   path = /srv/extra\n";
        c.write(Original);
        QVERIFY(c.says({"enable", "--yes"}, "enabled in"));
        c.write(c.read() + extra);
        QVERIFY(c.says({"disable"}, "disabled in"));
        QCOMPARE(c.read(), Original + extra);

        // A missing program, or a path the message command would have to
        // quote, is refused before anything is touched.
        QVERIFY(QFile::link(Receiver, c.dir.filePath("a b")));
        QVERIFY(
            c.run({"enable", "--yes"}, {}, c.dir.filePath("none")).contains("not an executable"));
        QVERIFY(c.run({"enable", "--yes"}, {}, c.dir.filePath("a b")).contains("may hold only"));
        QCOMPARE(c.read(), Original + extra);
    }

    void refusedBeforeAnythingIsWritten()
    {
        const QByteArray begin = "# vesnal-receiver-setup: begin (vesnal-receiver-setup disable "
                                 "removes this block)\n";
        const QByteArray end = "# vesnal-receiver-setup: end\n";
        const QByteArray shares = "[javno]\n   path = /srv\n";
        // smb.conf, options, the spool below the test's folder, and what is
        // said: a block whose end an administrator cut away or put first, a
        // guest that does not exist, an include, a bad limit, a spool folder
        // others may write or reached through a link.
        for (auto [conf, options, spool, said] :
             QList<std::tuple<QByteArray, QStringList, QString, QString>>{
                 {"[global]\n" + begin + "   x = y\n" + shares, {}, "spool", "not whole"},
                 {"[global]\n" + end + begin + shares, {}, "spool", "not whole"},
                 {"[global]\n   guest account = nosuch\n" + shares, {}, "spool", "does not exist"},
                 {"[global]\n   include = @DIR@/over.conf\n", {}, "spool", "would still read"},
                 {shares, {"--max-records", "0"}, "spool", "not a valid value"},
                 {shares, {}, "open/spool", "written by others"},
                 {shares, {}, "link/spool", "symbolic link"}}) {
            Conf c;
            conf.replace("@DIR@", c.dir.path().toUtf8());
            c.write(conf);
            QFile over(c.dir.filePath("over.conf")); // what the include sets
            QVERIFY(over.open(QIODevice::WriteOnly) && over.write("dos charset = CP437\n") > 0);
            over.close();
            QVERIFY(QDir().mkdir(c.dir.filePath("open")) && QDir().mkdir(c.dir.filePath("real")));
            QFile::setPermissions(c.dir.filePath("open"), QFileDevice::Permissions(0x7777));
            QVERIFY(QFile::link(c.dir.filePath("real"), c.dir.filePath("link")));
            for (const char *command : {"enable", "disable"}) {
                if (command == QLatin1String("disable") && !conf.contains("vesnal-receiver-setup"))
                    continue;
                const QString out = c.run(QStringList{command, "--yes"} + options, {}, Receiver,
                                          c.dir.filePath(spool));
                QVERIFY2(out.startsWith("1 ") && out.contains(said), qPrintable(out));
            }
            QCOMPARE(c.read(), conf); // byte for byte
            QCOMPARE(QDir(c.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                     QStringList({"link", "open", "over.conf", "real", "smb.conf"}));
            QVERIFY(QDir(c.dir.filePath("real")).isEmpty() &&
                    QDir(c.dir.filePath("open")).isEmpty());
        }
    }

    void aLinkedFileIsEditedAtItsTargetAndNoBackupIsOverwritten()
    {
        // [globals] is the global section too: no second one is made.
        Conf c;
        const QByteArray original =
            "[Globals]\n   workgroup = RADNAGRUPA\n[javno]\n   path = /srv\n";
        QVERIFY(QDir().mkdir(c.dir.filePath("etc")));
        const QString target = c.dir.filePath("etc/real.conf");
        c.write(original);
        QVERIFY(QFile::rename(c.file, target) && QFile::link(target, c.file));
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(c.says({"enable", "--yes", "--sender-rate", "5/10"}, "enabled in " + target));
        QVERIFY(QFileInfo(c.file).isSymLink() && c.read().count("[") == 2);
        QCOMPARE(int(QFileInfo(target).permissions() & 0x7077), 0x6000);
        QVERIFY(
            c.settings({"message command"}).contains(" --sender-rate=5/10 --total-rate=60/60 "));
        // Enabled again with other limits, and with the ones it has.
        QVERIFY(c.says({"enable", "--yes", "--max-size", "2M"}, "enabled in"));
        QVERIFY(c.settings({"message command"}).contains("--max-size=2M --sender-rate=5/10 "));
        QVERIFY(c.says({"enable"}, "nothing changed"));
        QVERIFY(c.says({"disable"}, "disabled in"));
        QCOMPARE(c.read(target), original);
        // A backup per distinct file: the first is never written again.
        const QString backup = target + ".vesnal-backup";
        QCOMPARE(c.read(backup), original);
        QVERIFY(c.read(backup + ".2").contains("--sender-rate=5/10 --total-rate"));
        QVERIFY(c.read(backup + ".3").contains("--max-size=2M"));
        QVERIFY(c.says({"enable", "--yes"}, "the earlier file is " + backup + ")"));
        QVERIFY(!QFile::exists(backup + ".4"));
    }
};

QTEST_GUILESS_MAIN(TestReceiverSetup)
#include "tst_receiversetup.moc"
