// The countdown: start, ticks, end, the key filter, and the tick timing.
#include "fakes.h"

#include <QApplication>
#include <QClipboard>

class TestCountdown : public QObject
{
    Q_OBJECT
private slots:
    void periodLimitsAndOneSecond();
    void blinkFrameAndMinutes();
    void captionInBackgroundAndEndWhileMinimised();
    void keyFilterAndFocus();
    void ticksHeldToClock();
};

void TestCountdown::periodLimitsAndOneSecond()
{
    for (const QString text : {"3600", "3601", "0", "", "x12"}) {
        Rig rig;
        rig.f->Ostalo1->setText("7");
        rig.start(text);
        const bool accepted = text == "3600";
        QVERIFY2(rig.on == accepted && rig.f->Timer1->isEnabled() == accepted, qPrintable(text));
        QCOMPARE(rig.f->Ostalo1->text(), accepted ? text : QString());
    }
    Rig rig;
    rig.start("1");
    QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")),
             (QStringList{"rts 1", "beep 800 95", "sleep 300", "beep 1000 95", "sleep 300",
                          "beep 1200 95"}));
    QCOMPARE(rig.look(), "lighton appicon 1 #ffff00 Shape3 Shape4 Minuta bold Timer1");
    QCOMPARE(rig.f->Label3->text(), QString("Tajmer odbrojava."));
    rig.journal.clear();
    rig.f->timer1Tick();
    QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
    QCOMPARE(rig.look(), "lightoff appicon 0 #ffffff Zadato1 btnPokreniT PortCombo");
    QCOMPARE(rig.f->Label3->text(), QString("Tajmer stoji."));
    QCOMPARE(QApplication::focusWidget(), rig.f->Zadato1);
}

void TestCountdown::blinkFrameAndMinutes()
{
    Rig rig;
    rig.start("0005");
    QStringList seen; // icon, Ostalo1, its colour, frame style
    for (int i = 0; i < 5; ++i, rig.f->timer1Tick())
        seen << rig.look().section(' ', 1, 3) + " " + QString::number(rig.f->Shape3->borderStyle());
    QCOMPARE(seen,
             (QStringList{"appicon 0005 #ffff00 1", "appicon 4 #ffffff 2", "redtimer 3 #ffff00 5",
                          "appicon 2 #ffffff 4", "redtimer 1 #ffff00 3"}));
    QVERIFY(!rig.on);

    rig.start("125");
    QStringList shown; // Minuta after each tick, "-" while hidden
    while (rig.f->Timer1->isEnabled()) {
        rig.f->timer1Tick();
        shown << (rig.f->Minuta->isVisible() ? rig.f->Minuta->text() : "-");
    }
    QCOMPARE(shown.first(), QString("= 2 min. 4 s"));
    QCOMPARE(shown[64], QString("= 1 min. 0 s")); // 60 s remaining
    QCOMPARE(shown.mid(65), QStringList(60, "-"));
}

void TestCountdown::captionInBackgroundAndEndWhileMinimised()
{
    Rig rig;
    Form1 *f = rig.f;
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    rig.start("126");
    f->timer1Tick();
    QCOMPARE(f->windowTitle(), QString("= 2 min. 5 s"));
    f->Ostalo1->setText("46");
    f->timer1Tick();
    QCOMPARE(f->windowTitle(), QString("= 45 s"));
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    f->timer1Tick();
    QCOMPARE(f->windowTitle(), f->Natpis);
    f->showMinimized();
    QTRY_VERIFY(f->isMinimized());
    f->Proteklo = f->Zadati_period - 1;
    f->timer1Tick(); // the end
    QVERIFY(!f->isMinimized() && !rig.on);
    QCOMPARE(f->windowTitle(), f->Natpis);
}

void TestCountdown::keyFilterAndFocus()
{
    Rig rig;
    QLineEdit *z = rig.f->Zadato1;
    z->setFocus();
    QApplication::clipboard()->setText("99");
    QTest::keyClicks(z, "1a-.2 \r\b");
    QTest::keyClick(z, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(z, "23456");
    QCOMPARE(z->text(), QString("1234")); // no paste, at most four characters
    QTest::keyClick(z, Qt::Key_Left);
    QTest::keyClick(z, Qt::Key_Delete);
    QCOMPARE(z->text(), QString("123"));
    rig.f->btnIskljuci->setFocus();
    QTest::mouseClick(rig.f->Ostalo1, Qt::LeftButton); // passes the focus on
    QCOMPARE(QApplication::focusWidget(), z);
}

void TestCountdown::ticksHeldToClock()
{
    qint64 now = 0;
    TickTimer t(nullptr, [&] { return now; });
    int ticks = 0;
    connect(&t, &TickTimer::tick, [&] { ++ticks; });
    t.setInterval(1000);
    const auto wakeAt = [&](qint64 ms) {
        now = ms;
        t.wake();
        return QString("%1 %2").arg(ticks).arg(t.pendingDelay());
    };
    QCOMPARE(wakeAt(1007), QString("1 993")); // late: the next tick keeps its time
    QCOMPARE(wakeAt(1999), QString("1 1"));   // early: no tick
    QCOMPARE(wakeAt(4500), QString("2 500")); // blocked over three ticks: one
    connect(&t, &TickTimer::tick, [&] { t.setEnabled(false); });
    QCOMPARE(wakeAt(5000), QString("3 -1")); // stopped in a handler: nothing pending
}

QTEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
