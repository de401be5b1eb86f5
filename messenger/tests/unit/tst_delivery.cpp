// SPDX-License-Identifier: GPL-3.0-or-later
// Delivery: the helper's rules and reports, its launcher, and hostile input end to end.
#include "delivery/delivery.h"
#include "delivery/smbclientsender.h"
#include "fakenetwork.h"
#include "net/networkrouter.h"
#include "net/staticlistbackend.h"
#include "platform/linux/childprocess.h"
#include "platform/linux/deliverylauncher.h"

#include <QtTest>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

// Run n leaves its standard input, "pid pgid" and its arguments in calls/<n>/ (argv
// last: its presence means the run is recorded). As smbclient it fails for names
// starting with FAIL, as for an unknown computer; for names starting with OFF it
// prints what smbclient prints for a receiver with SMB1 switched off, and exits 0;
// it hangs for names starting with HANG; names starting with SLOW take 1 s, and
// each such run notes how many runs were under way when it began.
class FakeSmbclient
{
public:
    explicit FakeSmbclient(const char *name = "smbclient") : program(dir.filePath(name))
    {
        QDir(dir.path()).mkdir("calls");
        QDir(dir.path()).mkdir("running");
        QFile f(program);
        f.open(QIODevice::WriteOnly);
        f.write(R"(#!/bin/sh
c=$(dirname "$0")/calls; i=1
while ! mkdir "$c/$i" 2>/dev/null; do i=$((i+1)); [ $i -gt 9999 ] && exit 99; done
cat > "$c/$i/stdin"; echo $$ $(cut -d' ' -f5 /proc/$$/stat) > "$c/$i/pid"
for a in "$@"; do printf '%s\0' "$a"; done > "$c/$i/a"; mv "$c/$i/a" "$c/$i/argv"
case "$2" in FAIL*) echo "Connection to $2 failed. Error NT_STATUS_NOT_FOUND"; exit 1 ;;
OFF*) echo "cli_message returned NT_STATUS_CONNECTION_DISCONNECTED" >&2; exit 0 ;;
HANG*) exec sleep 60 ;;
SLOW*) r=$(dirname "$0")/running; mkdir "$r/$$"; ls "$r" | wc -l > "$c/$i/concurrent"
       sleep 1; rmdir "$r/$$" ;; esac
)");
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    int calls() const { return QDir(dir.filePath("calls")).count() - 2; } // less . and ..
    Delivery::Settings settings() const { return {program, "CP1250", "PC-02", "RADNAGRUPA", 1000}; }
    // The names that runs first..last were for, sorted: parallel runs start in any order.
    QStringList names(int first, int last) const
    {
        QStringList n;
        for (int i = first; i <= last; ++i)
            n.append(call(i).value(1));
        n.sort();
        return n;
    }
    int mostAtOnce() const
    {
        int most = 0;
        for (int i = 1; i <= calls(); ++i)
            most = std::max(most, read(i, "concurrent").trimmed().toInt());
        return most;
    }
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

// A stand-in for the helper, for the ends the real one never takes.
const char *const HelperThatHangsOrCrashes = R"(#!/bin/sh
case "$2" in hang*) exec sleep 60 ;; crash*) kill -SEGV $$ ;; esac
)";

// The network "*" looks through: SMB browsing (a fake) and the list file
// `listFile` (real), each under its provider, as the helper has them.
std::unique_ptr<NetworkRouter> bothSources(std::unique_ptr<FakeNetwork> smb,
                                           const QString &listFile)
{
    auto router = std::make_unique<NetworkRouter>();
    router->add("SMB mreža", std::move(smb));
    router->add("Spisak računara", std::make_unique<StaticListBackend>(listFile, "Spisak računara",
                                                                       "PC-02", "RADNAGRUPA"));
    return router;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return f.fileName();
}

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

    void launcherTellsEachEndOnTheHandlersThread()
    {
        // The real helper with the fake smbclient: the outcomes the window builds on.
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        QObject context;
        QHash<qint64, TaskOutcome> outcomes;
        bool onThisThread = true;
        launcher.setOutcomeHandler(&context, [&](const TaskOutcome &o) {
            onThisThread = onThisThread && QThread::currentThread() == context.thread();
            QVERIFY(!outcomes.contains(o.task));
            outcomes.insert(o.task, o);
        });
        const qint64 ok = launcher.start("net send PC-01 Zdravo");
        const qint64 off = launcher.start("net send OFF-05 Zdravo"); // smbclient says 0
        const qint64 lost = launcher.start("net send FAIL-77 Zdravo");
        const qint64 refused = launcher.start("net send PC-01 Привет"); // CP852 lacks it
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.size(), 4, 10000);
        QVERIFY(onThisThread);
        const auto summary = [&outcomes](qint64 task) {
            const TaskOutcome &o = outcomes[task];
            QString s = QString::number(o.exited) + ' ' + QString::number(o.exitStatus);
            for (const DeliveryReason &r : o.reasons)
                s += " | " + r.word + ' ' + r.recipient + ' ' + r.fields.join(' ');
            return s;
        };
        QCOMPARE(summary(ok), "1 0");
        QCOMPARE(summary(off), "1 1 | no-smb1 OFF-05 ");
        QCOMPARE(summary(lost), "1 1 | not-found FAIL-77 ");
        QCOMPARE(summary(refused), "1 2 | codepage PC-01 CP852 U+041F");

        // A helper that hangs past the launcher's bound, or crashes: nobody knows.
        QTemporaryDir dir;
        writeFile(dir, "vesnal-net", HelperThatHangsOrCrashes);
        QFile::setPermissions(dir.filePath("vesnal-net"),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        DeliveryLauncher bounded(dir.path(), 500);
        outcomes.clear();
        bounded.setOutcomeHandler(&context,
                                  [&](const TaskOutcome &o) { outcomes.insert(o.task, o); });
        QElapsedTimer clock;
        clock.start();
        const qint64 hang = bounded.start("net send hang x");
        const qint64 crash = bounded.start("net send crash x");
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.size(), 2, 5000);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(!outcomes[hang].exited && !outcomes[crash].exited);
        QVERIFY(!QFile::exists("/proc/" + QString::number(hang))); // killed and reaped

        // A replaced handler hears nothing more, even of ends already under way.
        int heard = 0;
        launcher.setOutcomeHandler(&context, [&](const TaskOutcome &) { ++heard; });
        launcher.start("net send PC-01 x");
        QThread::msleep(1000); // ended and queued, not yet delivered
        launcher.setOutcomeHandler(nullptr, {});
        QTest::qWait(300);
        QCOMPARE(heard, 0);
    }

    void refusalsRunNothingEachRecipientIsTriedAndNamed()
    {
        FakeSmbclient smb;
        const struct {
            QStringList args;
            QString expected, codePage = "CP1250", sender = "PC-02", group = "RADNAGRUPA";
        } rows[] = {
            {{"send", "-M x"},
             "bad-name -M: bad computer name \"-M\": a name may not begin with \"-\""},
            {{"send", " x"}, "bad-name : bad computer name \"\": the name is empty"},
            {{"send", "ABCDEFGHIJKLMNOP hi"}, "bad-name ABCDEFGHIJKLMNOP: bad computer name"},
            {{"send", "PC;touch", "hi"},
             "bad-name PC;touch: bad computer name \"PC;touch\": a name may not hold \";\""},
            {{"send", "PC:1%\tč x"}, "bad-name PC%3A1%25%09č: bad computer name"},
            {{"send", "PC-01"}, "empty PC-01: the message text is empty"},
            {{"send", "PC-01 " + QString(1599, 'a')},
             "too-long PC-01 1599 1598: the message is too long"},
            {{"send", "* " + QString(800, '\n')},
             "too-long * 1600 1598:"}, // a line break takes two
            {{"send", "PC-01 x ђ"},
             "codepage PC-01 CP1250 U+0452: the character \"ђ\" (U+0452) has no place"},
            {{"send"}, "usage -: no recipient given\nusage: vesnal-net send NAME TEXT"},
            {{"post", "PC-01 x"}, "usage -: the first argument must be \"send\""},
            {{"send", "PC-01 x"},
             "bad-codepage PC-01 CP852%20--option=x: unusable code page",
             "CP852 --option=x"},
            {{"send", "PC-01 x"},
             "bad-sender PC-01: this computer's name",
             "CP1250",
             "ME%secret"}, // -U ME%pass
            {{"send", "* x"},
             "no-workgroup *: \"*\" needs this computer's workgroup",
             "CP1250",
             "PC-02",
             ""},
        };
        for (const auto &r : rows) {
            const QString out = run(r.args, {smb.program, r.codePage, r.sender, r.group, 1000});
            QVERIFY2(out.startsWith("2 " + r.expected), qPrintable(out));
            // Each reason line reads back to the name and fields it was written from.
            const auto reason = DeliveryReason::parse(out.mid(2).section('\n', 0, 0));
            QVERIFY(reason && reason->line() == out.mid(2).section('\n', 0, 0));
        }
        QCOMPARE(DeliveryReason::parse("bad-name PC%3A1%25%09č: x")->recipient, "PC:1%\tč");
        QCOMPARE(DeliveryReason::parse("usage: vesnal-net send NAME TEXT..."), std::nullopt);

        // One argument or many words alike; line breaks, quotes, blanks kept; 1598 bytes go.
        const QString text = "Zdravo,  mreži čćđšž!\nredak \"2\" " + QString(1559, 'a');
        QCOMPARE(run({"send", "pc-01 " + text}, smb.settings()), "0 ");
        QCOMPARE(run(QStringList{"send", "pc-01"} + text.split(' '), smb.settings()), "0 ");
        QCOMPARE(run({"send", "PC-01   x "}, smb.settings()), "0 ");
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(smb.call(n), sent("PC-01", n < 3 ? text : "  x "));

        // Failures are told whatever smbclient's exit status; the rest still go.
        FakeNetwork net;
        for (const char *pc : {"PC-01", "pc-02", "-EVIL", "FAIL-03", "HANG-04", "OFF-05", "PC-06"})
            net.add("RADNAGRUPA", QStringLiteral("\\\\") + pc, NetDisplay::Server);
        net.add("", "RADNAGRUPA", NetDisplay::Domain);
        QCOMPARE(run({"send", "* Svima"}, smb.settings(), net),
                 "1 bad-name -EVIL: a name may not begin with \"-\" or \".\"\n"
                 "not-found FAIL-03: Connection to FAIL-03 failed. Error NT_STATUS_NOT_FOUND "
                 "(smbclient exit status 1)\n"
                 "timeout HANG-04 1: no answer within 1 s; smbclient was stopped\n"
                 "no-smb1 OFF-05: cli_message returned NT_STATUS_CONNECTION_DISCONNECTED "
                 "(smbclient exit status 0)\n");
        QCOMPARE(smb.names(4, 8), (QStringList{"FAIL-03", "HANG-04", "OFF-05", "PC-01", "PC-06"}));
        QCOMPARE(run({"send", "OFF-09 x"}, smb.settings()).left(17), "1 no-smb1 OFF-09:");

        QVERIFY(run({"send", "PC-01 x"}, {"", "CP1250", "PC-02", "RADNAGRUPA", 1000})
                    .startsWith("1 no-smbclient PC-01: smbclient was not found"));
        QCOMPARE(smb.calls(), 9); // 3 + 5 + 1: none for the refusals above
    }

    void smbclientRunsAreJudgedByWhatTheyPrint()
    {
        using End = ChildOutcome::End;
        const struct {
            End end;
            int code;
            QByteArray out, err;
            QString expected; // word and fields; empty: delivered
        } rows[] = {
            {End::Exited, 0, "Type your message, ending it with a Control-D\n", "", ""},
            {End::Exited, 0, "", "Can't load /etc/samba/smb.conf\nstatus NT_STATUS_OK\n", ""},
            {End::Exited, 0, "", "cli_message returned NT_STATUS_CONNECTION_DISCONNECTED\n",
             "no-smb1"},
            {End::Exited, 0, "", "cli_message returned NT_STATUS_ACCESS_DENIED\n",
             "rejected NT_STATUS_ACCESS_DENIED"},
            {End::Exited, 0, "", "session setup NT_STATUS_INTERNAL_ERROR\n",
             "failed NT_STATUS_INTERNAL_ERROR"},
            {End::Exited, 1, "Connection to PC-77 failed. Error NT_STATUS_NOT_FOUND\n", "",
             "not-found"},
            {End::Exited, 1, "Error NT_STATUS_CONNECTION_REFUSED\n", "", "refused"},
            {End::Exited, 1, "Error NT_STATUS_IO_TIMEOUT\n", "", "timeout"},
            {End::Exited, 3, "", "", "failed exit-3"},
            {End::Signalled, -1, "", "", "failed signal-11"},
            {End::TimedOut, -1, "", "", "timeout 30"},
        };
        for (const auto &r : rows) {
            ChildOutcome run;
            run.end = r.end, run.exitCode = r.code, run.signal = 11, run.out = r.out,
            run.err = r.err;
            const auto reason = SmbclientSender::judge("PC-05", run, 30000);
            const QString got =
                reason ? (QStringList{reason->word} + reason->fields).join(' ') : "";
            QVERIFY2(got == r.expected, qPrintable(got + " for " + r.out + r.err));
            QVERIFY(!reason || reason->recipient == "PC-05");
        }
    }

    void groupIsTheOwnWorkgroupOfBothSourcesEightAtATime()
    {
        FakeSmbclient smb;
        auto browse = std::make_unique<FakeNetwork>();
        browse->add("", "RADNAGRUPA", NetDisplay::Domain);
        browse->add("", "DRUGA", NetDisplay::Domain);
        for (const QString pc : {"PC-01", "PC-02", "SLOW-01", "SLOW-02", "SLOW-03", "SLOW-04",
                                 "SLOW-05", "SLOW-06", "SLOW-07", "SLOW-08", "SLOW-09", "SLOW-10"})
            browse->add("RADNAGRUPA", "\\\\" + pc, NetDisplay::Server);
        browse->add("DRUGA", "\\\\PC-09", NetDisplay::Server);
        QTemporaryDir dir;
        const QString list = writeFile(dir, "mreza.txt",
                                       "[radnagrupa]\npc-01 isti\nSLOW-11\nSLOW-12\nSLOW-13\n"
                                       "SLOW-14\nSLOW-15\nSLOW-16\nLISTA-1\n[DRUGA]\nPC-08\n");
        auto network = bothSources(std::move(browse), list);
        Delivery::Settings settings = smb.settings();
        settings.timeoutMs = 10000;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(run({"send", "* Svima"}, settings, *network), "0 ");
        QStringList expected{"LISTA-1", "PC-01"};
        for (int i = 1; i <= 16; ++i)
            expected.append(QStringLiteral("SLOW-%1").arg(i, 2, 10, QChar('0')));
        expected.sort();
        QCOMPARE(smb.names(1, smb.calls()), expected); // each once, this computer left out
        QCOMPARE(smb.mostAtOnce(), 8);
        QVERIFY2(clock.elapsed() < 8000,
                 qPrintable(QString::number(clock.elapsed()))); // one by one: 16 s

        // Nobody else: a group that could not be listed is told apart from an empty one.
        auto empty = std::make_unique<FakeNetwork>();
        empty->add("", "RADNAGRUPA", NetDisplay::Domain);
        empty->add("RADNAGRUPA", "\\\\PC-02", NetDisplay::Server);
        const QString none = writeFile(dir, "prazan.txt", "");
        QCOMPARE(run({"send", "* x"}, smb.settings(), *bothSources(std::move(empty), none)),
                 "1 group-empty * RADNAGRUPA: no other computer found in workgroup RADNAGRUPA; "
                 "nothing was sent\n");
        auto dead = std::make_unique<FakeNetwork>();
        dead->failOpen("");
        QCOMPARE(run({"send", "* x"}, smb.settings(), *bothSources(std::move(dead), none)).left(38),
                 "1 group-unlisted * RADNAGRUPA: workgro");
        // With SMB browsing gone, the list file still reaches its computers.
        auto gone = std::make_unique<FakeNetwork>();
        gone->failOpen("");
        const QString one = writeFile(dir, "jedan.txt", "[RADNAGRUPA]\nPC-01\n");
        QCOMPARE(run({"send", "* x"}, smb.settings(), *bothSources(std::move(gone), one)), "0 ");
        QCOMPARE(smb.call(smb.calls()).value(1), "PC-01");
    }

    void hostileTextsAndNamesStayPlainData()
    {
        qputenv("VESNAL_CODEPAGE", "CP1250");
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        const QString m = m_smb.dir.path() + "/marker";
        int n = m_smb.calls();
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
        qunsetenv("VESNAL_CODEPAGE");
    }
};

QTEST_GUILESS_MAIN(TestDelivery)
#include "tst_delivery.moc"
