// SPDX-License-Identifier: GPL-3.0-or-later
// Delivery over real Samba, by the helper and from the window, to PC-01 of the
// lab, whose message command drops each message as <sender>-<n>.msg, and to
// PC-07, which runs with Samba's default protocols (SMB1 off) and drops it.
#include "fakemessageboxes.h"
#include "maincontrols.h"
#include "net/systemnetwork.h"
#include "platform/linux/deliverylauncher.h"
#include "platform/linux/smbbrowser.h"
#include "window/frmnwcheck.h"

#include <QtTest>
#include <QtWidgets>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");
const QDir Inbox(qEnvironmentVariable("VESNAL_LAB_DIR") + QStringLiteral("/inbox"));

// The name of the message file holding exactly `text` once it came (each lab
// run starts with an empty inbox); empty when none came within 20 s.
QString arrived(const QString &text)
{
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QTest::qWait(100)) {
        for (const QString &name : Inbox.entryList({"*.msg"})) {
            QFile f(Inbox.filePath(name));
            if (f.open(QIODevice::ReadOnly) && f.readAll() == text.toUtf8())
                return name;
        }
    }
    return {};
}

// The helper's exit status and standard error, as "<status> <stderr>".
QString runHelper(const QString &rest)
{
    QProcess helper;
    helper.start(Helper, {"send", rest});
    helper.waitForFinished(60000);
    return QString::number(helper.exitCode()) + ' ' + helper.readAllStandardError();
}

// Both levels the window lists: the workgroups, and PC-01 in RADNAGRUPA.
bool browseListReady()
{
    SmbBrowser smb(Helper);
    for (const NetRecord &group : smb.list(nullptr).value_or(QList<NetRecord>{}))
        if (group.remoteName == QLatin1String("RADNAGRUPA"))
            for (const NetRecord &r : smb.list(&group).value_or(QList<NetRecord>{}))
                if (r.remoteName == QLatin1String("\\\\PC-01"))
                    return true;
    return false;
}

} // namespace

class TestLabSend : public QObject
{
    Q_OBJECT
private slots:
    void helperAndWindowDeliverToPc01()
    {
        QVERIFY2(QFileInfo(Helper).isExecutable() && Inbox.exists(), "helper or inbox missing");
        qunsetenv("VESNAL_SMBCLIENT");
        // nmbd's browse list, for "*" and the tree, takes some 25 s to form.
        QVERIFY2(QTest::qWaitFor(browseListReady, 90000), "no PC-01 in RADNAGRUPA within 90 s");

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
        QVERIFY(Inbox.entryList({"PC-07.*"}).isEmpty());
    }
};

QTEST_MAIN(TestLabSend)
#include "tst_lab_send.moc"
