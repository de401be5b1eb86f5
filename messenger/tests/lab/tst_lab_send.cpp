// SPDX-License-Identifier: GPL-3.0-or-later
// The window and the helper over the lab's real SMB network, from the client
// namespace. Delivery to PC-01, whose message command drops each message as
// <sender>-<n>.msg, and to PC-07, which runs with Samba's default protocols
// (SMB1 off) and drops it. Then the tree with PC-05 (TIHAGRUPA's only host
// and master browser) silenced by stopping its smbd, which still takes
// connections but never answers: the first activation lists the live
// workgroup within one deadline and keeps the silent one for later.
#include "inbox.h"
#include "net/systemnetwork.h"
#include "networkwindow.h"
#include "platform/linux/deliverylauncher.h"
#include "platform/linux/smbbrowser.h"

#include <QScopeGuard>
#include <QtTest>
#include <QtWidgets>
#include <csignal>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

// The helper's exit status and standard error, as "<status> <stderr>".
QString runHelper(const QString &rest)
{
    QProcess helper;
    helper.start(Helper, {"send", rest});
    helper.waitForFinished(60000);
    return QString::number(helper.exitCode()) + ' ' + helper.readAllStandardError();
}

// Whether the browse list shows both workgroups, each with its server
// (nmbd builds it some 25 s after its start).
bool bothWorkgroupsListed()
{
    SmbBrowser smb(Helper);
    int found = 0;
    for (const NetRecord &group : smb.list(nullptr).value_or(QList<NetRecord>{}))
        for (const NetRecord &server : smb.list(&group).value_or(QList<NetRecord>{}))
            found += (group.remoteName == "RADNAGRUPA" && server.remoteName == "\\\\PC-01") ||
                     (group.remoteName == "TIHAGRUPA" && server.remoteName == "\\\\PC-05");
    return found == 2;
}

} // namespace

class TestLabSend : public QObject
{
    Q_OBJECT
private slots:
    void helperAndWindowDeliverToPc01()
    {
        QVERIFY2(QFileInfo(Helper).isExecutable() && labInbox().exists(),
                 "helper or inbox missing");
        qunsetenv("VESNAL_SMBCLIENT");
        QVERIFY2(QTest::qWaitFor(bothWorkgroupsListed, 90000), "no browse list within 90 s");

        // Letters intact in the default code page, from this computer (smbd names the
        // file after the sender).
        const QString text = QStringLiteral("Zdravo mreži, čćđšž!\nDruga linija: ČĆĐŠŽ");
        QCOMPARE(runHelper("pc-01 " + text), QString("0 "));
        QVERIFY2(arrived(text).startsWith("PC_02-"), "the message did not arrive whole");
        const QString err = runHelper("PC-77 ima li koga");
        QVERIFY2(err.contains(QRegularExpression("^1 not-found PC-77: .*NT_STATUS_")),
                 qPrintable(err));

        // "*": PC-01 from the browse list, PC-07 from the list file (the browse list
        // may name it too), each once. PC-07's smbclient exits 0: the reason word
        // tells the truth.
        QTemporaryDir config;
        QDir(config.path()).mkpath("Vesnal");
        QFile list(config.filePath("Vesnal/mreza.txt"));
        QVERIFY(list.open(QIODevice::WriteOnly) && list.write("[RADNAGRUPA]\nPC-07\npc-01\n"));
        list.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCOMPARE(runHelper("* Svima: đž"),
                 "1 no-smb1 PC-07: cli_message returned NT_STATUS_CONNECTION_DISCONNECTED "
                 "(smbclient exit status 0)\n");
        QVERIFY(!arrived("Svima: đž").isEmpty());

        // The window: tree -> recipient list -> typed text -> Send -> inbox.
        auto network = makeSystemNetwork(std::make_unique<SmbBrowser>(Helper));
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        FakeMessageBoxes boxes;
        frmNWCheck window(*network, launcher, boxes, {});
        window.Form_Load();
        window.Form_Activate();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const MainControls c(window);
        c.tvwNetwork->setCurrentIndex(c.nodes.find(QStringLiteral("\\\\PC-01")));
        QVERIFY2(c.tvwNetwork->currentIndex().isValid(), "PC-01 is not in the tree");
        c.AddItem->click();
        QTest::keyClicks(c.Manual, "pc-07"); // from the list file
        QTest::keyClick(c.Manual, Qt::Key_Return);
        QCOMPARE(c.entries(), (QStringList{"PC-01", "PC-07"}));
        const QString typed = QStringLiteral("Zdravo mreži, čćđšž!\nDrugi red iz prozora");
        c.RichTextBox1->setFocus();
        for (const QChar ch : typed) // key by key: keyClicks takes ASCII only
            ch == '\n' ? QTest::keyClick(c.RichTextBox1, Qt::Key_Return)
                       : QTest::sendKeyEvent(QTest::Click, c.RichTextBox1, Qt::Key_unknown,
                                             QString(ch), Qt::NoModifier);
        QTest::mouseClick(c.Send, Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList{"          Poruka je predata mreži.          "});
        QVERIFY2(arrived(typed).startsWith("PC_02-"), "the window's message did not arrive whole");
        // Then the report, naming exactly the one that did not get it, once.
        QTRY_COMPARE_WITH_TIMEOUT(boxes.notices.size(), 1, 60000);
        QCOMPARE(boxes.notices[0], "Poruka nije stigla do svih primalaca:\n\n"
                                   "PC-07: računar ne prima poruke (SMB1 je na njemu isključen)");
        QTest::qWait(500);
        QCOMPARE(boxes.notices.size(), 1);
        QVERIFY(labInbox().entryList({"PC-07.*"}).isEmpty());
    }

    void liveWorkgroupListedSilentOneKeptForLater()
    {
        QVERIFY2(QTest::qWaitFor(bothWorkgroupsListed, 90000), "no browse list within 90 s");
        const std::chrono::milliseconds deadline(3000);
        NetworkWindow w(makeSystemNetwork(std::make_unique<SmbBrowser>(Helper, deadline)));
        w.window.Form_Load();
        QVERIFY(w.c.state("_ROOT").startsWith("Y:" + SystemNetwork::SmbName + ','));
        w.c.tvwNetwork->expand(w.c.node(SystemNetwork::SmbName));
        QVERIFY(w.c.node("RADNAGRUPA").isValid() && w.c.node("TIHAGRUPA").isValid());

        // PC-05 silenced: its smbd stopped until the test ends or wakes it.
        QFile pidFile(qEnvironmentVariable("VESNAL_LAB_DIR") + "/pids/PC-05-smbd.pid");
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const pid_t pc05 = pidFile.readAll().trimmed().toInt();
        QVERIFY(pc05 > 0 && ::kill(pc05, SIGSTOP) == 0);
        const auto wake = qScopeGuard([pc05] { ::kill(pc05, SIGCONT); });
        QElapsedTimer clock;
        clock.start();
        w.window.Form_Activate();
        const qint64 activation = clock.elapsed();
        qInfo("activation with a silent workgroup: %lld ms (deadline %lld ms)", activation,
              qlonglong(deadline.count()));
        QVERIFY2(activation < deadline.count() * 3 / 2, QByteArray::number(activation));
        // The computer by its bare name, under its workgroup, and no child under it.
        QCOMPARE(w.c.node("RADNAGRUPA").parent(), w.c.node(SystemNetwork::SmbName));
        // The lab's other receivers may have joined RADNAGRUPA's browse list.
        QVERIFY2(w.c.state("RADNAGRUPA").startsWith("Y:") &&
                     w.c.state("RADNAGRUPA").mid(2).split(',').contains("PC-01"),
                 qPrintable(w.c.state("RADNAGRUPA")));
        QCOMPARE(w.c.state("\\\\PC-01"), "N:");
        QCOMPARE(w.c.state("TIHAGRUPA"), "N:FAKE");
        QVERIFY(w.boxes.texts.isEmpty() && w.launcher.commands.isEmpty());

        ::kill(pc05, SIGCONT);
        w.c.tvwNetwork->expand(w.c.node(SystemNetwork::SmbName));
        w.c.tvwNetwork->expand(w.c.node("TIHAGRUPA"));
        QCOMPARE(w.c.state("TIHAGRUPA"), "Y:PC-05");
    }
};

QTEST_MAIN(TestLabSend)
#include "tst_lab_send.moc"
