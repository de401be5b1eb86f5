// SPDX-License-Identifier: GPL-3.0-or-later
// The popup agent offscreen, on a temporary spool and state: one window per
// unseen message, markup shown as it came, "U redu" remembered across starts;
// many in one list, from the mouse and the keyboard; one agent per user. A
// reply to the name a node status query on loopback gives for the sender's
// address, through the real vesnal-net and a fake smbclient; notifications on
// a private session bus; the arrival sound's rate; muting. The refusals above
// the list and its columns show in docs/vesnal-list.png.
#include "desktopchecks.h"
#include "fakesmbclient.h"
#include "platform/requestsignal.h"
#include "popup/arrivalsound.h"
#include "popup/listwindow.h"
#include "popup/nodestatus.h"
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/replysender.h"
#include "popup/replywindow.h"
#include "popup/shownstate.h"
#include "popup/userchoices.h"
#include "receiver/spool.h"
#include "widgets/cappedtextedit.h"

#include <QtDBus>
#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

namespace
{

const QDateTime Now(QDate(2026, 12, 7), QTime(10, 15, 3, 250), Qt::OffsetFromUTC, 3600);

// What the window of a message stored `seconds` after Now shows.
QString shown(const QString &text, int seconds = 0)
{
    return QStringLiteral("Poruka od PC_02 za RX-01, 07.12.2026. u 10:15:%1\n\n")
               .arg(3 + seconds, 2, 10, QChar('0')) +
           text;
}

struct Folders {
    QTemporaryDir dir;
    QString spool = dir.filePath("spool");
    QString state = dir.filePath("state/vesnal/shown");
    Folders() { QDir().mkpath(spool); }

    // A message stored `seconds` after Now; its id.
    QString store(const QString &text, int seconds = 0, const QString &sender = "PC_02") const
    {
        QString why;
        const QDateTime t = Now.addSecs(seconds);
        return Spool(spool).store({t, sender, "rx-01", text, "127.0.0.1"}, t, &why).value_or(why);
    }
    QStringList shownFile() const
    {
        QFile f(state);
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

// An agent with its own state, as one start of vesnal-popup.
struct Agent {
    ShownState state;
    PopupAgent agent;
    Agent(const Folders &f, PopupAgent::Options o = {}) : state(f.state), agent(f.spool, state, o)
    {
        agent.start();
    }
    QStringList texts() const
    {
        QStringList all;
        for (const PopupWindow *w : agent.openWindows())
            all.append(w->textBox()->toPlainText());
        return all;
    }
};

// Answers node status queries on 127.0.0.1 with `names` (name, suffix,
// group), as a computer's name service does; nothing when there are none.
using Names = QList<std::tuple<QByteArray, int, bool>>;
class NameService : public QObject
{
public:
    explicit NameService(const Names &names) : m_names(names)
    {
        m_socket.bind(QHostAddress::LocalHost, 0);
        connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
            const QNetworkDatagram query = m_socket.receiveDatagram();
            if (!m_names.isEmpty())
                m_socket.writeDatagram(query.makeReply(answer(query.data())));
        });
    }
    quint16 port() const { return m_socket.localPort(); }

    QByteArray answer(const QByteArray &query) const
    {
        QByteArray out = query.left(2) + QByteArray::fromHex("84000000000100000000") +
                         query.mid(12, 38) + QByteArray(5, 0); // the question's name, type, TTL
        out += char(1 + m_names.size() * 18);
        out += char(m_names.size());
        for (const auto &[name, suffix, group] : m_names)
            out += name.leftJustified(15, ' ') + char(suffix) + char(group ? 0x84 : 0x04) + '\0';
        return out;
    }

private:
    Names m_names;
    QUdpSocket m_socket;
};

// A private session bus (dbus-daemon, ended by its pid with the object) and,
// when asked, a notification service on it that notes every call.
class NotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList calls; // "replaces|summary|body|actions" or "close ID"
    uint last = 0;

public slots:
    QStringList GetCapabilities() { return {"body", "actions", "body-markup"}; }
    uint Notify(const QString &, uint replaces, const QString &, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &, int)
    {
        calls << QStringList{QString::number(replaces), summary, body, actions.join(',')}.join('|');
        return replaces ? replaces : ++last;
    }
    void CloseNotification(uint id) { calls << QStringLiteral("close %1").arg(id); }
signals:
    void ActionInvoked(uint id, const QString &action);
};

struct Bus {
    QTemporaryDir dir;
    QProcess daemon;
    QString address;
    Bus()
    {
        QFile config(dir.filePath("bus.conf")); // no service files: nothing is started by it
        config.open(QIODevice::WriteOnly);
        config.write("<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\"><allow "
                     "send_destination=\"*\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                     "</policy></busconfig>");
        config.close();
        daemon.start("dbus-daemon",
                     {"--nofork", "--print-address=1", "--config-file=" + config.fileName()});
        if (daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~Bus()
    {
        for (const QString &name : std::as_const(names))
            QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished(5000);
    }
    QStringList names; // of the connections made, each closed with the bus
    QDBusConnection connect(const QString &name)
    {
        names << name;
        return QDBusConnection::connectToBus(address, name);
    }
};

} // namespace

class TestPopup : public QObject
{
    Q_OBJECT
    FakeSmbclient m_smb; // first on PATH, for the real vesnal-net

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Belgrade"); // times are shown in local time
        qputenv("PATH", QFile::encodeName(m_smb.dir.path()) + ':' + qgetenv("PATH"));
        qputenv("VESNAL_NETBIOS_NAME", "RX-01");
        qunsetenv("VESNAL_CODEPAGE");
        qunsetenv("VESNAL_SMBCLIENT");
    }

    void onePopupPerRecordAndWhatWasNotConfirmedComesAgain()
    {
        Folders f;
        const QString first = f.store("prva", 0);
        f.store("druga", 1);
        QFile bad(f.spool + "/20261207T091504.000Z-1-1.msg");
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("no record") > 0);
        bad.close();
        const QString text = QStringLiteral(
            "Sastanak je u 10 časova, čćđšž!\n<b>Hitno</b> <a href=\"http://x.example/\">klik</a> "
            "&amp; <img src=\"file:///etc/passwd\"> http://y.example/");
        {
            Agent a(f, {.listAbove = 3, .pollMs = 600000}); // no rescans: the file notice must do
            QCOMPARE(a.texts().size(), 2);                  // the broken file is passed over
            f.store(text, 2);
            QTRY_COMPARE_WITH_TIMEOUT(a.texts().value(2), shown(text, 2), 5000); // as it came
            PopupWindow *w = a.agent.openWindows().last();
            QCOMPARE(unnamedControls(w).join("; "), QString());
            // Read-only, above the others, not taking the keyboard.
            QVERIFY(w->textBox()->isReadOnly() && w->isVisible() &&
                    (w->windowFlags() & Qt::WindowStaysOnTopHint) &&
                    w->testAttribute(Qt::WA_ShowWithoutActivating));
            a.agent.rescan();
            QCOMPARE(a.texts().size(), 3); // one window per record
            QVERIFY(f.shownFile().isEmpty());
            QTest::mouseClick(a.agent.openWindows()[0]->okButton(), Qt::LeftButton); // "U redu"
            a.agent.openWindows()[0]->close(); // put aside: not confirmed
            QCOMPARE(a.texts(), QStringList{shown(text, 2)});
        }
        QCOMPARE(f.shownFile(), QStringList{first});
        QCOMPARE(Agent(f).texts(), QStringList({shown("druga", 1), shown(text, 2)}));

        // A spool made only after the start (set up after login) is found.
        Folders later;
        QDir(later.spool).removeRecursively();
        Agent b(later, {.listAbove = 3, .pollMs = 100});
        QTest::qWait(200);
        QDir().mkpath(later.spool);
        later.store("kasnije");
        QTRY_COMPARE_WITH_TIMEOUT(b.texts(), QStringList{shown("kasnije")}, 5000);
    }

    void manyMessagesInOneListFromTheMouseAndTheKeyboard()
    {
        Folders f;
        QStringList ids;
        for (int i = 0; i < 2; ++i)
            ids.append(f.store(QStringLiteral("poruka %1").arg(i), i));
        auto a = std::make_unique<Agent>(f, PopupAgent::Options{.listAbove = 3, .pollMs = 600000});
        QCOMPARE(a->texts().size(), 2);
        // More than three waiting: the popups give way to the list.
        for (int i = 2; i < 50; ++i)
            ids.append(f.store(QStringLiteral("poruka %1\ndrugi red").arg(i), i));
        QTRY_VERIFY_WITH_TIMEOUT(a->agent.listWindow() && a->agent.listWindow()->isVisible(), 5000);
        ListWindow *list = a->agent.listWindow();
        QTRY_COMPARE_WITH_TIMEOUT(list->view()->model()->rowCount(), 50, 5000);
        // It does not take the keyboard when it appears.
        QVERIFY(a->texts().isEmpty() && list->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(unnamedControls(list).join("; "), QString());
        const auto bold = [list](int row) { // unread
            return list->view()->model()->index(row, 0).data(Qt::FontRole).isValid();
        };
        QCOMPARE(list->selectedId(), ids[0]);
        list->selectRow(7);
        QCOMPARE(list->textBox()->toPlainText(), shown("poruka 7\ndrugi red", 7));
        QVERIFY(bold(7));
        QTest::mouseClick(list->okButton(), Qt::LeftButton);
        QCOMPARE(f.shownFile(), QStringList{ids[7]});
        QCOMPARE(list->selectedId(), ids[8]); // on to the next unread one
        QVERIFY(!bold(7));
        // Enter on the list, and Space on a focused button, as on the popup.
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list));
        list->view()->setFocus();
        QTest::keyClick(list->view(), Qt::Key_Return);
        list->okButton()->setFocus();
        QTest::keyClick(list->okButton(), Qt::Key_Space);
        QCOMPARE(f.shownFile(), ids.mid(7, 3));
        QTest::keyClick(list, Qt::Key_Escape); // closes, marks nothing
        QVERIFY(!list->isVisible());
        QCOMPARE(f.shownFile(), ids.mid(7, 3));
        a->agent.showList(true); // on demand: the history
        QCOMPARE(list->view()->model()->rowCount(), 50);
        list->allButton()->setFocus();
        QTest::keyClick(list->allButton(), Qt::Key_Space);
        QVERIFY(!list->isVisible());
        QCOMPARE(f.shownFile(), ids);
        a.reset();
        Agent again(f);
        QVERIFY(again.texts().isEmpty() && !again.agent.listWindow()); // restart: nothing waits
    }

    void aSecondStartShowsTheListOfTheFirst()
    {
        // In the agent's process: the request arrives as a signal.
        Folders f;
        Agent a(f);
        RequestSignal requests;
        connect(&requests, &RequestSignal::requested, &a.agent, [&] { a.agent.showList(true); });
        requests.listen();
        QVERIFY(RequestSignal::send(QCoreApplication::applicationPid()));
        QTRY_VERIFY_WITH_TIMEOUT(a.agent.listWindow() && a.agent.listWindow()->isVisible(), 5000);

        // Two processes: the second one asks, and ends; the first one lives on.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VESNAL_SPOOL", f.spool);
        env.insert("XDG_STATE_HOME", f.dir.filePath("state"));
        env.insert("XDG_RUNTIME_DIR", f.dir.path());
        QProcess first, second;
        for (QProcess *p : {&first, &second}) {
            p->setProcessEnvironment(env);
            p->start(VESNAL_BINARY_DIR "/vesnal-popup", {"--list"});
            QTRY_VERIFY_WITH_TIMEOUT(QFile(f.dir.filePath("vesnal-popup.lock")).size() > 0, 5000);
        }
        QVERIFY(second.waitForFinished(3000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardError().contains("it shows its list"));
        QTest::qWait(300);
        QCOMPARE(first.state(), QProcess::Running);
        QVERIFY(!first.readAllStandardError().contains("QSocketNotifier")); // it can hear them
        first.kill();
        QVERIFY(first.waitForFinished(5000));
    }
    void aReplyGoesToTheNameAskedOfTheSendersAddress()
    {
        // PC-02 arrived as "PC_02"; the computer at its address says it is PC-02.
        NameService pc02({{"RADNAGRUPA", 0, true}, {"PC-02", 0x20, false}, {"PC-02", 0, false}});
        Folders f;
        Agent a(f, {.reply = {VESNAL_BINARY_DIR, pc02.port(), 1000, 30000}});
        PopupAgent &agent = a.agent;
        const QString id = f.store("Ima li sastanka?");
        QTRY_COMPARE_WITH_TIMEOUT(agent.openWindows().size(), 1, 5000);
        QTest::mouseClick(agent.openWindows().first()->replyButton(), Qt::LeftButton);
        ReplyWindow *reply = agent.openReply(id); // the one the click opened
        QVERIFY(reply && reply->isVisible() && agent.openWindows().size() == 1);
        QCOMPARE(unnamedControls(reply).join("; "), QString());
        QTRY_COMPARE_WITH_TIMEOUT(reply->statusLabel()->text(),
                                  "Odgovor ide računaru PC-02 (127.0.0.1).", 3000);
        // The messenger's rules and words, before anything is sent.
        reply->editor()->setPlainText(QStringLiteral("Здраво"));
        QTest::mouseClick(reply->sendButton(), Qt::LeftButton);
        QVERIFY(reply->statusLabel()->text().startsWith("Odgovor nije poslat: tekst ima znak"));
        QCOMPARE(m_smb.calls(), 0);
        reply->editor()->setPlainText(QStringLiteral("Ima, u 10 časova."));
        QTest::keyClick(reply->editor(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(reply->statusLabel()->text(),
                                  "Odgovor je isporučen računaru PC-02 (127.0.0.1).", 10000);
        QCOMPARE(m_smb.call(1),
                 QStringList({"-M", "PC-02", "-N", "-U", "RX-01", "--option=dos charset=CP852",
                              "--option=unix charset=UTF-8", "-I", "127.0.0.1",
                              QStringLiteral("Ima, u 10 časova.")}));
        QVERIFY(!reply->sendButton()->isEnabled() && reply->editor()->isReadOnly());
        // Cut answers are no answers.
        const QByteArray answer = pc02.answer(NodeStatus::request(7));
        QCOMPARE(NodeStatus::workstationName(NodeStatus::parse(answer, 7).value()), "PC-02");
        for (int n = 0; n < answer.size() - 46; ++n)
            QVERIFY(!NodeStatus::parse(answer.left(n), 7));
    }

    void noNameNoReply_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("status");
        QTest::newRow("nobody answers")
            << "127.0.0.1" << false << "Računar na adresi 127.0.0.1 se ne javlja";
        QTest::newRow("only a group name")
            << "127.0.0.1" << true << "Računar na adresi 127.0.0.1 nije rekao ime";
        QTest::newRow("an older record") << "" << true << "Ne zna se sa kog računara";
        QTest::newRow("IPv6") << "fe80::1" << true << "Adresa pošiljaoca \"fe80::1\" nije IPv4";
    }
    void noNameNoReply()
    {
        QFETCH(QString, address);
        QFETCH(bool, answers);
        QFETCH(QString, status);
        NameService group(answers ? Names{{"RADNAGRUPA", 0, true}} : Names{});
        const int before = m_smb.calls();
        const SpoolRecord record{Now, "PC_02", "rx-01", "x", address};
        ReplyWindow window(record, new ReplySender(record, {VESNAL_BINARY_DIR, group.port(), 500}));
        ReplySender &sender = *window.sender();
        QTRY_VERIFY_WITH_TIMEOUT(sender.state() == ReplySender::State::Refused, 3000);
        QVERIFY2(window.statusLabel()->text().startsWith(status),
                 qPrintable(window.statusLabel()->text()));
        window.editor()->setPlainText("x");
        QVERIFY(!window.sendButton()->isEnabled() && !sender.send("x"));
        QCOMPARE(m_smb.calls(), before);
        QVERIFY(ReplySender::shownAs("PC_02", "pc-02") && ReplySender::shownAs("__A", "ČA"));
        QVERIFY(!ReplySender::shownAs("PC_02", "PC-03"));
    }

    void notificationsPerSenderWithAnActionThatOpens()
    {
        Bus bus;
        QVERIFY2(!bus.address.isEmpty(), "dbus-daemon did not start");
        NotificationService service;
        QDBusConnection server = bus.connect("server");
        QVERIFY(server.registerObject("/org/freedesktop/Notifications", &service,
                                      QDBusConnection::ExportAllContents) &&
                server.registerService("org.freedesktop.Notifications"));
        Folders f;
        int rings = 0;
        Agent a(f, {.playSound = [&] { ++rings; }, .bus = bus.connect("agent")});
        PopupAgent &agent = a.agent;
        const QString first = f.store("<b>Prva</b> & druga\nstvar");
        QTRY_COMPARE_WITH_TIMEOUT(service.calls.size(), 1, 5000);
        const QString second = f.store("Još jedna", 1);
        QTRY_COMPARE_WITH_TIMEOUT(service.calls.size(), 2, 5000);
        QCOMPARE(service.calls,
                 QStringList({"0|Poruka od PC_02|07.12.2026. u 10:15:03\n&lt;b&gt;Prva&lt;/b&gt; "
                              "&amp; druga|default,Otvori",
                              "1|PC_02: 2 nove poruke|07.12.2026. u 10:15:04\nJoš jedna|"
                              "default,Otvori"}));
        QCOMPARE(rings, 1);                       // the second came within the gap
        emit service.ActionInvoked(1, "default"); // opens the newest: its popup
        QTRY_VERIFY_WITH_TIMEOUT(agent.openWindows().last()->isActiveWindow(), 5000);
        QCOMPARE(agent.openWindows().last()->id(), second);
        for (int i = 0; i < 2; ++i) // both read: the notification goes
            QTest::mouseClick(agent.openWindows().first()->okButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(service.calls.last(), "close 1", 5000);
        QCOMPARE(DesktopNotifications::summary("A", 21) + DesktopNotifications::summary("A", 5),
                 "A: 21 nova porukaA: 5 novih poruka");

        // No service on the bus: the popups come as ever.
        server.unregisterService("org.freedesktop.Notifications");
        Folders g;
        Agent quiet(g, {.bus = bus.connect("quiet")});
        g.store("bez obaveštenja");
        QTRY_COMPARE_WITH_TIMEOUT(quiet.agent.openWindows().size(), 1, 5000);
    }

    void theSoundRingsAtMostOncePerGap()
    {
        int played = 0;
        ArrivalSound sound([&] { ++played; }, 300);
        for (int i = 0; i < 5; ++i)
            sound.ring();
        QTest::qWait(350);
        sound.ring();
        QCOMPARE(played, 2);
    }

    void aMutedSenderIsListedMarkedAndNothingMoreAfterARestartToo()
    {
        Folders f;
        for (int i = 0; i < 4; ++i)
            f.store(QStringLiteral("poruka %1").arg(i), i, i ? "PC_02" : "PC_03");
        int rings = 0;
        {
            Agent a(f, {.playSound = [&] { ++rings; }});
            PopupAgent &agent = a.agent;
            ListWindow *list = agent.listWindow();
            QVERIFY(list && list->isVisible() && rings == 1);
            list->selectRow(1);
            QCOMPARE(list->muteButton()->text(), "Utišaj pošiljaoca");
            QTest::mouseClick(list->muteButton(), Qt::LeftButton);
            QCOMPARE(list->muteButton()->text(), "Ukloni utišavanje");
            QCOMPARE(agent.messages().index(2, 0).data().toString(), "PC_02 (utišan)");
            QCOMPARE(agent.messages().index(0, 0).data().toString(), "PC_03");
            QTest::mouseClick(list->soundBox(), Qt::LeftButton);
            QTest::keyClick(list, Qt::Key_Escape);
        }
        Agent a(f, {.playSound = [&] { ++rings; }});
        PopupAgent &agent = a.agent;
        QCOMPARE(agent.openWindows().size(), 1); // PC_03's only
        f.store("još", 9);
        QTest::qWait(300);
        QCOMPARE(agent.openWindows().size(), 1);
        QCOMPARE(agent.messages().rowCount(), 5);
        QVERIFY(agent.choices().isMuted("pc_02") && !agent.choices().sound() && rings == 1);
        agent.choices().setMuted("PC_02", false);
        QCOMPARE(UserChoices(UserChoices::defaultPath(f.state)).muted(), QSet<QString>());
    }
};

QTEST_MAIN(TestPopup)
#include "tst_popup.moc"
