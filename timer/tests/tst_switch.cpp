// Switching the load by hand, closing, ending by a signal, and the captions of
// the fixed layout.
#include "fakes.h"
#include "inisettingsstore.h"
#include "tempralapp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>

class TestSwitch : public QObject
{
    Q_OBJECT
private slots:
    void guardIgnoresQuickSecondPress();
    void onAndOffLooks();
    void closeOrder_data();
    void closeOrder();
    void signalEndsWithLoadOff_data();
    void signalEndsWithLoadOff();
    void captionsShowWhole();
};

void TestSwitch::guardIgnoresQuickSecondPress()
{
    Rig rig;
    QElapsedTimer since;
    since.start();
    rig.f->btnIskljuciClick();
    QTest::qWait(100);
    QVERIFY2(rig.f->Timer2->isEnabled(), "the machine stalled for 50 ms");
    rig.f->btnIskljuciClick(); // ignored: only the focus moves (on to Zadato1)
    QCOMPARE(QApplication::focusWidget(), rig.f->Zadato1);
    QTest::qWait(200 - int(since.elapsed()));
    rig.f->btnIskljuciClick();
    QCOMPARE(rig.entries("rts"), (QStringList{"rts 1", "rts 0"}));

    // A press made while the switch-on signal plays (300 ms here) waits in the
    // queue; it must not switch the load straight off again.
    QTest::qWait(200);
    rig.during = [] { QTest::qSleep(100); };
    rig.f->btnIskljuciClick();
    rig.during = nullptr;
    QTest::qWait(20);
    rig.f->btnIskljuciClick();
    QVERIFY(rig.on);
}

void TestSwitch::onAndOffLooks()
{
    Rig rig;
    PictureButton *b = rig.f->btnIskljuci;
    rig.f->Ostalo1->setText("17"); // a leftover number on yellow
    rig.f->Ostalo1->setPalette(QPalette(Qt::yellow));
    QStringList captionsDuringTones;
    rig.during = [&] { captionsDuringTones << b->text(); };
    rig.f->btnIskljuciClick();
    const QString on = "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio.";
    QCOMPARE(captionsDuringTones, QStringList(3, on)); // shown before the tones
    QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")),
             (QStringList{"rts 1", "beep 1200 400", "sleep 150", "beep 1200 400"}));
    QCOMPARE(b->face(), QApplication::palette().color(QPalette::ToolTipBase));
    QCOMPARE(rig.look(), "lighton redtimer 0 #ffffff Zadato1 btnPokreniT Shape3");

    // Off during a countdown: it stops.
    QTRY_VERIFY_WITH_TIMEOUT(!rig.f->Timer2->isEnabled(), 1000);
    rig.during = nullptr;
    rig.start("125");
    rig.f->timer1Tick();
    rig.journal.clear();
    rig.f->btnIskljuciClick();
    QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
    QCOMPARE(b->text(), QString("Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio."));
    QCOMPARE(b->face(), QApplication::palette().color(QPalette::Midlight));
    QCOMPARE(rig.look(), "lightoff appicon 0 #ffffff Zadato1 btnPokreniT PortCombo");
}

void TestSwitch::closeOrder_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<QStringList>("expected");
    const QString unplug = "warning Na kraju rada sa tajmerom - odspoj kabl od prekidackog modula.";
    QTest::newRow("counting") << "counting" << true << QStringList{"rts 0", "beep 800 900", unplug};
    QTest::newRow("counting, sound off") << "counting" << false << QStringList{"rts 0", unplug};
    QTest::newRow("on") << "on" << true << QStringList{"rts 0", "beep 800 900", unplug};
    QTest::newRow("on, sound off") << "on" << false << QStringList{"rts 0", unplug};
    QTest::newRow("load off") << "off" << true << QStringList{unplug};
}

void TestSwitch::closeOrder()
{
    QFETCH(QString, state);
    QFETCH(bool, sound);
    QFETCH(QStringList, expected);
    Rig rig;
    rig.f->chkZvuk->setChecked(sound);
    if (state == "counting") rig.start("30");
    if (state == "on") rig.f->btnIskljuciClick();
    QCOMPARE(rig.entries("beep").isEmpty(), !sound || state == "off");
    // A second close request while the box is up changes nothing.
    QCloseEvent again;
    rig.during = [&] { QApplication::sendEvent(rig.f, &again); };
    rig.journal.clear();
    QVERIFY(rig.f->close());
    QCOMPARE(rig.journal.mid(0, 5), rig.entries("write")); // the settings come first
    QCOMPARE(rig.journal.mid(5), expected);
    QVERIFY(!again.isAccepted() && !rig.f->Timer1->isEnabled());
}

void TestSwitch::signalEndsWithLoadOff_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("period"); // empty: the load on without limit
    QTest::newRow("SIGTERM, load on") << int(SIGTERM) << "";
    QTest::newRow("SIGINT, load on") << int(SIGINT) << "";
    QTest::newRow("SIGHUP, counting") << int(SIGHUP) << "30";
}

// The test program itself, started with `--child PERIOD`, is the timer: see
// main() below. The load goes off and the settings are stored, without box or
// tone.
void TestSwitch::signalEndsWithLoadOff()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, period);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"--child", period});
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 15000); // "ready"
    ::kill(pid_t(child.processId()), signalNumber);
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitCode(), 128 + signalNumber);
    const QStringList journal = QString(child.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(journal.filter("rts"), (QStringList{"rts 1", "rts 0"}));
    QCOMPARE(journal.mid(journal.lastIndexOf("ready")), (QStringList{"ready", "rts 0"}));
    QSettings stored(dir.filePath("Tempral v0.5.ini"), QSettings::IniFormat);
    QCOMPARE(stored.value("Zadato Vreme").toString() + stored.value("Port").toString(),
             period + "1");
}

void TestSwitch::captionsShowWhole()
{
    Rig rig;
    Form1 *f = rig.f;
    const auto fits = [](const QFont &font, const QRect &box, int flags, const QString &text) {
        const QRectF r = QFontMetricsF(font).boundingRect(QRectF(box), flags, text);
        return r.width() <= box.width() && r.height() <= box.height();
    };
    for (QLabel *l : f->findChildren<QLabel *>()) {
        const QString text = l == f->Minuta ? "= 59 min. 59 s" : l->text();
        const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        QVERIFY2(fits(l->font(), l->contentsRect(), flags, text), qPrintable(l->objectName()));
    }
    rig.start("1"); // Label3 in bold
    QVERIFY(
        fits(f->Label3->font(), f->Label3->contentsRect(), Qt::AlignHCenter, f->Label3->text()));
    for (const QString caption :
         {"Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.",
          "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio."}) {
        f->btnIskljuci->setText(caption);
        QVERIFY(fits(f->btnIskljuci->captionFont(), f->btnIskljuci->captionRect(),
                     Qt::AlignHCenter | Qt::TextWordWrap, caption));
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    TestSwitch test;
    if (args.value(1) != "--child") return QTest::qExec(&test, argc, argv);
    Fakes fakes;
    IniSettingsStore settings(IniSettingsStore::userFileName());
    const int status = runTempral(app, {fakes, settings, fakes, fakes}, [&](Form1 &form) {
        form.Zadato1->setText(args.value(2));
        args.value(2).isEmpty() ? form.btnIskljuciClick() : form.btnPokreniTClick();
        fakes.journal << "ready";
        std::puts("ready");
        std::fflush(stdout);
    });
    std::puts(qPrintable(fakes.journal.join('\n')));
    return status;
}

#include "tst_switch.moc"
