// SPDX-License-Identifier: GPL-3.0-or-later
// The popup agent offscreen, on a temporary spool and state: one window per
// unseen message with the exact texts, markup shown as it came, "U redu"
// remembered across starts, a flood queued, one agent per user.
#include "desktopchecks.h"
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/shownstate.h"
#include "receiver/spool.h"

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
        return Spool(spool).store({t, "PC_02", "rx-01", text}, t, &why).value_or(why);
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
    void aNewRecordGivesExactlyOnePopupShownAsItCame()
    {
        Folders f;
        Agent a(f, {10, 600000}); // no rescans: the file notice must do
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
        Agent b(later, {10, 100});
        QTest::qWait(200);
        QDir().mkpath(later.spool);
        later.store("kasnije");
        QTRY_COMPARE_WITH_TIMEOUT(b.texts(), QStringList{shown("kasnije")}, 5000);
    }

    void twoHundredAtOnceAreQueuedAndNoneIsLost()
    {
        Folders f;
        QStringList ids;
        for (int i = 0; i < 200; ++i)
            ids.append(f.store(QStringLiteral("poruka %1").arg(i), i));
        Agent a(f);
        QCOMPARE(a.texts().size(), 10);
        QCOMPARE(a.agent.waiting(), 190);
        const QPoint p0 = a.agent.openWindows()[0]->pos(), p1 = a.agent.openWindows()[1]->pos();
        QVERIFY2(p1.x() > p0.x() && p1.y() > p0.y(), "the next window sits lower and to the right");
        QVERIFY(a.texts().first().endsWith("poruka 0"));
        for (int guard = 0; !a.texts().isEmpty() && guard < 300; ++guard)
            a.confirm(a.texts().size() - 1);
        QCOMPARE(a.agent.waiting(), 0);
        QCOMPARE(f.shownFile(), ids); // every one of them confirmed, in order of arrival
    }

    void aSecondAgentOfTheUserEndsAtOnce()
    {
        Folders f;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VESNAL_SPOOL", f.spool);
        env.insert("XDG_STATE_HOME", f.dir.filePath("state"));
        env.insert("XDG_RUNTIME_DIR", f.dir.path());
        QProcess first, second;
        for (QProcess *p : {&first, &second}) {
            p->setProcessEnvironment(env);
            p->start(VESNAL_BINARY_DIR "/vesnal-popup");
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(f.dir.filePath("vesnal-popup.lock")), 5000);
        }
        QVERIFY(second.waitForFinished(3000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardError().contains("already running"));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        QVERIFY(first.waitForFinished(5000));
    }
};

QTEST_MAIN(TestPopup)
#include "tst_popup.moc"
