// The popup agent offscreen, on a temporary spool and state: one window per
// unseen message with the exact texts, "U redu" remembered across starts,
// a flood queued, markup shown as it came, one agent per user.
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/shownstate.h"
#include "receiver/spool.h"

#include <QtTest>
#include <QtWidgets>

namespace
{

const QDateTime Now(QDate(2026, 12, 7), QTime(10, 15, 3, 250), Qt::OffsetFromUTC, 3600);
const QString Heading = QStringLiteral("Poruka od PC_02 za RX-01, 07.12.2026. u 10:15:03\n\n");

// What the window of a message stored `seconds` after Now shows.
QString shown(int seconds, const QString &text)
{
    return QString(Heading).replace("03\n",
                                    QStringLiteral("%1\n").arg(3 + seconds, 2, 10, QChar('0'))) +
           text;
}

struct Folders {
    QTemporaryDir dir;
    QString spool = dir.filePath("spool");
    QString state = dir.filePath("state/vesnal/shown");
    Folders() { QDir().mkpath(spool); }

    QString store(const QString &text, int secondsLater = 0) const
    {
        QString why;
        const QDateTime t = Now.addSecs(secondsLater);
        return Spool(spool).store({t, "PC_02", "rx-01", text}, t, &why).value_or(why);
    }
    QStringList shownFile() const
    {
        QFile f(state);
        return f.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }
};

QStringList texts(const PopupAgent &agent)
{
    QStringList all;
    for (const PopupWindow *w : agent.openWindows())
        all.append(w->textBox()->toPlainText());
    return all;
}

void confirm(PopupWindow *window)
{
    QTest::mouseClick(window->okButton(), Qt::LeftButton);
}

} // namespace

class TestPopup : public QObject
{
    Q_OBJECT
private slots:
    void aNewRecordGivesExactlyOnePopup()
    {
        Folders f;
        ShownState state(f.state);
        PopupAgent agent(f.spool, state, {10, 600000}); // no rescans: the notice must do
        agent.start();
        QVERIFY(agent.openWindows().isEmpty());

        const QString text = QStringLiteral("Sastanak je u 10 časova.\nDoneti izveštaj, čćđšž!");
        const QString id = f.store(text);
        QTRY_COMPARE_WITH_TIMEOUT(agent.openWindows().size(), 1, 5000);
        PopupWindow *w = agent.openWindows().first();
        QCOMPARE(w->windowTitle(), "Vesnal – primljena poruka");
        QCOMPARE(w->textBox()->toPlainText(), Heading + text);
        QCOMPARE(w->okButton()->text(), "U redu");
        QVERIFY(w->textBox()->isReadOnly() && w->isVisible());
        // What the window manager is told: above the others, not taking the keyboard.
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w->testAttribute(Qt::WA_ShowWithoutActivating));
        agent.rescan();
        QCOMPARE(agent.openWindows().size(), 1);
        QVERIFY(f.shownFile().isEmpty());

        confirm(w);
        QVERIFY(agent.openWindows().isEmpty());
        QCOMPARE(f.shownFile(), QStringList{id});
        agent.rescan();
        QVERIFY(agent.openWindows().isEmpty());
    }

    void aRestartShowsOnlyWhatWasNotConfirmed()
    {
        Folders f;
        const QString first = f.store("prva", 0);
        f.store("druga", 1);
        f.store("treća", 2);
        QFile bad(QDir(f.spool).filePath(QStringLiteral("20261207T091504.000Z-1-1.msg")));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("no record") > 0);
        bad.close();
        {
            ShownState state(f.state);
            PopupAgent agent(f.spool, state);
            agent.start();
            QCOMPARE(texts(agent).size(), 3); // the broken file is passed over
            confirm(agent.openWindows()[0]);
            agent.openWindows()[0]->close(); // put aside: not confirmed
            QCOMPARE(texts(agent), QStringList{shown(2, "treća")});
        }
        QCOMPARE(f.shownFile(), QStringList{first});
        ShownState state(f.state);
        PopupAgent agent(f.spool, state);
        agent.start();
        QCOMPARE(texts(agent), QStringList({shown(1, "druga"), shown(2, "treća")}));
    }

    void twoHundredAtOnceAreQueuedAndNoneIsLost()
    {
        Folders f;
        QStringList ids;
        for (int i = 0; i < 200; ++i)
            ids.append(f.store(QStringLiteral("poruka %1").arg(i), i));
        ShownState state(f.state);
        PopupAgent agent(f.spool, state);
        agent.start();
        QCOMPARE(agent.openWindows().size(), 10);
        QCOMPARE(agent.waiting(), 190);
        const QPoint a = agent.openWindows()[0]->pos(), b = agent.openWindows()[1]->pos();
        QVERIFY2(b.x() > a.x() && b.y() > a.y(), "the next window sits lower and to the right");
        QVERIFY(texts(agent).first().endsWith("poruka 0"));
        for (int guard = 0; !agent.openWindows().isEmpty() && guard < 300; ++guard)
            confirm(agent.openWindows().last());
        QCOMPARE(agent.waiting(), 0);
        QCOMPARE(f.shownFile(), ids); // every one of them confirmed, in order of arrival
    }

    void markupAndLinksAreShownAsTheyCame()
    {
        Folders f;
        const QString text = QStringLiteral("<b>Hitno</b> <a href=\"http://x.example/\">klik</a> "
                                            "&amp; <img src=\"file:///etc/passwd\"> "
                                            "http://y.example/ <script>x()</script>");
        f.store(text);
        ShownState state(f.state);
        PopupAgent agent(f.spool, state);
        agent.start();
        QCOMPARE(texts(agent), QStringList{Heading + text});
        const QTextDocument *doc = agent.openWindows().first()->textBox()->document();
        for (QTextBlock b = doc->begin(); b != doc->end(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                QVERIFY(!format.isAnchor() && !format.isImageFormat());
                QVERIFY(format.fontWeight() <= QFont::Normal);
            }
    }

    void aSecondAgentOfTheUserEndsAtOnce()
    {
        Folders f;
        const QString program = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-popup");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VESNAL_SPOOL", f.spool);
        env.insert("XDG_STATE_HOME", f.dir.filePath("state"));
        env.insert("XDG_RUNTIME_DIR", f.dir.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess first, second;
        first.setProcessEnvironment(env);
        second.setProcessEnvironment(env);
        first.start(program);
        QVERIFY(first.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(f.dir.filePath("vesnal-popup.lock")), 5000);
        QElapsedTimer clock;
        clock.start();
        second.start(program);
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardError().contains("already running"));
        QVERIFY2(clock.elapsed() < 3000, "the second agent should end at once");
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        QVERIFY(first.waitForFinished(5000));
    }
};

QTEST_MAIN(TestPopup)
#include "tst_popup.moc"
