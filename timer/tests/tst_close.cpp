// Closing: settings first, then the load off before the reminder box, and the
// tone only when the load was on.
#include "fakes.h"
#include "outlineshape.h"
#include "ticktimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class TestClose : public QObject
{
    Q_OBJECT
private slots:
    void closeOrder_data();
    void closeOrder();
    void secondCloseRequestWhileBoxIsUp();
};

static const QString kUnplug =
    "warning Na kraju rada sa tajmerom - odspoj kabl od prekidackog modula.";

void TestClose::closeOrder_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<QStringList>("expected");
    const QStringList off = {"rts 0", "beep 800 900", kUnplug};
    QTest::newRow("counting") << "counting" << true << off;
    QTest::newRow("on without limit") << "on" << true << off;
    QTest::newRow("on, sound off") << "on" << false << QStringList{"rts 0", kUnplug};
    QTest::newRow("load off") << "off" << true << QStringList{kUnplug};
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
    if (state == "counting") {
        f->Zadato1->setText("30");
        f->btnPokreniTClick();
        f->timer1Tick();
    } else if (state == "on") {
        f->btnIskljuciClick();
    }
    bool onWhileBoxShown = true;
    rig.boxes.during = [&] { onWhileBoxShown = rig.line.rts(); };
    rig.journal.clear();
    QVERIFY(f->close());
    const QStringList writes = rig.entries("write");
    QCOMPARE(writes.size(), 5);
    QCOMPARE(rig.journal.mid(0, 5), writes); // the settings come first
    QCOMPARE(rig.journal.mid(5), expected);
    QCOMPARE(rig.boxes.lastTitle, QString("Tempral v0.5"));
    QVERIFY(!onWhileBoxShown);
    QVERIFY(!f->Timer1->isEnabled());
    QCOMPARE(f->Label3->text(), QString("Tajmer stoji."));
    QVERIFY(!f->Shape4->isVisible());
}

void TestClose::secondCloseRequestWhileBoxIsUp()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    bool secondAccepted = true;
    int boxes = 0;
    rig.boxes.during = [&] {
        if (++boxes > 1) return;
        QCloseEvent again; // as a window manager would send it
        QApplication::sendEvent(f, &again);
        secondAccepted = again.isAccepted();
    };
    QVERIFY(f->close());
    QVERIFY(!secondAccepted);
    QCOMPARE(rig.entries("warning").size(), 1);
    QCOMPARE(rig.entries("write").size(), 5);
}

QTEST_MAIN(TestClose)
#include "tst_close.moc"
