// Delivery: the helper's rules and reports, its launcher, and hostile input end to end.
#include "delivery/delivery.h"
#include "fakenetwork.h"
#include "platform/linux/deliverylauncher.h"

#include <QtTest>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

// Run n leaves its standard input, "pid pgid" and its arguments in calls/<n>/ (argv
// last: its presence means the run is recorded). As smbclient it fails for names
// starting with FAIL, as for an unknown computer, and hangs for names starting with HANG.
class FakeSmbclient
{
public:
    explicit FakeSmbclient(const char *name = "smbclient") : program(dir.filePath(name))
    {
        QDir(dir.path()).mkdir("calls");
        QFile f(program);
        f.open(QIODevice::WriteOnly);
        f.write(R"(#!/bin/sh
c=$(dirname "$0")/calls; i=1
while ! mkdir "$c/$i" 2>/dev/null; do i=$((i+1)); [ $i -gt 9999 ] && exit 99; done
cat > "$c/$i/stdin"; echo $$ $(cut -d' ' -f5 /proc/$$/stat) > "$c/$i/pid"
for a in "$@"; do printf '%s\0' "$a"; done > "$c/$i/a"; mv "$c/$i/a" "$c/$i/argv"
case "$2" in FAIL*) echo "Connection to $2 failed. Error NT_STATUS_NOT_FOUND" >&2; exit 1 ;;
HANG*) exec sleep 60 ;; esac
)");
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    int calls() const { return QDir(dir.filePath("calls")).count() - 2; } // less . and ..
    Delivery::Settings settings() const { return {program, "CP1250", "PC-02", "RADNAGRUPA", 1000}; }
    // Run n (from 1), once recorded: its arguments, then its standard input.
    QStringList call(int n) const
    {
        (void)QTest::qWaitFor([&] { return !read(n, "argv").isEmpty(); }, 10000);
        QStringList args = QString::fromUtf8(read(n, "argv")).split(QChar()); // NUL-ended
        return args.mid(0, args.size() - 1) << QString::fromUtf8(read(n, "stdin"));
    }
    QByteArray read(int n, const char *name) const
    {
        QFile f(dir.filePath(QStringLiteral("calls/%1/%2").arg(n).arg(QLatin1String(name))));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    const QString program;
};

// What smbclient gets for a message to `name` from PC-02 in CP1250.
QStringList sent(const QString &name, const QString &text)
{
    const QStringList options{"--option=dos charset=CP1250", "--option=unix charset=UTF-8"};
    return QStringList{"-M", name, "-N", "-U", "PC-02"} + options + QStringList{text};
}

FakeNetwork noNetwork;

// The exit status and the messages, as "<status> <stderr>".
QString run(const QStringList &args, const Delivery::Settings &s, NetworkProvider &net = noNetwork)
{
    QString err;
    QTextStream stream(&err); // every message ends with Qt::endl, which flushes
    const auto provider = [&]() -> NetworkProvider & { return net; };
    return QString::number(Delivery::run(args, s, provider, stream)) + ' ' + err;
}

} // namespace

class TestDelivery : public QObject
{
    Q_OBJECT
    FakeSmbclient m_smb; // first on PATH, for the real helper

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(Helper).isExecutable(), "vesnal-net must be built first");
        qputenv("PATH", QFile::encodeName(m_smb.dir.path()) + ':' + qgetenv("PATH"));
        qunsetenv("VESNAL_SMBCLIENT");
        qunsetenv("VESNAL_CODEPAGE");
        qputenv("VESNAL_NETBIOS_NAME", "PC-02");
    }

    void launcherStartsOnlyNetSendAndReapsItsHelpers()
    {
        FakeSmbclient rec("vesnal-net"); // stands in for the helper
        DeliveryLauncher launcher(rec.dir.path());
        for (const QString &line :
             QStringList{"", "net send", "net sendPC-01 x", "NET SEND PC-01 x", " net send PC-01 x",
                         "rm -rf /tmp/x", QString::fromUtf8("net send PC-01 a\0b", 18)})
            QCOMPARE(launcher.start(line), qint64(0));
        QCOMPARE(DeliveryLauncher(rec.dir.filePath("nowhere")).start("net send PC-01 x"), 0);
        QCOMPARE(DeliveryLauncher().helperPath(),
                 QCoreApplication::applicationDirPath() + "/vesnal-net");

        // The task id is the helper's pid, in a process group of its own.
        const QString rest = "PC-01 Zdravo mreži,\nčćđšž \"x\" 'y' $(z) `w` ; -x ";
        QList<qint64> pids{launcher.start("net send " + rest)};
        QCOMPARE(rec.call(1), QStringList({"send", rest, ""}));
        QCOMPARE(rec.read(1, "pid"), QString("%1 %1\n").arg(pids[0]).toUtf8());
        for (int i = 2; i <= 20; ++i)
            pids.append(launcher.start(QStringLiteral("net send PC-%1 x").arg(i)));
        for (const qint64 pid : pids) // reaped: not left in the process table as zombies
            QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists("/proc/" + QString::number(pid)), 10000);
        QCOMPARE(rec.calls(), 20);
    }

    void refusalsRunNothingEachRecipientIsTriedAndNamed()
    {
        FakeSmbclient smb;
        const struct {
            QStringList args;
            QString expected, codePage = "CP1250", sender = "PC-02", group = "RADNAGRUPA";
        } rows[] = {
            {{"send", "-M x"}, "bad computer name \"-M\": a name may not begin with \"-\""},
            {{"send", " x"}, "bad computer name \"\": the name is empty"},
            {{"send", "ABCDEFGHIJKLMNOP hi"}, "at most 15 bytes"},
            {{"send", "PC;touch", "hi"}, "may not hold \";\""},
            {{"send", "PC-01"}, "the message text is empty"},
            {{"send", "PC-01 " + QString(1599, 'a')}, "too long"}, // smbclient reads 1598 bytes
            {{"send", "PC-01 " + QString(800, '\n')}, "too long"}, // a line break takes two
            {{"send", "PC-01 Привет"}, "code page CP1250"},
            {{"send"}, "usage: vesnal-net send NAME TEXT"},
            {{"post", "PC-01 x"}, "usage: vesnal-net send NAME TEXT"},
            {{"send", "PC-01 x"}, "unusable code page", "CP852 --option=x"},
            {{"send", "PC-01 x"}, "this computer's name", "CP1250", "ME%secret"}, // -U ME%pass
            {{"send", "* x"}, "needs this computer's workgroup", "CP1250", "PC-02", ""},
        };
        for (const auto &r : rows) {
            const QString out = run(r.args, {smb.program, r.codePage, r.sender, r.group, 1000});
            QVERIFY2(out.startsWith("2 vesnal-net: ") && out.contains(r.expected), qPrintable(out));
        }

        // One argument or many words alike; line breaks, quotes, blanks kept; 1598 bytes go.
        const QString text = "Zdravo,  mreži čćđšž!\nredak \"2\" " + QString(1559, 'a');
        QCOMPARE(run({"send", "pc-01 " + text}, smb.settings()), "0 ");
        QCOMPARE(run(QStringList{"send", "pc-01"} + text.split(' '), smb.settings()), "0 ");
        QCOMPARE(run({"send", "PC-01   x "}, smb.settings()), "0 ");
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(smb.call(n), sent("PC-01", n < 3 ? text : "  x "));

        // "*": every other computer of the own workgroup. A bad listed name, a failure and a
        // hang are each named with the reason; the rest are still tried.
        FakeNetwork net;
        for (const char *pc : {"PC-01", "pc-02", "-EVIL", "FAIL-03", "HANG-04", "PC-05"})
            net.add("RADNAGRUPA", QStringLiteral("\\\\") + pc, NetDisplay::Server);
        net.add("DRUGA", "\\\\PC-09", NetDisplay::Server);
        QCOMPARE(run({"send", "* Svima"}, smb.settings(), net),
                 "1 vesnal-net: -EVIL: not delivered: a name may not begin with \"-\" or \".\"\n"
                 "vesnal-net: FAIL-03: not delivered: Connection to FAIL-03 failed. Error "
                 "NT_STATUS_NOT_FOUND (smbclient exit status 1)\nvesnal-net: HANG-04: not "
                 "delivered: no answer within 1 s; smbclient was stopped\n");
        for (int n = 4; const char *reached : {"PC-01", "FAIL-03", "HANG-04", "PC-05"})
            QCOMPARE(smb.call(n++), sent(reached, "Svima"));

        net.failOpen("RADNAGRUPA");
        QVERIFY(run({"send", "* x"}, smb.settings(), net).contains("could not be listed"));
        QVERIFY(run({"send", "PC-01 x"}, {"", "CP1250", "PC-02", "RADNAGRUPA", 1000})
                    .contains("smbclient was not found"));
        QVERIFY(run({"send", "FAIL-01 x"}, smb.settings()).startsWith("1 vesnal-net: FAIL-01"));
        QCOMPARE(smb.calls(), 8); // 3 + 4 + 1: none for the refusals above
    }

    void hostileTextsAndNamesStayPlainData()
    {
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        const QString m = m_smb.dir.path() + "/marker";
        int n = 0;
        const auto passes = [&](const QString &rest, const QString &name, const QString &text) {
            QVERIFY(launcher.start("net send " + rest) > 0);
            QCOMPARE(m_smb.call(++n), sent(name, text));
        };
        for (const QString &t :
             QStringList{"; touch " + m, "$(touch " + m + ")", "`touch " + m + "`",
                         "\"q\" 'single' \"; touch " + m + "; \"",
                         "--option=client min protocol=NT1 -s /etc/passwd", "-U root%secret",
                         "line one\nline two\r\n|| touch " + m + " &", "  blanks around  "})
            passes("PC-01 " + t, "PC-01", t);
        passes("MY PC -rf $(x) hello", "MY", "PC -rf $(x) hello"); // two words
        passes("$(touch " + m + ") hi", "$(TOUCH", m + ") hi");    // "$(" is a legal name
        // Refused by the real helper itself; the messages are checked above.
        for (const QString rest : {"-M PC-01 hi", "--option=log file=/tmp/x hi", "-U x"})
            QCOMPARE(QProcess::execute(Helper, {"send", rest}), 2);
        QCOMPARE(m_smb.calls(), n);
        QVERIFY(!QFile::exists(m));
    }
};

QTEST_GUILESS_MAIN(TestDelivery)
#include "tst_delivery.moc"
