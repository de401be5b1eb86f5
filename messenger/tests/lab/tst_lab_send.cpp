// Delivery over real Samba: vesnal-net and smbclient from the client
// namespace of the lab to PC-01, whose message command drops each message
// into the lab's inbox as <sender>-<n>.msg; and the whole path from the
// window's Send button.
#include "deliverylauncher.h"
#include "fakemessageboxes.h"
#include "frmnwcheck.h"
#include "netnode.h"
#include "smbbackend.h"
#include "systemnetwork.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace
{

const QString HelperDir = QStringLiteral(VESNAL_BINARY_DIR);
const QString Sent = QStringLiteral("          Poruka je predata mreži.          ");

struct Message {
    QString file;
    QString text;
};

class Inbox
{
public:
    Inbox() : m_dir(qEnvironmentVariable("VESNAL_LAB_DIR") + QStringLiteral("/inbox"))
    {
        m_seen = names();
    }
    bool exists() const { return m_dir.exists(); }
    // The next message that arrives holding `text`, within a bound.
    std::optional<Message> waitFor(const QString &text, int ms = 20000)
    {
        QDeadlineTimer deadline(ms);
        do {
            for (const QString &name : names()) {
                if (m_seen.contains(name)) continue;
                m_seen.insert(name);
                QFile f(m_dir.filePath(name));
                if (f.open(QIODevice::ReadOnly)) {
                    const QString got = QString::fromUtf8(f.readAll());
                    if (got.contains(text)) return Message{name, got};
                }
            }
            QTest::qWait(100);
        } while (!deadline.hasExpired());
        return std::nullopt;
    }

private:
    QSet<QString> names() const
    {
        const QStringList list = m_dir.entryList({QStringLiteral("*.msg")}, QDir::Files);
        return QSet<QString>(list.begin(), list.end());
    }
    QDir m_dir;
    QSet<QString> m_seen;
};

struct HelperRun {
    int status;
    QString err;
};

HelperRun runHelper(const QStringList &args)
{
    QProcess helper;
    helper.start(HelperDir + QStringLiteral("/vesnal-net"), args);
    if (!helper.waitForFinished(60000)) {
        helper.kill();
        helper.waitForFinished(5000);
        return {-1, QStringLiteral("helper did not end")};
    }
    return {helper.exitCode(), QString::fromUtf8(helper.readAllStandardError())};
}

// Both levels the window lists: the workgroups, and PC-01 in RADNAGRUPA.
bool browseListReady()
{
    SmbBackend smb;
    const auto groups = smb.list(nullptr);
    if (!groups) return false;
    for (const NetRecord &group : *groups) {
        if (group.remoteName != QLatin1String("RADNAGRUPA")) continue;
        const auto servers = smb.list(&group);
        if (!servers) return false;
        for (const NetRecord &r : *servers)
            if (r.remoteName == QLatin1String("\\\\PC-01")) return true;
    }
    return false;
}

// Types `text` key by key, as a user would; a line break is the Enter key.
// (QTest::keyClicks handles ASCII only.)
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
        QVERIFY2(QFileInfo(HelperDir + "/vesnal-net").isExecutable(), "build vesnal-net first");
        QVERIFY2(Inbox().exists(), "the lab's inbox is missing");
        qunsetenv("VESNAL_SMBCLIENT");
        qunsetenv("VESNAL_CODEPAGE");
        // "*" and the window's tree need nmbd's browse list, which takes
        // some 25 s after nmbd starts; wait for it within a bound.
        QDeadlineTimer deadline(90000);
        bool ready = false;
        while (!(ready = browseListReady()) && !deadline.hasExpired())
            QTest::qWait(1000);
        QVERIFY2(ready, "PC-01 did not appear in the browse list of RADNAGRUPA within 90 s");
    }

    void helperDeliversSerbianLettersAndTheSender()
    {
        Inbox inbox;
        const QString text = QStringLiteral("Zdravo mreži, čćđšž!\nDruga linija: ČĆĐŠŽ");
        const HelperRun run = runHelper({"send", "pc-01 " + text});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        const auto message = inbox.waitFor("Druga linija");
        QVERIFY2(message, "the message did not arrive");
        QCOMPARE(message->text, text);
        QVERIFY2(message->file.startsWith("PC_02-"), qPrintable(message->file));
    }

    void groupReachesPc01()
    {
        Inbox inbox;
        const QString text = QStringLiteral("Svima u grupi, šđ");
        const HelperRun run = runHelper({"send", "*", "Svima", "u", "grupi,", "šđ"});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        const auto message = inbox.waitFor(text);
        QVERIFY2(message, "the message to \"*\" did not reach PC-01");
        QCOMPARE(message->text, text);
    }

    void unknownNameFailsWithItsReason()
    {
        const HelperRun run = runHelper({"send", "PC-77 ima li koga"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith("vesnal-net: PC-77: not delivered: "), qPrintable(run.err));
        QVERIFY2(run.err.contains("NT_STATUS_"), qPrintable(run.err));
        // A text with no place in the code page is refused before smbclient.
        const HelperRun cyrillic = runHelper({"send", "PC-01 Здраво"});
        QCOMPARE(cyrillic.status, 2);
        QVERIFY(cyrillic.err.contains("code page CP1250"));
    }

    void windowSendsThroughTheWholePath()
    {
        auto network = makeSystemNetwork();
        DeliveryLauncher launcher(HelperDir);
        FakeMessageBoxes boxes;
        frmNWCheck window(*network, launcher, boxes, {});
        window.Form_Load();
        window.Form_Activate();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QTreeWidgetItem *server = window.nodes.find(QStringLiteral("\\\\PC-01"));
        QVERIFY2(server, "PC-01 is not in the tree");
        window.tvwNetwork->setCurrentItem(server);
        window.AddItem_Click();
        QCOMPARE(window.List1->count(), 1);
        QCOMPARE(window.List1->item(0)->text(), QString("PC-01"));
        QTRY_COMPARE(window.Total->text(), QString("1"));

        window.RichTextBox1->setFocus();
        const QString typed = QStringLiteral("Zdravo mreži, čćđšž!\nDrugi red iz prozora");
        type(window.RichTextBox1, typed);
        QCOMPARE(window.messageText(), typed);

        Inbox inbox;
        QTest::mouseClick(window.Send, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{Sent});
        auto message = inbox.waitFor("Drugi red iz prozora");
        QVERIFY2(message, "the window's message did not arrive");
        QCOMPARE(message->text, typed);
        QVERIFY2(message->file.startsWith("PC_02-"), qPrintable(message->file));

        // The same through the group entry, which goes out as "*".
        window.ResetList_Click();
        window.ToLocalGroup_Click();
        QCOMPARE(window.List1->item(0)->text(), frmNWCheck::GroupEntry);
        window.RichTextBox1->setPlainText(QStringLiteral("Grupi iz prozora: đž"));
        boxes.shown.clear();
        QTest::mouseClick(window.Send, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{Sent});
        message = inbox.waitFor("Grupi iz prozora: đž");
        QVERIFY2(message, "the group entry's message did not reach PC-01");
        QCOMPARE(message->text, QString("Grupi iz prozora: đž"));
    }
};

QTEST_MAIN(TestLabSend)
#include "tst_lab_send.moc"
