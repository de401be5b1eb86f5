// Closing: settings first, then the load off before the reminder box, and the
// tone only when the load was on.
#include "fakes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>

class TestClose : public QObject
{
    Q_OBJECT
private slots:
    void closeOrder_data();
    void closeOrder();
};

void TestClose::closeOrder_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<QStringList>("expected");
    const QString unplug = "warning Na kraju rada sa tajmerom - odspoj kabl od prekidackog modula.";
    QTest::newRow("counting") << "counting" << true << QStringList{"rts 0", "beep 800 900", unplug};
    QTest::newRow("on") << "on" << true << QStringList{"rts 0", "beep 800 900", unplug};
    QTest::newRow("on, sound off") << "on" << false << QStringList{"rts 0", unplug};
    QTest::newRow("load off") << "off" << true << QStringList{unplug};
}

void TestClose::closeOrder()
{
    QFETCH(QString, state);
    QFETCH(bool, sound);
    QFETCH(QStringList, expected);
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->chkZvuk->setChecked(sound);
    f->Zadato1->setText("30");
    if (state == "counting") f->btnPokreniTClick();
    if (state == "on") f->btnIskljuciClick();
    // A second close request while the box is up changes nothing.
    bool secondAccepted = true;
    rig.boxes.during = [&] {
        QCloseEvent again;
        QApplication::sendEvent(f, &again);
        secondAccepted = again.isAccepted();
    };
    rig.journal.clear();
    QVERIFY(f->close());
    QCOMPARE(rig.journal.mid(0, 5), rig.entries("write")); // the settings come first
    QCOMPARE(rig.journal.mid(5), expected);
    QCOMPARE(rig.boxes.lastTitle, QString("Tempral v0.5"));
    QVERIFY(!secondAccepted);
    QVERIFY(!f->Timer1->isEnabled() && !f->Shape4->isVisible());
    QCOMPARE(f->Label3->text(), QString("Tajmer stoji."));
}

QTEST_MAIN(TestClose)
#include "tst_close.moc"
