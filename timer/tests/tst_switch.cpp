// Switching the load by hand: the 150 ms guard, the two looks, the tones.
#include "fakes.h"
#include "outlineshape.h"
#include "picturebutton.h"
#include "ticktimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class TestSwitch : public QObject
{
    Q_OBJECT
private slots:
    void guardIgnoresQuickSecondPress();
    void onAndOffLooks();
    void noToneWithSoundOff();
    void switchOffStopsCountdown();
    void pressDuringLongSignalIgnored();
};

void TestSwitch::guardIgnoresQuickSecondPress()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    QElapsedTimer since;
    since.start();
    f->btnIskljuciClick();
    QVERIFY(rig.line.rts());
    QCOMPARE(f->Timer2->interval(), 150);
    QTest::qWait(100);
    QVERIFY2(f->Timer2->isEnabled(), "the machine stalled for 50 ms");
    f->btnIskljuciClick();
    QVERIFY(rig.line.rts()); // ignored: only the focus moved
    QCOMPARE(QApplication::focusWidget(), f->Zadato1);
    QTRY_VERIFY_WITH_TIMEOUT(!f->Timer2->isEnabled(), 1000);
    QVERIFY(since.elapsed() >= 145);
    QTest::qWait(200 - int(since.elapsed()));
    f->btnIskljuciClick();
    QVERIFY(!rig.line.rts());
    QCOMPARE(rig.entries("rts"), (QStringList{"rts 1", "rts 0"}));
}

void TestSwitch::onAndOffLooks()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    QCOMPARE(f->iconName(), QString("appicon"));
    QVERIFY(!f->Shape3->isVisible());
    f->Ostalo1->setText("17");
    f->Ostalo1->setPalette(QPalette(Qt::yellow));
    // The window shows the new state before the tones play.
    QStringList captionsDuringTones;
    rig.beeper.during = [&] { captionsDuringTones << f->btnIskljuci->text(); };

    f->btnIskljuciClick();
    const QString on = "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio.";
    QCOMPARE(f->btnIskljuci->text(), on);
    QCOMPARE(f->btnIskljuci->pictureName(), QString("lighton"));
    QCOMPARE(f->btnIskljuci->face(), QApplication::palette().color(QPalette::ToolTipBase));
    QVERIFY(f->Shape3->isVisible());
    QCOMPARE(f->Shape3->penStyle(), Qt::SolidLine);
    QCOMPARE(f->Shape3->borderWidth(), 2);
    QVERIFY(!f->PortCombo->isEnabled());
    QCOMPARE(f->iconName(), QString("redtimer"));
    QCOMPARE(f->Ostalo1->text(), QString("0"));
    QCOMPARE(f->Ostalo1->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(f->btnPokreniT->isEnabled());
    QCOMPARE(rig.entries("beep").size() + rig.entries("sleep").size(), 3);
    QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")),
             (QStringList{"rts 1", "beep 1200 400", "sleep 150", "beep 1200 400"}));
    QCOMPARE(captionsDuringTones, QStringList(3, on));

    QTRY_VERIFY_WITH_TIMEOUT(!f->Timer2->isEnabled(), 1000);
    rig.journal.clear();
    f->btnIskljuciClick();
    QCOMPARE(f->btnIskljuci->text(),
             QString("Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio."));
    QCOMPARE(f->btnIskljuci->pictureName(), QString("lightoff"));
    QCOMPARE(f->btnIskljuci->face(), QApplication::palette().color(QPalette::Midlight));
    QVERIFY(!f->Shape3->isVisible());
    QVERIFY(f->PortCombo->isEnabled());
    QCOMPARE(f->iconName(), QString("appicon"));
    QCOMPARE(f->windowTitle(), QString("Tempral v0.5"));
    QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
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
    QCOMPARE(rig.beeper.beeps(), 0);
    QVERIFY(rig.entries("sleep").isEmpty());
}

void TestSwitch::switchOffStopsCountdown()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->Zadato1->setText("125");
    f->btnPokreniTClick();
    f->timer1Tick();
    QVERIFY(f->Minuta->isVisible());
    f->btnIskljuciClick();
    QVERIFY(!rig.line.rts());
    QVERIFY(!f->Timer1->isEnabled());
    QVERIFY(f->Zadato1->isEnabled() && f->btnPokreniT->isEnabled());
    QCOMPARE(f->Label3->text(), QString("Tajmer stoji."));
    QVERIFY(!f->Label3->font().bold());
    QVERIFY(!f->Minuta->isVisible() && f->Minuta->text().isEmpty());
    QVERIFY(!f->Shape4->isVisible());
    QCOMPARE(f->Ostalo1->text(), QString("0"));
    QCOMPARE(rig.journal.last(), QString("beep 800 900"));
}

void TestSwitch::pressDuringLongSignalIgnored()
{
    // A press made while the switch-on signal plays waits in the queue; it
    // must not switch the load straight off again, however Qt orders it
    // against the overdue guard tick.
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    rig.beeper.during = [] { QTest::qSleep(100); };
    f->btnIskljuciClick(); // blocks about 300 ms
    rig.beeper.during = nullptr;
    QTest::qWait(20); // the overdue guard tick gets its chance first
    QVERIFY(f->Timer2->isEnabled());
    f->btnIskljuciClick();
    QVERIFY(rig.line.rts());
}

QTEST_MAIN(TestSwitch)
#include "tst_switch.moc"
