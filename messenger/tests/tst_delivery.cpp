// The delivery path: the helper's rules and report per recipient, the
// launcher, and hostile texts and names through launcher, the real vesnal-net
// and smbclient (a recording stand-in).
#include "delivery.h"
#include "deliverylauncher.h"
#include "fakenetwork.h"

#include <QtTest>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

// Run n leaves its standard input, "pid pgid" and its arguments in calls/<n>/
// (argv last, so its presence means the run is recorded). As smbclient it
// fails for names starting with FAIL, as for an unknown computer, and never
// answers for names starting with HANG.
class FakeSmbclient
{
public:
    explicit FakeSmbclient(const char *name = "smbclient") : program(dir.filePath(name))
    {
        QDir(dir.path()).mkdir(QStringLiteral("calls"));
        QFile f(program);
        f.open(QIODevice::WriteOnly);
        f.write(R"(#!/bin/sh
c=$(dirname "$0")/calls; i=1
while ! mkdir "$c/$i" 2>/dev/null; do i=$((i+1)); [ $i -gt 9999 ] && exit 99; done
cat > "$c/$i/stdin"; echo $$ $(cut -d' ' -f5 /proc/$$/stat) > "$c/$i/pid"
for a in "$@"; do printf '%s\0' "$a"; done > "$c/$i/a"; mv "$c/$i/a" "$c/$i/argv"
case "$2" in
FAIL*) echo "Connection to $2 failed. Error NT_STATUS_NOT_FOUND" >&2; exit 1 ;;
HANG*) exec sleep 60 ;;
esac
echo "Type your message, ending it with a Control-D"
)");
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    int calls() const
    {
        return QDir(dir.filePath("calls")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    }
    // Run n (from 1), once it is recorded.
    QStringList argv(int n) const
    {
        QStringList args;
        const QString done = dir.filePath(QStringLiteral("calls/%1/argv").arg(n));
        if (QTest::qWaitFor([&] { return QFile::exists(done); }, 10000))
            for (const QByteArray &a : read(n, "argv").split('\0'))
                args.append(QString::fromUtf8(a));
        return args.mid(0, args.size() - 1); // each argument ends with a NUL
    }
    QByteArray input(int n) const { return read(n, "stdin"); }
    QByteArray pids(int n) const { return read(n, "pid").trimmed(); }

    // smbclient's arguments for a message to `name` from PC-02 in CP1250.
    static QStringList fixedArgs(const QString &name)
    {
        return QStringLiteral("-M|%1|-N|-U|PC-02|--option=dos charset=CP1250|"
                              "--option=unix charset=UTF-8")
            .arg(name)
            .split('|');
    }

    QTemporaryDir dir;
    const QString program;

private:
    QByteArray read(int n, const char *name) const
    {
        QFile f(dir.filePath(QStringLiteral("calls/%1/%2").arg(n).arg(QLatin1String(name))));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

Delivery::Settings settings(const FakeSmbclient &smb, const QString &codePage = "CP1250",
                            const QString &sender = "PC-02", const QString &group = "RADNAGRUPA")
{
    return {smb.program, codePage, sender, group, 1000};
}

// The exit status and the messages, as "<status> <stderr>".
QString run(const QStringList &args, const Delivery::Settings &s, NetworkProvider *net = nullptr)
{
    FakeNetwork empty;
    QString err;
    QTextStream stream(&err);
    const auto provider = [&]() -> NetworkProvider & { return net ? *net : empty; };
    const int status = Delivery::run(args, s, provider, stream);
    stream.flush();
    return QString::number(status) + ' ' + err;
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
        for (const QString line : {"", "net send", "net sendPC-01 x", "NET SEND PC-01 x",
                                   " net send PC-01 x", "rm -rf /tmp/x"})
            QCOMPARE(launcher.start(line), qint64(0));
        QCOMPARE(launcher.start(QString("net send PC-01 a") + QChar(u'\0') + "b"), qint64(0));
        QCOMPARE(DeliveryLauncher(rec.dir.filePath("nowhere")).start("net send PC-01 x"), 0);
        QCOMPARE(DeliveryLauncher().helperPath(),
                 QCoreApplication::applicationDirPath() + "/vesnal-net");

        // The task id is the helper's pid, in a process group of its own.
        const QString rest = "PC-01 Zdravo mreži,\nčćđšž \"x\" 'y' $(z) `w` ; -x ";
        QList<qint64> pids{launcher.start("net send " + rest)};
        QCOMPARE(rec.argv(1), QStringList({"send", rest}));
        QCOMPARE(rec.pids(1), QByteArray::number(pids[0]) + ' ' + QByteArray::number(pids[0]));
        for (int i = 2; i <= 20; ++i)
            pids.append(launcher.start(QStringLiteral("net send PC-%1 x").arg(i)));
        for (const qint64 pid : pids) // reaped: not left in the process table as zombies
            QVERIFY(QTest::qWaitFor(
                [pid] { return !QFile::exists(QStringLiteral("/proc/%1").arg(pid)); }, 10000));
        QCOMPARE(rec.calls(), 20);
    }

    void refusalsRunNothingAndExitTwo()
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
        for (const auto &row : rows) {
            const QString r = run(row.args, settings(smb, row.codePage, row.sender, row.group));
            QVERIFY2(r.startsWith("2 vesnal-net: ") && r.contains(row.expected), qPrintable(r));
        }
        QCOMPARE(smb.calls(), 0);
    }

    void eachRecipientGetsTheTextAndFailuresAreNamed()
    {
        // One argument or many words: the same name and text, line breaks,
        // quotes and blanks kept; 1598 bytes still go.
        FakeSmbclient smb;
        const QString text = "Zdravo,  mreži čćđšž!\nredak \"2\" " + QString(1559, 'a');
        const QStringList words = QStringList{"send", "pc-01"} + text.split(' ');
        QCOMPARE(run({"send", "pc-01 " + text}, settings(smb)), QString("0 "));
        QCOMPARE(run(words, settings(smb)), QString("0 "));
        QCOMPARE(run({"send", "PC-01   x "}, settings(smb)), QString("0 "));
        QCOMPARE(smb.argv(1), FakeSmbclient::fixedArgs("PC-01"));
        QCOMPARE(QList<QByteArray>({smb.input(1), smb.input(2), smb.input(3)}),
                 QList<QByteArray>({text.toUtf8(), text.toUtf8(), "  x "}));

        // "*": every other computer of the own workgroup. A listed name that
        // breaks the rules, one that fails and one that hangs are each named
        // with the reason; the rest are still tried.
        FakeNetwork net;
        for (const char *pc : {"PC-01", "pc-02", "-EVIL", "FAIL-03", "HANG-04", "PC-05"})
            net.add("RADNAGRUPA", QStringLiteral("\\\\") + pc, NetDisplay::Server);
        net.add("DRUGA", "\\\\PC-09", NetDisplay::Server);
        QCOMPARE(
            run({"send", "* Svima"}, settings(smb), &net).split('\n'),
            QStringList(
                {"1 vesnal-net: -EVIL: not delivered: a name may not begin with "
                 "\"-\" or \".\"",
                 "vesnal-net: FAIL-03: not delivered: Connection to FAIL-03 failed. "
                 "Error NT_STATUS_NOT_FOUND (smbclient exit status 1)",
                 "vesnal-net: HANG-04: not delivered: no answer within 1 s; smbclient was stopped",
                 ""}));
        QStringList reached;
        for (int n = 4; n <= smb.calls(); ++n)
            reached << smb.argv(n).value(1) + ' ' + smb.input(n);
        QCOMPARE(reached,
                 QStringList({"PC-01 Svima", "FAIL-03 Svima", "HANG-04 Svima", "PC-05 Svima"}));

        net.failOpen("RADNAGRUPA");
        QVERIFY(run({"send", "* x"}, settings(smb), &net).contains("could not be listed"));
        auto s = settings(smb);
        s.smbclient.clear();
        QVERIFY(run({"send", "PC-01 x"}, s).contains("smbclient was not found"));
        QCOMPARE(smb.calls(), 7);
    }

    void hostileTextsAndNamesStayPlainData()
    {
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        const QString m = m_smb.dir.path() + "/marker";
        const QStringList texts = {"; touch " + m,
                                   "$(touch " + m + ")",
                                   "`touch " + m + "`",
                                   "\"q\" 'single' \"; touch " + m + "; \"",
                                   "--option=client min protocol=NT1 -s /etc/passwd",
                                   "-U root%secret",
                                   "line one\nline two\r\n|| touch " + m + " &",
                                   "  blanks around  "};
        QList<QStringList> rows; // what follows "net send ", the name, the text
        for (const QString &t : texts)
            rows.append({"PC-01 " + t, "PC-01", t});
        rows.append({"MY PC -rf $(x) hello", "MY", "PC -rf $(x) hello"}); // two words
        rows.append({"$(touch " + m + ") hi", "$(TOUCH", m + ") hi"});    // "$(" is a legal name
        for (int n = 1; n <= rows.size(); ++n) {
            QVERIFY(launcher.start("net send " + rows[n - 1][0]) > 0);
            QCOMPARE(m_smb.argv(n), FakeSmbclient::fixedArgs(rows[n - 1][1]));
            QCOMPARE(m_smb.input(n), rows[n - 1][2].toUtf8());
        }

        for (const QString rest : {"-M PC-01 hi", "--option=log file=/tmp/x hi", "-U x"}) {
            QProcess helper;
            helper.start(Helper, {"send", rest});
            QVERIFY(helper.waitForFinished(10000));
            QCOMPARE(helper.exitCode(), 2);
            QVERIFY(helper.readAllStandardError().startsWith("vesnal-net: bad computer name \"" +
                                                             rest.section(' ', 0, 0).toUtf8()));
        }
        QCOMPARE(m_smb.calls(), rows.size());
        QVERIFY(!QFile::exists(m));
    }
};

QTEST_GUILESS_MAIN(TestDelivery)
#include "tst_delivery.moc"
