// Switching the load by hand: the 150 ms guard, the two looks, the tones.
#include "fakes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

class TestSwitch : public QObject
{
    Q_OBJECT
private slots:
    void guardIgnoresQuickSecondPress();
    void pressDuringLongSignalIgnored();
    void onAndOffLooks();
    void noToneWithSoundOff();
};

void TestSwitch::guardIgnoresQuickSecondPress()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    QElapsedTimer since;
    since.start();
    f->btnIskljuciClick();
    QTest::qWait(100);
    QVERIFY2(f->Timer2->isEnabled(), "the machine stalled for 50 ms");
    f->btnIskljuciClick(); // ignored: only the focus moves (on to Zadato1)
    QVERIFY(rig.line.rts());
    QCOMPARE(QApplication::focusWidget(), f->Zadato1);
    QTRY_VERIFY_WITH_TIMEOUT(!f->Timer2->isEnabled(), 1000);
    QVERIFY(since.elapsed() >= 145);
    QTest::qWait(200 - int(since.elapsed()));
    f->btnIskljuciClick();
    QCOMPARE(rig.entries("rts"), (QStringList{"rts 1", "rts 0"}));
}

void TestSwitch::pressDuringLongSignalIgnored()
{
    // A press made while the switch-on signal plays waits in the queue; it
    // must not switch the load straight off again, even when the overdue
    // guard tick is delivered first.
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    rig.beeper.during = [] { QTest::qSleep(100); };
    f->btnIskljuciClick(); // blocks about 300 ms
    rig.beeper.during = nullptr;
    QTest::qWait(20);
    f->btnIskljuciClick();
    QVERIFY(rig.line.rts());
}

void TestSwitch::onAndOffLooks()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->Zadato1->setText("125");
    f->btnPokreniTClick();
    f->timer1Tick();
    f->btnIskljuciClick(); // off during a countdown: it stops
    QVERIFY(!rig.line.rts() && !f->Timer1->isEnabled());
    QVERIFY(f->Zadato1->isEnabled() && f->btnPokreniT->isEnabled());
    QCOMPARE(f->Label3->text(), QString("Tajmer stoji."));
    QVERIFY(!f->Label3->font().bold() && !f->Minuta->isVisible() && !f->Shape4->isVisible());
    QCOMPARE(f->Ostalo1->text(), QString("0"));
    QCOMPARE(f->btnIskljuci->text(),
             QString("Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio."));
    QCOMPARE(f->btnIskljuci->pictureName(), QString("lightoff"));
    QCOMPARE(f->btnIskljuci->face(), QApplication::palette().color(QPalette::Midlight));
    QVERIFY(!f->Shape3->isVisible() && f->PortCombo->isEnabled());
    QCOMPARE(f->iconName(), QString("appicon"));
    QCOMPARE(f->windowTitle(), QString("Tempral v0.5"));
    QCOMPARE(rig.journal.last(), QString("beep 800 900"));

    // On without limit, from a leftover number on yellow; the window shows
    // the new state before the tones play.
    QTRY_VERIFY_WITH_TIMEOUT(!f->Timer2->isEnabled(), 1000);
    f->Ostalo1->setText("17");
    f->Ostalo1->setPalette(QPalette(Qt::yellow));
    QStringList captionsDuringTones;
    rig.beeper.during = [&] { captionsDuringTones << f->btnIskljuci->text(); };
    rig.journal.clear();
    f->btnIskljuciClick();
    const QString on = "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio.";
    QCOMPARE(f->btnIskljuci->text(), on);
    QCOMPARE(f->btnIskljuci->pictureName(), QString("lighton"));
    QCOMPARE(f->btnIskljuci->face(), QApplication::palette().color(QPalette::ToolTipBase));
    QVERIFY(f->Shape3->isVisible() && !f->PortCombo->isEnabled());
    QCOMPARE(f->Shape3->penStyle(), Qt::SolidLine);
    QCOMPARE(f->Shape3->borderWidth(), 2);
    QCOMPARE(f->iconName(), QString("redtimer"));
    QCOMPARE(f->Ostalo1->text(), QString("0"));
    QCOMPARE(f->Ostalo1->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(rig.journal, (QStringList{"rts 1", "beep 1200 400", "sleep 150", "beep 1200 400"}));
    QCOMPARE(captionsDuringTones, QStringList(3, on));
}

void TestSwitch::noToneWithSoundOff()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->chkZvuk->setChecked(false);
    f->btnIskljuciClick(); // on
    QTRY_VERIFY_WITH_TIMEOUT(!f->Timer2->isEnabled(), 1000);
    f->btnIskljuciClick(); // off
    f->Zadato1->setText("1");
    f->btnPokreniTClick();
    f->timer1Tick(); // the end
    QVERIFY(f->close());
    QCOMPARE(rig.entries("rts"), (QStringList{"rts 1", "rts 0", "rts 1", "rts 0"}));
    QVERIFY(rig.entries("beep").isEmpty() && rig.entries("sleep").isEmpty());
}

QTEST_MAIN(TestSwitch)
#include "tst_switch.moc"
