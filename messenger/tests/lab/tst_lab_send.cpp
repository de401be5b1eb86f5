// Delivery over real Samba: vesnal-net and smbclient from the client
// namespace of the lab to PC-01, whose message command drops each message
// into the lab's inbox as <sender>-<n>.msg; and the whole path from the
// window's Send button, to PC-01 and to the group entry.
#include "deliverylauncher.h"
#include "fakemessageboxes.h"
#include "frmnwcheck.h"
#include "netnode.h"
#include "smbbackend.h"
#include "systemnetwork.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");
const QString Sent = QStringLiteral("          Poruka je predata mreži.          ");
const QDir InboxDir(qEnvironmentVariable("VESNAL_LAB_DIR") + QStringLiteral("/inbox"));

// The inbox file, new since `before`, that holds exactly `text`; waits
// within a bound. Empty when none came.
QString arrived(const QStringList &before, const QString &text)
{
    QDeadlineTimer deadline(20000);
    do {
        for (const QString &name : InboxDir.entryList({"*.msg"}, QDir::Files)) {
            QFile f(InboxDir.filePath(name));
            if (!before.contains(name) && f.open(QIODevice::ReadOnly) &&
                QString::fromUtf8(f.readAll()) == text)
                return name;
        }
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return QString();
}

QStringList inbox()
{
    return InboxDir.entryList({"*.msg"}, QDir::Files);
}

// Runs the helper; its exit status and standard error.
QPair<int, QString> runHelper(const QStringList &args)
{
    QProcess helper;
    helper.start(Helper, args);
    if (!helper.waitForFinished(60000)) helper.kill();
    helper.waitForFinished(5000);
    return {helper.exitCode(), QString::fromUtf8(helper.readAllStandardError())};
}

// Both levels the window lists: the workgroups, and PC-01 in RADNAGRUPA.
bool browseListReady()
{
    SmbBackend smb;
    const auto groups = smb.list(nullptr);
    for (const NetRecord &group : groups.value_or(QList<NetRecord>{}))
        if (group.remoteName == QLatin1String("RADNAGRUPA"))
            for (const NetRecord &r : smb.list(&group).value_or(QList<NetRecord>{}))
                if (r.remoteName == QLatin1String("\\\\PC-01")) return true;
    return false;
}

// Types `text` key by key; a line break is the Enter key. (QTest::keyClicks
// takes ASCII only.)
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestLabSend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(Helper).isExecutable(), "build vesnal-net first");
        QVERIFY2(InboxDir.exists(), "the lab's inbox is missing");
        qunsetenv("VESNAL_SMBCLIENT");
        qunsetenv("VESNAL_CODEPAGE");
        // "*" and the window's tree need nmbd's browse list, which takes
        // some 25 s after nmbd starts.
        QDeadlineTimer deadline(90000);
        bool ready = false;
        while (!(ready = browseListReady()) && !deadline.hasExpired())
            QTest::qWait(1000);
        QVERIFY2(ready, "RADNAGRUPA with PC-01 did not appear in the browse list within 90 s");
    }

    void helperDeliversLettersAndSenderAndNamesFailures()
    {
        const QString text = QStringLiteral("Zdravo mreži, čćđšž!\nDruga linija: ČĆĐŠŽ");
        const QStringList before = inbox();
        QCOMPARE(runHelper({"send", "pc-01 " + text}), qMakePair(0, QString()));
        const QString file = arrived(before, text);
        QVERIFY2(!file.isEmpty(), "the message did not arrive whole");
        QVERIFY2(file.startsWith("PC_02-"), qPrintable(file));

        const auto [status, err] = runHelper({"send", "PC-77 ima li koga"});
        QCOMPARE(status, 1);
        QVERIFY2(err.startsWith("vesnal-net: PC-77: not delivered: ") && err.contains("NT_STATUS_"),
                 qPrintable(err));
    }

    void windowSendsThroughTheWholePath()
    {
        auto network = makeSystemNetwork();
        DeliveryLauncher launcher(QFileInfo(Helper).absolutePath());
        FakeMessageBoxes boxes;
        frmNWCheck window(*network, launcher, boxes, {});
        window.Form_Load();
        window.Form_Activate();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        NetNode *server = window.nodes.find(QStringLiteral("\\\\PC-01"));
        QVERIFY2(server, "PC-01 is not in the tree");
        window.tvwNetwork->setCurrentItem(server);
        window.AddItem_Click();
        QCOMPARE(window.List1->count(), 1);
        QTRY_COMPARE(window.Total->text(), QString("1"));
        const QString typed = QStringLiteral("Zdravo mreži, čćđšž!\nDrugi red iz prozora");
        window.RichTextBox1->setFocus();
        type(window.RichTextBox1, typed);
        QCOMPARE(window.messageText(), typed);

        QStringList before = inbox();
        QTest::mouseClick(window.Send, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{Sent});
        const QString file = arrived(before, typed);
        QVERIFY2(!file.isEmpty(), "the window's message did not arrive whole");
        QVERIFY2(file.startsWith("PC_02-"), qPrintable(file));

        // The group entry goes out as "*" and reaches PC-01 as well.
        window.ResetList_Click();
        window.ToLocalGroup_Click();
        QCOMPARE(window.List1->item(0)->text(), frmNWCheck::GroupEntry);
        window.RichTextBox1->setPlainText(QStringLiteral("Grupi iz prozora: đž"));
        boxes.shown.clear();
        before = inbox();
        QTest::mouseClick(window.Send, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{Sent});
        QVERIFY2(!arrived(before, "Grupi iz prozora: đž").isEmpty(),
                 "the group entry's message did not reach PC-01");
    }
};

QTEST_MAIN(TestLabSend)
#include "tst_lab_send.moc"
