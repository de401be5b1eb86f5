// Hostile texts and names through the whole delivery path: the launcher,
// the real vesnal-net, and a recording smbclient first on PATH. Nothing may
// run, no user text may become an smbclient argument, and the text must
// arrive byte for byte on smbclient's standard input.
#include "deliverylauncher.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace
{

const char *FakeSmbclient = R"(#!/bin/sh
dir=$(dirname "$0")
i=1
while ! mkdir "$dir/calls/$i" 2>/dev/null; do i=$((i+1)); [ $i -gt 10000 ] && exit 99; done
for a in "$@"; do printf '%s\0' "$a"; done > "$dir/calls/$i/argv.tmp"
cat > "$dir/calls/$i/stdin"
mv "$dir/calls/$i/argv.tmp" "$dir/calls/$i/argv"
)";

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool waitFor(const std::function<bool()> &condition, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace

class TestDeliverySecurity : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    int m_seen = 0;

    QString marker(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    QString call(int i, const char *file) const
    {
        return m_dir.filePath(QStringLiteral("bin/calls/%1/%2").arg(i).arg(QLatin1String(file)));
    }
    int calls() const
    {
        return QDir(m_dir.filePath("bin/calls"))
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
            .size();
    }
    QStringList argvOf(int i) const
    {
        QByteArray raw = readAll(call(i, "argv"));
        raw.chop(1);
        QStringList args;
        for (const QByteArray &a : raw.split('\0'))
            args.append(QString::fromUtf8(a));
        return args;
    }
    // Texts that would run something or add an option if any shell or
    // option parser saw them.
    QStringList hostileTexts() const
    {
        const QString m = m_dir.path();
        return {"; touch " + m + "/semicolon",
                "$(touch " + m + "/dollar)",
                "`touch " + m + "/backtick`",
                "\"quoted\" 'single' \"; touch " + m + "/quote; \"",
                "--option=client min protocol=NT1 -s /etc/passwd",
                "-U root%secret",
                "-",
                "line one\nline two\r\n|| touch " + m + "/pipe &",
                "  leading and trailing blanks  "};
    }
    void noMarkers()
    {
        for (const char *m : {"semicolon", "dollar", "backtick", "quote", "pipe", "name"})
            QVERIFY2(!QFile::exists(marker(m)), m);
    }
    QStringList fixedArgs(const QString &name) const
    {
        return {"-M",
                name,
                "-N",
                "-U",
                "PC-02",
                "--option=dos charset=CP1250",
                "--option=unix charset=UTF-8"};
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(Helper).isExecutable(), "vesnal-net must be built first");
        QDir(m_dir.path()).mkpath("bin/calls");
        QFile script(m_dir.filePath("bin/smbclient"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(FakeSmbclient);
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.filePath("bin")) + ':' + m_oldPath);
        qunsetenv("VESNAL_SMBCLIENT");
        qunsetenv("VESNAL_CODEPAGE");
        qputenv("VESNAL_NETBIOS_NAME", "PC-02");
        qputenv("VESNAL_WORKGROUP", "RADNAGRUPA");
    }
    void cleanupTestCase() { qputenv("PATH", m_oldPath); }

    void hostileTextsArriveAsPlainTextThroughTheLauncher()
    {
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        const QStringList texts = hostileTexts();
        for (const QString &text : texts) {
            const int index = ++m_seen;
            QVERIFY(launcher.start("net send PC-01 " + text) > 0);
            QVERIFY2(waitFor([&] { return QFile::exists(call(index, "argv")); }), qPrintable(text));
            QCOMPARE(argvOf(index), fixedArgs("PC-01"));
            QCOMPARE(readAll(call(index, "stdin")), text.toUtf8());
        }
        noMarkers();
    }

    void hostileNamesNeverReachSmbclient()
    {
        // Started directly, so the exit status and message can be read.
        const QList<QPair<QString, QString>> cases = {
            {"-M PC-01 hi", "bad computer name \"-M\""},
            {"--option=log file=/tmp/x hi", "bad computer name \"--option=log\""},
            {"-U x", "bad computer name \"-U\""},
            {"PC;touch hi", "bad computer name"},
            {"../../etc hi", "bad computer name"},
        };
        const int before = calls();
        for (const auto &[rest, message] : cases) {
            QProcess helper;
            helper.start(Helper, {"send", rest});
            QVERIFY(helper.waitForFinished(10000));
            QCOMPARE(helper.exitCode(), 2);
            QVERIFY2(QString::fromUtf8(helper.readAllStandardError()).contains(message),
                     qPrintable(rest));
        }
        QCOMPARE(calls(), before);
        noMarkers();
    }

    void aNameWithABlankBecomesNameAndText()
    {
        // "MY PC" in the list reaches the command as two words.
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        const int index = ++m_seen;
        QVERIFY(launcher.start("net send MY PC -rf $(x) hello") > 0);
        QVERIFY(waitFor([&] { return QFile::exists(call(index, "argv")); }));
        QCOMPARE(argvOf(index), fixedArgs("MY"));
        QCOMPARE(readAll(call(index, "stdin")), QByteArray("PC -rf $(x) hello"));

        // "$" and "(" are legal in NetBIOS names; such a name is one plain
        // argument, never run.
        const int next = ++m_seen;
        QVERIFY(launcher.start("net send $(touch " + marker("name") + ") hi") > 0);
        QVERIFY(waitFor([&] { return QFile::exists(call(next, "argv")); }));
        QCOMPARE(argvOf(next), fixedArgs("$(TOUCH"));
        QCOMPARE(readAll(call(next, "stdin")), (marker("name") + ") hi").toUtf8());
        noMarkers();
    }

    void wordsTypedInATerminalWorkAlike()
    {
        const int index = ++m_seen;
        QProcess helper;
        helper.start(Helper, {"send", "pc-01", "Zdravo", "mreži,", "čćđšž!"});
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitCode(), 0);
        QCOMPARE(helper.readAllStandardError(), QByteArray());
        QCOMPARE(argvOf(index), fixedArgs("PC-01"));
        QCOMPARE(readAll(call(index, "stdin")), QString("Zdravo mreži, čćđšž!").toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestDeliverySecurity)
#include "tst_delivery_security.moc"
