// The countdown: start, ticks, end, the key filter, and the tick timing.
#include "fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

class TestCountdown : public QObject
{
    Q_OBJECT
private slots:
    void periodOfOneSecond();
    void leadingZerosBlinkAndFrame();
    void minutesShownWhileAMinuteRemains();
    void periodLimits_data();
    void periodLimits();
    void captionInBackground();
    void endWhileMinimisedRestores();
    void keyFilterAndFocus();
    void ticksHeldToClock();
};

void TestCountdown::periodOfOneSecond()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->Zadato1->setText("1");
    f->btnPokreniTClick();
    QVERIFY(rig.line.rts() && f->Timer1->isEnabled());
    QCOMPARE(f->Timer1->interval(), 1000);
    QVERIFY(!f->Zadato1->isEnabled() && !f->btnPokreniT->isEnabled() && !f->PortCombo->isEnabled());
    QCOMPARE(f->Label3->text(), QString("Tajmer odbrojava."));
    QVERIFY(f->Label3->font().bold() && f->Shape4->isVisible());
    QCOMPARE(f->iconName(), QString("appicon"));
    QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")),
             (QStringList{"rts 1", "beep 800 95", "sleep 300", "beep 1000 95", "sleep 300",
                          "beep 1200 95"}));
    rig.journal.clear();
    f->timer1Tick();
    QCOMPARE(f->Ostalo1->text(), QString("0"));
    QVERIFY(!rig.line.rts() && !f->Timer1->isEnabled());
    QVERIFY(f->Zadato1->isEnabled() && f->btnPokreniT->isEnabled());
    QCOMPARE(f->Label3->text(), QString("Tajmer stoji."));
    QVERIFY(!f->Shape4->isVisible() && !f->Shape3->isVisible());
    QCOMPARE(QApplication::focusWidget(), f->Zadato1);
    QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
}

void TestCountdown::leadingZerosBlinkAndFrame()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->Zadato1->setText("0005");
    f->btnPokreniTClick();
    QCOMPARE(f->Ostalo1->text(), QString("0005"));
    const auto base = [f] { return f->Ostalo1->palette().color(QPalette::Base); };
    QCOMPARE(base(), QColor(Qt::yellow));
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        f->timer1Tick();
        seen << QString("%1 %2 %3 %4")
                    .arg(f->Ostalo1->text(), base() == Qt::white ? "white" : base().name(),
                         f->iconName())
                    .arg(f->Shape3->borderStyle());
        QCOMPARE(f->Shape3->borderWidth(), 1);
    }
    QCOMPARE(seen, (QStringList{"4 white appicon 2", "3 #ffff00 redtimer 5", "2 white appicon 4",
                                "1 #ffff00 redtimer 3"}));
    f->timer1Tick();
    QCOMPARE(f->Proteklo, 5);
    QVERIFY(!rig.line.rts());
}

void TestCountdown::minutesShownWhileAMinuteRemains()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->Zadato1->setText("125");
    f->btnPokreniTClick();
    QVERIFY(f->Minuta->isVisible());
    f->timer1Tick();
    QCOMPARE(f->Ostalo1->text(), QString("124"));
    QCOMPARE(f->Minuta->text(), QString("= 2 min. 4 s"));
    while (f->Ostalo1->text() != "60")
        f->timer1Tick();
    QCOMPARE(f->Minuta->text(), QString("= 1 min. 0 s"));
    QVERIFY(f->Minuta->isVisible());
    f->timer1Tick();
    QVERIFY(!f->Minuta->isVisible() && f->Minuta->text().isEmpty());
    while (f->Timer1->isEnabled()) {
        f->timer1Tick();
        QVERIFY(!f->Minuta->isVisible());
    }
    QCOMPARE(f->Proteklo, 125);
    QCOMPARE(f->Ostalo1->text(), QString("0"));
}

void TestCountdown::periodLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("3600") << "3600" << true;
    QTest::newRow("3601") << "3601" << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("pasted text") << "x12" << false;
}

void TestCountdown::periodLimits()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->Ostalo1->setText("7");
    f->Zadato1->setText(text);
    f->btnIskljuci->setFocus();
    f->btnPokreniTClick();
    QCOMPARE(rig.line.rts(), accepted);
    QCOMPARE(f->Timer1->isEnabled(), accepted);
    QCOMPARE(f->Ostalo1->text(), accepted ? text : QString());
    QCOMPARE(QApplication::focusWidget(),
             accepted ? static_cast<QWidget *>(f->Pamti_vreme) : f->Zadato1);
    QCOMPARE(rig.entries("beep").isEmpty(), !accepted);
}

void TestCountdown::captionInBackground()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f->Zadato1->setText("126");
    f->btnPokreniTClick();
    f->timer1Tick();
    QCOMPARE(f->windowTitle(), QString("= 2 min. 5 s"));
    f->Ostalo1->setText("46");
    f->timer1Tick();
    QCOMPARE(f->windowTitle(), QString("= 45 s"));
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    f->timer1Tick();
    QCOMPARE(f->windowTitle(), QString("Tempral v0.5"));
}

void TestCountdown::endWhileMinimisedRestores()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->Zadato1->setText("2");
    f->btnPokreniTClick();
    f->showMinimized();
    QTRY_VERIFY(f->isMinimized());
    f->timer1Tick();
    QCOMPARE(f->windowTitle(), QString("= 1 s"));
    f->timer1Tick();
    QVERIFY(!f->isMinimized());
    QCOMPARE(f->windowTitle(), QString("Tempral v0.5"));
}

void TestCountdown::keyFilterAndFocus()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    QLineEdit *z = f->Zadato1;
    z->setFocus();
    QTest::keyClicks(z, "1a-.2 ");
    QTest::keyClick(z, Qt::Key_Return);
    QCOMPARE(z->text(), QString("12"));
    QTest::keyClick(z, Qt::Key_Backspace);
    QCOMPARE(z->text(), QString("1"));
    QApplication::clipboard()->setText("99");
    QTest::keyClick(z, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(z, "23456");
    QCOMPARE(z->text(), QString("1234")); // at most four characters
    QTest::keyClick(z, Qt::Key_Left);
    QTest::keyClick(z, Qt::Key_Delete);
    QCOMPARE(z->text(), QString("123"));

    // Clicking into Ostalo1 passes the focus on.
    f->btnIskljuci->setFocus();
    QTest::mouseClick(f->Ostalo1, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), f->Zadato1);
    f->btnPokreniTClick();
    f->btnPokreniT->setFocus();
    QTest::mouseClick(f->Ostalo1, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), f->Pamti_vreme);
}

void TestCountdown::ticksHeldToClock()
{
    qint64 now = 0;
    TickTimer t(nullptr, [&] { return now; });
    int ticks = 0;
    connect(&t, &TickTimer::tick, [&] { ++ticks; });
    t.setEnabled(false);
    t.setInterval(1000);
    QCOMPARE(t.pendingDelay(), -1);
    t.setEnabled(true);
    QCOMPARE(t.pendingDelay(), 1000);
    now = 1007; // woken late: the next tick keeps its time
    t.wake();
    QCOMPARE(ticks, 1);
    QCOMPARE(t.pendingDelay(), 993);
    now = 1999; // woken early: no tick
    t.wake();
    QCOMPARE(ticks, 1);
    now = 4500; // blocked over three ticks: they count as one
    t.wake();
    QCOMPARE(ticks, 2);
    QCOMPARE(t.pendingDelay(), 500);
    connect(&t, &TickTimer::tick, [&] { t.setEnabled(false); });
    now = 5000; // a handler that stops the timer leaves nothing pending
    t.wake();
    QCOMPARE(ticks, 3);
    QCOMPARE(t.pendingDelay(), -1);
}

QTEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
