// SPDX-License-Identifier: GPL-3.0-or-later
// The agent's answers to a message and its ways of telling one came: a
// reply to the computer a record names by its address (asked for its name
// by a node status query, answered here on loopback), through the real
// vesnal-net with a fake smbclient; notifications on a private session bus
// with a small notification service; the arrival sound's rate; muting.
#include "desktopchecks.h"
#include "fakesmbclient.h"
#include "popup/arrivalsound.h"
#include "popup/listwindow.h"
#include "popup/nodestatus.h"
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/replysender.h"
#include "popup/replywindow.h"
#include "popup/shownstate.h"
#include "popup/userchoices.h"
#include "widgets/cappedtextedit.h"

#include <QtDBus>
#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

namespace
{

const QDateTime Now(QDate(2026, 12, 7), QTime(10, 15, 3), Qt::OffsetFromUTC, 3600);

// Answers node status queries on 127.0.0.1 with `names` (name, suffix,
// group), as a computer's name service does; nothing when there are none.
class NameService : public QObject
{
public:
    explicit NameService(QList<std::tuple<QByteArray, int, bool>> names) : m_names(names)
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
    QList<std::tuple<QByteArray, int, bool>> m_names;
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
        for (const QString &name : names)
            QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished(5000);
    }
    QStringList names;
    QDBusConnection connect(const QString &name)
    {
        names << name;
        return QDBusConnection::connectToBus(address, name);
    }
};

struct Folders {
    QTemporaryDir dir;
    QString spool = dir.filePath("spool");
    QString state = dir.filePath("state/vesnal/shown");
    Folders() { QDir().mkpath(spool); }
    QString store(const QString &sender, const QString &text, const QString &address = "127.0.0.1",
                  int seconds = 0) const
    {
        QString why;
        const QDateTime t = Now.addSecs(seconds);
        return Spool(spool).store({t, sender, "rx-01", text, address}, t, &why).value_or(why);
    }
};

} // namespace

class TestReply : public QObject
{
    Q_OBJECT
    FakeSmbclient m_smb; // first on PATH, for the real vesnal-net

private slots:
    void initTestCase()
    {
        qputenv("PATH", QFile::encodeName(m_smb.dir.path()) + ':' + qgetenv("PATH"));
        qputenv("VESNAL_NETBIOS_NAME", "RX-01");
        qunsetenv("VESNAL_CODEPAGE");
        qunsetenv("VESNAL_SMBCLIENT");
    }

    void aReplyGoesToTheNameAskedOfTheSendersAddress()
    {
        // PC-02 arrived as "PC_02"; the computer at its address says it is PC-02.
        NameService pc02({{"RADNAGRUPA", 0, true}, {"PC-02", 0x20, false}, {"PC-02", 0, false}});
        Folders f;
        ShownState shown(f.state);
        PopupAgent agent(f.spool, shown, {.reply = {VESNAL_BINARY_DIR, pc02.port(), 1000, 30000}});
        agent.start();
        const QString id = f.store("PC_02", "Ima li sastanka?");
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
        QCOMPARE(reply->statusLabel()->text(),
                 QStringLiteral("Odgovor nije poslat: tekst ima znak koji kodna strana CP852 ne "
                                "može da prenese: З"));
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
        NameService group(answers
                              ? QList<std::tuple<QByteArray, int, bool>>{{"RADNAGRUPA", 0, true}}
                              : QList<std::tuple<QByteArray, int, bool>>{});
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
                                      QDBusConnection::ExportAllSlots |
                                          QDBusConnection::ExportAllSignals) &&
                server.registerService("org.freedesktop.Notifications"));
        Folders f;
        ShownState shown(f.state);
        int rings = 0;
        PopupAgent agent(f.spool, shown,
                         {.playSound = [&] { ++rings; }, .bus = bus.connect("agent")});
        agent.start();
        const QString first = f.store("PC_02", "<b>Prva</b> & druga\nstvar");
        QTRY_COMPARE_WITH_TIMEOUT(service.calls.size(), 1, 5000);
        const QString second = f.store("PC_02", "Još jedna", "127.0.0.1", 1);
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
        ShownState other(g.state);
        PopupAgent quiet(g.spool, other, {.bus = bus.connect("quiet")});
        quiet.start();
        g.store("PC_02", "bez obaveštenja");
        QTRY_COMPARE_WITH_TIMEOUT(quiet.openWindows().size(), 1, 5000);
    }

    void theSoundRingsAtMostOncePerGap()
    {
        int played = 0;
        ArrivalSound sound([&] { ++played; }, 300);
        for (int i = 0; i < 5; ++i)
            sound.ring();
        QCOMPARE(played, 1);
        QTest::qWait(350);
        sound.ring();
        sound.setEnabled(false);
        QTest::qWait(350);
        sound.ring();
        QCOMPARE(played, 2);
    }

    void aMutedSenderIsListedMarkedAndNothingMoreAfterARestartToo()
    {
        Folders f;
        for (int i = 0; i < 4; ++i)
            f.store(i ? "PC_02" : "PC_03", QStringLiteral("poruka %1").arg(i), "127.0.0.1", i);
        int rings = 0;
        {
            ShownState shown(f.state);
            PopupAgent agent(f.spool, shown, {.playSound = [&] { ++rings; }});
            agent.start();
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
        ShownState shown(f.state);
        PopupAgent agent(f.spool, shown, {.playSound = [&] { ++rings; }});
        agent.start();
        QCOMPARE(agent.openWindows().size(), 1); // PC_03's only
        f.store("PC_02", "još", "127.0.0.1", 9);
        QTest::qWait(300);
        QCOMPARE(agent.openWindows().size(), 1);
        QCOMPARE(agent.messages().rowCount(), 5);
        QVERIFY(agent.choices().isMuted("pc_02") && !agent.choices().sound() && rings == 1);
        agent.choices().setMuted("PC_02", false);
        QCOMPARE(UserChoices(UserChoices::defaultPath(f.state)).muted(), QSet<QString>());
    }
};

QTEST_MAIN(TestReply)
#include "tst_reply.moc"
