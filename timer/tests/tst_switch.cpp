// Switching by hand, closing, ending by a signal, and captions shown whole.
#include "fakes.h"
#include "tempralapp.h"

#include <csignal>
#include <cstdio>

class TestSwitch : public QObject
{
    Q_OBJECT
private slots:
    void guardAndLooks();
    void closeOrder_data();
    void closeOrder();
    void signalEndsWithLoadOff_data();
    void signalEndsWithLoadOff();
    void captionsShowWhole();
};

void TestSwitch::guardAndLooks()
{
    Rig rig;
    PictureButton *b = rig.form.btnIskljuci;
    rig.form.Ostalo1->setText("17"); // a leftover number on yellow
    rig.form.Ostalo1->setPalette(QPalette(Qt::yellow));
    QStringList captionsDuringTones;
    rig.during = [&] { captionsDuringTones << b->text(); };
    QElapsedTimer since;
    since.start();
    rig.form.btnIskljuciClick();
    rig.during = nullptr;
    const QString on = "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio.";
    QCOMPARE(captionsDuringTones, QStringList(3, on)); // shown before the tones
    QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")),
             (QStringList{"rts 1", "beep 1200 400", "sleep 150", "beep 1200 400"}));
    QCOMPARE(b->face(), QApplication::palette().color(QPalette::ToolTipBase));
    QCOMPARE(rig.look(), "lighton redtimer 0 #ffffff Zadato1 btnPokreniT Shape3");
    rig.start("125"); // a countdown while on: the press that switches off stops it

    // At 100 ms a second press only moves the focus; at 200 ms it switches.
    QTest::qWait(100 - int(since.elapsed()));
    QVERIFY2(rig.form.Timer2->isEnabled(), "the machine stalled for 50 ms");
    rig.form.btnIskljuciClick();
    QCOMPARE(QApplication::focusWidget(), rig.form.Pamti_vreme);
    QTest::qWait(200 - int(since.elapsed()));
    rig.journal.clear();
    rig.form.btnIskljuciClick();
    QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
    QCOMPARE(b->text(), QString("Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio."));
    QCOMPARE(b->face(), QApplication::palette().color(QPalette::Midlight));
    QCOMPARE(rig.look(), "lightoff appicon 0 #ffffff Zadato1 btnPokreniT PortCombo");

    // A press queued while the switch-on signal plays must not switch off.
    QTest::qWait(200);
    rig.during = [] { QTest::qSleep(100); };
    rig.form.btnIskljuciClick();
    rig.during = nullptr;
    QTest::qWait(20);
    rig.form.btnIskljuciClick();
    QVERIFY(rig.on);
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
    rig.form.chkZvuk->setChecked(sound);
    if (state == "counting")
        rig.start("30");
    if (state == "on")
        rig.form.btnIskljuciClick();
    QCOMPARE(rig.journal.filter("beep ").isEmpty(), !sound || state == "off");
    // A second close request while the box is up changes nothing.
    QCloseEvent again;
    rig.during = [&] { QApplication::sendEvent(&rig.form, &again); };
    rig.journal.clear();
    QVERIFY(rig.form.close());
    QCOMPARE(rig.journal.mid(0, 5), rig.journal.filter("write ")); // the settings come first
    QCOMPARE(rig.journal.mid(5), expected);
    QVERIFY(!again.isAccepted() && !rig.form.Timer1->isEnabled());
}

void TestSwitch::signalEndsWithLoadOff_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("period"); // empty: the load on without limit
    QTest::newRow("SIGTERM, load on") << int(SIGTERM) << "";
    QTest::newRow("SIGINT, load on") << int(SIGINT) << "";
    QTest::newRow("SIGHUP, counting") << int(SIGHUP) << "30";
}

// Started as `--child PERIOD`, this program is the timer itself (see main()).
void TestSwitch::signalEndsWithLoadOff()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, period);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--child", period});
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 15000); // "ready"
    ::kill(pid_t(child.processId()), signalNumber);
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitCode(), 128 + signalNumber);
    const QStringList journal = QString(child.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList after = journal.mid(journal.lastIndexOf("ready"));
    QCOMPARE(after.mid(0, 3), (QStringList{"ready", "rts 0", "write Zadato Vreme=" + period}));
    QVERIFY(after.size() == 7 && after.filter("write ").size() == 5); // the settings, no more
}

void TestSwitch::captionsShowWhole()
{
    Rig rig;
    Form1 *f = &rig.form;
    const auto fits = [](const QFont &font, const QRect &box, int flags, const QString &text) {
        const QRectF r = QFontMetricsF(font).boundingRect(QRectF(box), flags, text);
        return r.width() <= box.width() && r.height() <= box.height();
    };
    rig.start("1"); // Label3 in bold
    for (QLabel *l : f->findChildren<QLabel *>()) {
        const QString text = l == f->Minuta ? "= 59 min. 59 s" : l->text();
        const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        QVERIFY2(fits(l->font(), l->contentsRect(), flags, text), qPrintable(l->objectName()));
    }
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
    if (args.value(1) != "--child")
        return QTest::qExec(&test, argc, argv);
    Fakes fakes;
    const int status = runTempral(app, {fakes, fakes, fakes, fakes}, [&](Form1 &form) {
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
