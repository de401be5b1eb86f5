// SPDX-License-Identifier: GPL-3.0-or-later
// Delivery: the helper's rules and reports, its launcher, and hostile input end to end.
#include "delivery/delivery.h"
#include "delivery/smbclientsender.h"
#include "fakenetwork.h"
#include "fakesmbclient.h"
#include "net/networkrouter.h"
#include "net/staticlistbackend.h"
#include "platform/linux/childprocess.h"
#include "platform/linux/deliverylauncher.h"

#include <QtTest>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

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

        // A helper that hangs past the launcher's bound, or crashes: nobody knows.
        DeliveryLauncher bounded(rec.dir.path(), 500);
        QObject context;
        QHash<qint64, TaskOutcome> outcomes;
        bounded.setOutcomeHandler(&context,
                                  [&](const TaskOutcome &o) { outcomes.insert(o.task, o); });
        QElapsedTimer clock;
        clock.start();
        const qint64 hang = bounded.start("net send HANG x"),
                     crash = bounded.start("net send CRASH");
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.size(), 2, 5000);
        QVERIFY(clock.elapsed() < 3000 && !outcomes[hang].exited && !outcomes[crash].exited);
        QVERIFY(!QFile::exists("/proc/" + QString::number(hang))); // killed and reaped
    }

    void launcherTellsEachEndOnTheHandlersThread()
    {
        // The real helper with the fake smbclient: the outcomes the window builds on.
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        QObject context;
        QHash<qint64, QString> outcomes; // "exited status | word recipient fields | ..."
        bool onThisThread = true;
        launcher.setOutcomeHandler(&context, [&](const TaskOutcome &o) {
            onThisThread = onThisThread && QThread::currentThread() == context.thread();
            QStringList s{QStringLiteral("%1 %2").arg(o.exited).arg(o.exitStatus)};
            for (const DeliveryReason &r : o.reasons)
                s << (QStringList{ReasonRow::of(r.reason).word, r.recipient} + r.fields).join(' ');
            QVERIFY(!outcomes.contains(o.task));
            outcomes.insert(o.task, s.join(" | "));
        });
        const qint64 off = launcher.start("net send OFF-05 Zdravo");    // smbclient says 0
        const qint64 refused = launcher.start("net send PC-01 Привет"); // CP852 lacks it
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.size(), 2, 10000);
        QVERIFY(onThisThread);
        QCOMPARE(outcomes[off] + " / " + outcomes[refused],
                 "1 1 | no-smb1 OFF-05 / 1 2 | codepage PC-01 CP852 U+041F");

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
        // Arguments ("|" between them), the start of the reason line, and
        // the code page, sender and workgroup when not the usual ones.
        const struct {
            QString args, expected, codePage = "CP1250", sender = "PC-02", group = "RADNAGRUPA";
        } rows[] = {
            {"send|-M x", "bad-name -M: bad computer name \"-M\": a name may not begin with \"-\""},
            {"send| x", "bad-name : bad computer name \"\": the name is empty"},
            {"send|ABCDEFGHIJKLMNOP hi", "bad-name ABCDEFGHIJKLMNOP: bad computer name"},
            {"send|PC:1%\tč x", "bad-name PC%3A1%25%09č: bad computer name \"PC:1%\tč\""},
            {"send|PC-01", "empty PC-01: the message text is empty"},
            // A line break takes two bytes; "*" is refused before any listing.
            {"send|* " + QString(799, '\n') + 'a', "too-long * 1599 1598:"},
            {"send|PC-01 x ђ", "codepage PC-01 CP1250 U+0452: the character \"ђ\" (U+0452)"},
            {QStringLiteral("send|PC-01 \uFEFFa"), "codepage PC-01 CP1250 U+FEFF:"},
            {"send", "usage -: no recipient given\nusage: vesnal-net [--address=ADDRESS] send"},
            {"--address=10.0.0.256|send|PC-01 x", "usage -: not an address: \"10.0.0.256\""},
            {"--address=10.0.0.2|send|* x", "usage -: \"*\" cannot be sent to one address"},
            {"send|--address=10.0.0.2 x", "bad-name --address=10.0.0.2:"}, // never an option
            {"post|PC-01 x", "usage -: the first argument must be \"send\""},
            {"send|PC-01 x", "bad-codepage PC-01 CP852%20--option=x:", "CP852 --option=x"},
            {"send|PC-01 x", "bad-sender PC-01: this computer's name", "CP1250", "ME%secret"},
            {"send|* x", "no-workgroup *: \"*\" needs this computer's", "CP1250", "PC-02", ""},
        };
        for (const auto &r : rows) {
            const QString out =
                run(r.args.split('|'), {smb.program, r.codePage, r.sender, r.group, 1000});
            QVERIFY2(out.startsWith("2 " + r.expected), qPrintable(out));
        }
        QCOMPARE(DeliveryReason::parse("usage: vesnal-net send NAME TEXT..."), std::nullopt);

        // Text as one argument or as many words alike, kept whole (line
        // breaks, quotes, blanks); 1598 bytes go. Hostile text and names stay
        // plain data: on standard input, never read by a shell nor as options.
        const QString text = "Zdravo,  mreži čćđšž!\nredak \"2\" " + QString(1559, 'a');
        const QString m = smb.dir.path() + "/marker", t = " touch " + m;
        const QString hostile =
            "  --option=client min protocol=NT1 -s /etc/passwd -U root%secret ;" + t + " $(" + t +
            ") `" + t + "` \"q\" 'single'\nline two\r\n||" + t + " &  ";
        const Delivery::Settings s{smb.program, "CP1250", "PC-02", "RADNAGRUPA", 1000};
        QCOMPARE(run({"send", "pc-01 " + text}, s), "0 ");
        QCOMPARE(run(QStringList{"send", "pc-01"} + hostile.split(' '), s), "0 ");
        QCOMPARE(run({"send", "$(touch " + m + ") hi"}, s), "0 "); // a legal name
        QCOMPARE(smb.call(1), sent("PC-01", text));
        QCOMPARE(smb.call(2), sent("PC-01", hostile));
        QCOMPARE(smb.call(3), sent("$(TOUCH", m + ") hi"));
        QVERIFY(!QFile::exists(m));

        // Failures are told whatever smbclient's exit status; the rest still go.
        FakeNetwork net;
        for (const char *pc : {"PC-01", "pc-02", "-EVIL", "FAIL-03", "HANG-04", "OFF-05", "PC-06"})
            net.add("RADNAGRUPA", QStringLiteral("\\\\") + pc, NetDisplay::Server);
        net.add("", "RADNAGRUPA", NetDisplay::Domain);
        QCOMPARE(run({"send", "* Svima"}, s, net),
                 "1 bad-name -EVIL: a name may not begin with \"-\" or \".\"\n"
                 "not-found FAIL-03: Connection to FAIL-03 failed. Error NT_STATUS_NOT_FOUND "
                 "(smbclient exit status 1)\n"
                 "timeout HANG-04 1: no answer within 1 s; smbclient was stopped\n"
                 "no-smb1 OFF-05: cli_message returned NT_STATUS_CONNECTION_DISCONNECTED "
                 "(smbclient exit status 0)\n");
        QCOMPARE(smb.names(4, 8), (QStringList{"FAIL-03", "HANG-04", "OFF-05", "PC-01", "PC-06"}));

        QVERIFY(run({"send", "PC-01 x"}, {"", "CP1250", "PC-02", "RADNAGRUPA", 1000})
                    .startsWith("1 no-smbclient PC-01: smbclient was not found"));
        QCOMPARE(smb.calls(), 8); // 3 + 5: none for the refusals above
    }

    void smbclientRunsAreJudgedByWhatTheyPrint()
    {
        using End = ChildOutcome::End;
        // How smbclient ended, what it printed, and the reason word, recipient
        // and fields (empty: delivered). Output on either stream counts alike.
        for (const auto &[end, code, printed, expected] :
             QList<std::tuple<End, int, QByteArray, QString>>{
                 {End::Exited, 0, "Can't load /etc/samba/smb.conf\nstatus NT_STATUS_OK", ""},
                 {End::Exited, 0, "cli_message returned NT_STATUS_ACCESS_DENIED",
                  "rejected PC-05 NT_STATUS_ACCESS_DENIED"},
                 {End::Exited, 0, "session setup NT_STATUS_INTERNAL_ERROR",
                  "failed PC-05 NT_STATUS_INTERNAL_ERROR"},
                 {End::Exited, 1, "Error NT_STATUS_CONNECTION_RESET", // no message said so
                  "failed PC-05 NT_STATUS_CONNECTION_RESET"},
                 {End::Exited, 3, "", "failed PC-05 exit-3"},
                 {End::Signalled, -1, "", "failed PC-05 signal-11"}}) {
            ChildOutcome run;
            run.end = end, run.exitCode = code, run.signal = 11, run.err = printed;
            const auto reason = SmbclientSender::judge("PC-05", run, 30000);
            const QString got = reason ? reason->line().section(':', 0, 0) : "";
            QVERIFY2(got == expected, qPrintable(got + " for " + printed));
        }
    }

    void everyReasonReadsBackAndIsDocumented()
    {
        // vesnal-net(1) lists the reasons under DIAGNOSTICS: ".TP", the word
        // and its fields, then what it means and the report's line in quotes.
        QFile manual(VESNAL_NET_MANUAL);
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString section = QString::fromUtf8(manual.readAll())
                                    .section(".SH DIAGNOSTICS\n", 1)
                                    .section("\n.SH ", 0, 0);
        static const QRegularExpression markup("(?im)\\\\f[BIRP]|\\\\&|^\\.[a-z]+ ?|\"");
        QMap<QString, QString> documented;
        for (QString entry : section.split(".TP\n").mid(1)) {
            entry.replace("\\-", "-").replace("\\(lq", "“").replace("\\(rq", "”").remove(markup);
            documented.insert(entry.section('\n', 0, 0).simplified(),
                              entry.section('\n', 1).simplified());
        }
        for (const ReasonRow &row : ReasonRow::all()) {
            // Read back whole, a leading U+FEFF of the recipient and fields too;
            // its statuses are its own.
            const DeliveryReason written{row.reason, QStringLiteral("\uFEFFPC:1%\tč"),
                                         row.fieldNames().replaceInStrings(
                                             QRegularExpression("^"), QStringLiteral("\uFEFF")),
                                         "t"};
            const auto back = DeliveryReason::parseAll(written.line().toUtf8());
            QVERIFY2(back.size() == 1 && back[0].reason == row.reason &&
                         back[0].recipient == written.recipient && back[0].fields == written.fields,
                     qPrintable(row.word));
            const QString tag = (row.word + ' ' + row.fields).trimmed();
            const QString text = documented.take(tag);
            QVERIFY2(!text.isEmpty(), qPrintable(tag + ": not in vesnal-net(1)"));
            for (const QString &status : row.statuses)
                QVERIFY2(ReasonRow::byStatus(status) == row.reason && text.contains(status),
                         qPrintable(tag + ": " + status));
            const QString whom = row.concern == ReasonRow::Concern::Recipient ? "RECIPIENT: " : "";
            for (QString line : {row.line, row.bareLine})
                QVERIFY2(line.isEmpty() ||
                             text.contains("“" + whom + line.remove('{').remove('}') + "”"),
                         qPrintable(tag + ": " + line));
        }
        QVERIFY2(documented.isEmpty(), qPrintable(documented.keys().join(", ") + ": no such word"));
    }

    void groupIsTheOwnWorkgroupOfBothSourcesEightAtATime()
    {
        FakeSmbclient smb;
        QTemporaryDir dir;
        // "*" over SMB browsing (a fake with this computer and `browsed` in
        // RADNAGRUPA and PC-09 in DRUGA, or failing) and the list file, each
        // under its provider, as the helper has them.
        const auto toGroup = [&](bool answers, const QByteArray &list,
                                 const QStringList &browsed = {}) {
            auto smbNetwork = std::make_unique<FakeNetwork>();
            smbNetwork->add("", "RADNAGRUPA", NetDisplay::Domain);
            smbNetwork->add("", "DRUGA", NetDisplay::Domain);
            smbNetwork->add("DRUGA", "\\\\PC-09", NetDisplay::Server);
            for (const QString &pc : browsed + QStringList{"PC-02"})
                smbNetwork->add("RADNAGRUPA", "\\\\" + pc, NetDisplay::Server);
            if (!answers)
                smbNetwork->failOpen("");
            QFile f(dir.filePath("mreza.txt"));
            f.open(QIODevice::WriteOnly);
            f.write(list);
            f.close();
            NetworkRouter network;
            network.add("SMB mreža", std::move(smbNetwork));
            network.add("Spisak računara",
                        std::make_unique<StaticListBackend>(f.fileName(), "Spisak računara",
                                                            "PC-02", "RADNAGRUPA"));
            return run({"send", "* x"}, {smb.program, "CP1250", "PC-02", "RADNAGRUPA", 10000},
                       network);
        };

        QByteArray list = "[DRUGA]\nPC-08\n[radnagrupa]\npc-01 isti\nLISTA-1\n";
        QStringList browsed{"PC-01"}, expected{"LISTA-1", "PC-01"};
        for (int i = 1; i <= 16; ++i) { // 10 browsed, 6 from the list file
            expected << QStringLiteral("SLOW-%1").arg(i, 2, 10, QChar('0'));
            if (i <= 10)
                browsed << expected.last();
            else
                list += expected.last().toLatin1() + '\n';
        }
        QCOMPARE(toGroup(true, list, browsed), "0 ");
        expected.sort();
        QCOMPARE(smb.names(1, smb.calls()), expected); // each once, this computer left out
        int mostAtOnce = 0;
        for (int i = 1; i <= smb.calls(); ++i)
            mostAtOnce = std::max(mostAtOnce, smb.read(i, "concurrent").trimmed().toInt());
        QCOMPARE(mostAtOnce, 8);

        // Nobody else: a group that could not be listed is told apart from
        // an empty one; with SMB browsing gone, the list file still reaches
        // its computers.
        QCOMPARE(toGroup(true, ""),
                 "1 group-empty * RADNAGRUPA: no other computer found in workgroup RADNAGRUPA; "
                 "nothing was sent\n");
        QCOMPARE(toGroup(false, "").left(38), "1 group-unlisted * RADNAGRUPA: workgro");
        QCOMPARE(toGroup(false, "[RADNAGRUPA]\nPC-01\n"), "0 ");
        QCOMPARE(smb.call(smb.calls()).value(1), "PC-01");
    }
};

QTEST_GUILESS_MAIN(TestDelivery)
#include "tst_delivery.moc"
