// SPDX-License-Identifier: GPL-3.0-or-later
// The popup agent offscreen, on a temporary spool and state: one window per
// unseen message with the exact texts, markup shown as it came, "U redu"
// remembered across starts; many messages in one list, from the mouse and
// the keyboard, with the refusals above; one agent per user, whose second
// start shows the list.
#include "desktopchecks.h"
#include "platform/requestsignal.h"
#include "popup/listwindow.h"
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/shownstate.h"
#include "receiver/spool.h"
#include "receiver/spoolstate.h"

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

    QString store(const QString &text, int seconds = 0) const
    {
        QString why;
        const QDateTime t = Now.addSecs(seconds);
        return Spool(spool).store({t, "PC_02", "rx-01", text, "10.0.0.2"}, t, &why).value_or(why);
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
    void confirm(int index) const
    {
        QTest::mouseClick(agent.openWindows().at(index)->okButton(), Qt::LeftButton);
    }
};

} // namespace

class TestPopup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Belgrade"); // the refusals are shown in local time
    }

    void aNewRecordGivesExactlyOnePopupShownAsItCame()
    {
        Folders f;
        Agent a(f, {.listAbove = 3, .pollMs = 600000}); // no rescans: the file notice must do
        const QString text = QStringLiteral(
            "Sastanak je u 10 časova, čćđšž!\n<b>Hitno</b> <a href=\"http://x.example/\">klik</a> "
            "&amp; <img src=\"file:///etc/passwd\"> http://y.example/");
        const QString id = f.store(text);
        QTRY_COMPARE_WITH_TIMEOUT(a.texts(), QStringList{shown(text)}, 5000);
        PopupWindow *w = a.agent.openWindows().first();
        QCOMPARE(w->windowTitle() + '|' + w->okButton()->text(),
                 "Vesnal – primljena poruka|U redu");
        QCOMPARE(unnamedControls(w).join("; "), QString());
        // Read-only, above the others, not taking the keyboard.
        QVERIFY(w->textBox()->isReadOnly() && w->isVisible() &&
                (w->windowFlags() & Qt::WindowStaysOnTopHint) &&
                w->testAttribute(Qt::WA_ShowWithoutActivating));
        a.agent.rescan();
        QCOMPARE(a.texts().size(), 1);
        QVERIFY(f.shownFile().isEmpty());
        a.confirm(0);
        QVERIFY(a.texts().isEmpty());
        QCOMPARE(f.shownFile(), QStringList{id});
    }

    void aRestartShowsOnlyWhatWasNotConfirmed()
    {
        Folders f;
        const QString first = f.store("prva", 0);
        f.store("druga", 1);
        f.store("treća", 2);
        QFile bad(f.spool + "/20261207T091504.000Z-1-1.msg");
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("no record") > 0);
        bad.close();
        {
            Agent a(f);
            QCOMPARE(a.texts().size(), 3); // the broken file is passed over
            a.confirm(0);
            a.agent.openWindows()[0]->close(); // put aside: not confirmed
            QCOMPARE(a.texts(), QStringList{shown("treća", 2)});
        }
        QCOMPARE(f.shownFile(), QStringList{first});
        QCOMPARE(Agent(f).texts(), QStringList({shown("druga", 1), shown("treća", 2)}));

        // A spool made only after the start (set up after login) is found.
        Folders later;
        QDir(later.spool).removeRecursively();
        Agent b(later, {.listAbove = 3, .pollMs = 100});
        QTest::qWait(200);
        QDir().mkpath(later.spool);
        later.store("kasnije");
        QTRY_COMPARE_WITH_TIMEOUT(b.texts(), QStringList{shown("kasnije")}, 5000);
    }

    void manyMessagesInOneListWindow()
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
        QCOMPARE(list->windowTitle() + '|' + list->okButton()->text() + '|' +
                     list->allButton()->text(),
                 "Primljene poruke|U redu|Sve pročitano");
        QCOMPARE(unnamedControls(list).join("; "), QString());
        const QAbstractItemModel *model = list->view()->model();
        const auto row = [&](int r) { // its texts, and whether it is bold (unread)
            QStringList texts;
            for (int column = 0; column < 4; ++column)
                texts << model->index(r, column).data().toString();
            return texts.join('|') + (model->index(r, 0).data(Qt::FontRole).isValid() ? " *" : "");
        };
        QCOMPARE(row(7), "PC_02|RX-01|07.12.2026. 10:15:10|poruka 7 *");
        QCOMPARE(list->selectedId(), ids[0]);
        list->selectRow(7);
        QCOMPARE(list->textBox()->toPlainText(), shown("poruka 7\ndrugi red", 7));
        QTest::mouseClick(list->okButton(), Qt::LeftButton);
        QCOMPARE(f.shownFile(), QStringList{ids[7]});
        QCOMPARE(list->selectedId(), ids[8]); // on to the next unread one
        QCOMPARE(row(7), "PC_02|RX-01|07.12.2026. 10:15:10|poruka 7");
        QTest::mouseClick(list->allButton(), Qt::LeftButton);
        QVERIFY(!list->isVisible());
        QCOMPARE(f.shownFile(), ids);
        a.reset();
        Agent again(f);
        QVERIFY(again.texts().isEmpty() && !again.agent.listWindow()); // restart: nothing waits
    }

    void theListFromTheKeyboardWithTheRefusalsAbove()
    {
        Folders f;
        QStringList ids;
        for (int i = 0; i < 5; ++i)
            ids.append(f.store(QStringLiteral("poruka %1").arg(i), i));
        SpoolState state;
        for (int i = 0; i < 340; ++i)
            state.refuse(Refusal::TooFast, "PC_02", "10.0.0.2", Now.addSecs(i / 2));
        QSaveFile file(f.spool + "/state");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(state.serialize(Now)) > 0 &&
                file.commit());
        Agent a(f);
        ListWindow *list = a.agent.listWindow();
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->refusalsLabel()->text(),
                 "PC_02 (10.0.0.2): 340 poruka odbijeno (previše poruka za kratko vreme), "
                 "07.12.2026. od 10:15:03 do 10:17:52");
        QVERIFY(list->refusalsLabel()->isVisible());
        // Enter on the list, and Space on a focused button, as on the popup.
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list));
        list->view()->setFocus();
        QTest::keyClick(list->view(), Qt::Key_Return);
        QCOMPARE(f.shownFile(), QStringList{ids[0]});
        list->okButton()->setFocus();
        QTest::keyClick(list->okButton(), Qt::Key_Space);
        QCOMPARE(f.shownFile(), ids.mid(0, 2));
        QTest::keyClick(list, Qt::Key_Escape); // closes, marks nothing
        QVERIFY(!list->isVisible());
        QCOMPARE(f.shownFile(), ids.mid(0, 2));
        a.agent.showList(true); // on demand: the history
        QCOMPARE(list->view()->model()->rowCount(), 5);
        list->allButton()->setFocus();
        QTest::keyClick(list->allButton(), Qt::Key_Space);
        QCOMPARE(f.shownFile(), ids);
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
};

QTEST_MAIN(TestPopup)
#include "tst_popup.moc"
