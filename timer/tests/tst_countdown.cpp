// The countdown: start, ticks, end, the key filter, and the tick timing.
#include "fakes.h"

class TestCountdown : public QObject
{
    Q_OBJECT
private slots:
    void periodLimitsAndOneSecond();
    void blinkFrameAndMinutes();
    void minutesAndCaption();
    void keyFilterAndFocus();
    void ticksHeldToClock();
};

void TestCountdown::periodLimitsAndOneSecond()
{
    for (const QString text : {"3600", "3601", "0", "", "x12"}) {
        Rig rig;
        rig.start(text);
        QVERIFY2(rig.on == (text == "3600"), qPrintable(text));
    }
    Rig rig;
    rig.start("1");
    QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")),
             (QStringList{"rts 1", "beep 800 95", "sleep 300", "beep 1000 95", "sleep 300",
                          "beep 1200 95"}));
    QCOMPARE(rig.look(), "lighton appicon 1 #ffff00 Shape3 Shape4 Minuta bold Timer1");
    QCOMPARE(rig.form.Label3->text(), QString("Tajmer odbrojava."));
    rig.journal.clear();
    rig.form.timer1Tick();
    QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
    QCOMPARE(rig.look(), "lightoff appicon 0 #ffffff Zadato1 btnPokreniT PortCombo");
    QCOMPARE(QApplication::focusWidget(), rig.form.Zadato1);
}

void TestCountdown::blinkFrameAndMinutes()
{
    Rig rig;
    rig.start("0005");
    QStringList seen; // icon, Ostalo1, its colour, frame style
    for (int i = 0; i < 5; ++i, rig.form.timer1Tick())
        seen << rig.look().section(' ', 1, 3) + " " +
                    QString::number(rig.form.Shape3->borderStyle());
    QCOMPARE(seen,
             (QStringList{"appicon 0005 #ffff00 1", "appicon 4 #ffffff 2", "redtimer 3 #ffff00 5",
                          "appicon 2 #ffffff 4", "redtimer 1 #ffff00 3"}));
    QVERIFY(!rig.on);
}

void TestCountdown::minutesAndCaption()
{
    Rig rig;
    QWidget other; // the timer in the background
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    rig.start("126");
    QStringList minutes, titles; // after each tick; "-": Minuta hidden
    while (rig.form.Timer1->isEnabled()) {
        if (rig.form.Ostalo1->text() == "30") { // to the foreground
            rig.form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&rig.form));
        }
        rig.form.timer1Tick();
        minutes << (rig.form.Minuta->isVisible() ? rig.form.Minuta->text() : "-");
        titles << rig.form.windowTitle();
    }
    QCOMPARE(minutes.mid(0, 2), (QStringList{"= 2 min. 5 s", "= 2 min. 4 s"}));
    QCOMPARE(minutes[65], QString("= 1 min. 0 s")); // 60 s left
    QCOMPARE(minutes.mid(66), QStringList(60, "-"));
    QCOMPARE(titles[0] + " | " + titles[80] + " | " + titles[100],
             "= 2 min. 5 s | = 45 s | " + rig.form.Natpis);

    // The end while minimised restores the window.
    rig.start("2");
    rig.form.showMinimized();
    rig.form.timer1Tick();
    rig.form.timer1Tick();
    QVERIFY(!rig.form.isMinimized() && !rig.on);
}

void TestCountdown::keyFilterAndFocus()
{
    Rig rig;
    QLineEdit *z = rig.form.Zadato1;
    QApplication::clipboard()->setText("99");
    QTest::keyClicks(z, "1a-.2 \r\b");
    QTest::keyClick(z, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(z, "23456");
    QTest::keyClick(z, Qt::Key_Left);
    QTest::keyClick(z, Qt::Key_Delete);
    QCOMPARE(z->text(), QString("123")); // no letters, no paste, at most four
    rig.form.btnIskljuci->setFocus();
    QTest::mouseClick(rig.form.Ostalo1, Qt::LeftButton); // passes the focus on
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
