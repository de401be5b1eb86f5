// SPDX-License-Identifier: GPL-3.0-or-later
// vesnal-receiver-setup against a temporary smb.conf: what enable writes as
// Samba reads it, enable twice, disable byte for byte, the SMB1 question.
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
                const QString &receiver = Receiver) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VESNAL_SPOOL", spool);
        env.insert("VESNAL_RECEIVE", receiver);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(Setup, args + QStringList{"--config", file, "--no-restart"});
        p.write(typed);
        p.closeWriteChannel();
        return p.waitForFinished(60000) ? QString::number(p.exitCode()) + ' ' + p.readAll()
                                        : "timed out";
    }
    // Whether the script ends with status 0 and says `said`.
    bool says(const QStringList &args, const QString &said, const QByteArray &typed = {}) const
    {
        const QString out = run(args, typed);
        if (!out.startsWith("0 ") || !out.contains(said))
            qWarning("%s", qPrintable(out));
        return out.startsWith("0 ") && out.contains(said);
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
                     " %s %f %L &|NT1|No|CP852|WORKGROUP|1"); // and the rest stays
        const QFileInfo spool(c.spool);
        QCOMPARE(int(spool.permissions() & 0x7077), 0x7055); // rwxr-xr-x
        QCOMPARE(spool.owner(), ::geteuid() == 0 ? "nobody" : spool.owner());

        const QDateTime written = QFileInfo(c.file).lastModified();
        QVERIFY(c.says({"enable", "--yes"}, "nothing changed"));
        QVERIFY(c.read() == enabled && QFileInfo(c.file).lastModified() == written);
        QVERIFY(c.says({"status"}, "receiving messages: enabled"));
        QVERIFY(c.says({"disable"}, "disabled in"));
        QCOMPARE(c.read(), Original);
        QVERIFY(c.says({"disable"}, "not enabled"));
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
};

QTEST_GUILESS_MAIN(TestReceiverSetup)
#include "tst_receiversetup.moc"
