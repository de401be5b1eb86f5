// The timer on the fakes: countdown, switching, closing, ending by a signal,
// captions, remembered settings, the port choice, and the tick timing.
#include "fakes.h"
#include "platform/linux/inisettingsstore.h"
#include "tempralapp.h"

#include <csignal>
#include <fcntl.h>
#include <iostream>

static const char kOn[] = "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio.";
static const char kOff[] = "Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio.";

static const QString kNoPort = "critical Ne postoji slobodan serijski port pod tim brojem.";

static Values all(const QString &flag, const QString &period, const QString &port)
{
    Values v{{"Zadato Vreme", period}, {"Port", port}};
    for (const char *key : {"Pamti Zadato Vreme", "Pamti Port", "Zvuk"})
        v[key] = flag;
    return v;
}

struct TestForm1 : QObject {
    Q_OBJECT
private slots:
    void periodLimitsOneSecondAndCaptions()
    {
        for (const QString text : {"3600", "3601", "0", "", "x12"}) {
            Rig rig;
            rig.start(text);
            QVERIFY2(rig.on == (text == "3600"), qPrintable(text));
        }
        Rig rig;
        rig.start("1");
        QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")).join(", "),
                 "rts 1, beep 800 95, sleep 300, beep 1000 95, sleep 300, beep 1200 95");
        QCOMPARE(rig.look(), "lighton appicon 1 #ffff00 Shape3 Shape4 Minuta bold Timer1");
        QCOMPARE(rig.form.Label3->text(), QString("Tajmer odbrojava."));
        const auto fits = [](const QFont &font, const QRect &box, int flags, const QString &text) {
            return QRectF(box).contains(QFontMetricsF(font).boundingRect(QRectF(box), flags, text));
        };
        for (QLabel *l : rig.form.findChildren<QLabel *>()) {
            const QString text = l == rig.form.Minuta ? "= 59 min. 59 s" : l->text();
            const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
            QVERIFY2(fits(l->font(), l->contentsRect(), flags, text), qPrintable(l->objectName()));
        }
        for (const char *caption :
             {"Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.", kOn}) {
            rig.form.btnIskljuci->setText(caption);
            QVERIFY(fits(rig.form.btnIskljuci->captionFont(), rig.form.btnIskljuci->captionRect(),
                         Qt::AlignHCenter | Qt::TextWordWrap, caption));
        }
        rig.journal.clear();
        rig.form.timer1Tick();
        QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
        QCOMPARE(rig.look(), "lightoff appicon 0 #ffffff Zadato1 btnPokreniT PortCombo");
        QCOMPARE(QApplication::focusWidget(), rig.form.Zadato1);
    }

    void minutesCaptionBlinkAndMinimised()
    {
        Rig rig;
        QWidget other; // the timer in the background
        other.show();
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

        rig.start("0005");
        QStringList seen; // icon, Ostalo1, its colour, frame style
        for (int i = 0; i < 5; ++i, rig.form.timer1Tick())
            seen << rig.look().section(' ', 1, 3) + " " +
                        QString::number(rig.form.Shape3->borderStyle());
        QCOMPARE(seen.join(", "), "appicon 0005 #ffff00 1, appicon 4 #ffffff 2, redtimer 3 "
                                  "#ffff00 5, appicon 2 #ffffff 4, redtimer 1 #ffff00 3");
        QVERIFY(!rig.on);

        rig.start("2");
        rig.form.showMinimized();
        rig.form.timer1Tick();
        rig.form.timer1Tick();
        QVERIFY(!rig.form.isMinimized() && !rig.on); // the end restores the window
    }

    void keyFilterAndFocus()
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

    void ticksHeldToClock()
    {
        qint64 now = 0, ticks = 0;
        TickTimer t(nullptr, [&] { return now; });
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

    void guardAndLooks()
    {
        Rig rig;
        PictureButton *b = rig.form.btnIskljuci;
        rig.form.Ostalo1->setText("17"); // a leftover number on yellow
        rig.form.Ostalo1->setPalette(QPalette(Qt::yellow));
        rig.during = [&] { rig.journal << b->text(); }; // the caption during each tone
        QDeadlineTimer at100(100), at200(200);
        rig.form.btnIskljuciClick();
        QCOMPARE(
            rig.journal.mid(rig.journal.indexOf("rts 1")),
            (QStringList{"rts 1", "beep 1200 400", kOn, "sleep 150", kOn, "beep 1200 400", kOn}));
        QCOMPARE(b->face(), QApplication::palette().color(QPalette::ToolTipBase));
        QCOMPARE(rig.look(), "lighton redtimer 0 #ffffff Zadato1 btnPokreniT Shape3");
        rig.start("125"); // a countdown while on: the press that switches off stops it

        // At 100 ms a second press is ignored; at 200 ms it switches.
        QTest::qWait(int(at100.remainingTime()));
        QVERIFY2(rig.form.Timer2->isEnabled(), "the machine stalled for 50 ms");
        rig.form.btnIskljuciClick();
        QTest::qWait(int(at200.remainingTime()));
        rig.journal.clear();
        rig.form.btnIskljuciClick();
        QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900", kOff}));
        QCOMPARE(b->face(), QApplication::palette().color(QPalette::Midlight));
        QCOMPARE(rig.look(), "lightoff appicon 0 #ffffff Zadato1 btnPokreniT PortCombo");

        // A press queued while the switch-on signal plays must not switch off.
        QTest::qWait(200);
        rig.during = [] { QTest::qSleep(100); };
        rig.form.btnIskljuciClick();
        QTest::qWait(20);
        rig.form.btnIskljuciClick();
        QVERIFY(rig.on);
    }

    void closeOrder()
    {
        // State, sound, and what follows the settings before the reminder.
        for (const QString row : {"counting 1 rts 0, beep 800 900, ", "on 0 rts 0, ", "off 1 "}) {
            Rig rig;
            rig.form.chkZvuk->setChecked(row.section(' ', 1, 1) == "1");
            if (row.startsWith("counting"))
                rig.start("30");
            if (row.startsWith("on"))
                rig.form.btnIskljuciClick();
            QCOMPARE(rig.journal.filter("beep ").isEmpty(), !row.contains("beep"));
            QCloseEvent again; // a second close request while the box is up changes nothing
            rig.during = [&] { QApplication::sendEvent(&rig.form, &again); };
            rig.journal.clear();
            QVERIFY(rig.form.close());
            QCOMPARE(rig.journal.mid(0, 5), rig.journal.filter("write ")); // the settings first
            QCOMPARE(rig.journal.mid(5).join(", "),
                     row.section(' ', 2) +
                         "warning Na kraju rada sa tajmerom - odspoj kabl od prekidackog modula.");
            QVERIFY(!again.isAccepted() && !rig.form.Timer1->isEnabled());
        }
    }

    // Started as `--child PERIOD`, this program is the timer itself (see main()).
    void signalEndsWithLoadOff()
    {
        const std::pair<int, QByteArray> cases[] = {{SIGTERM, ""}, {SIGINT, ""}, {SIGHUP, "30"}};
        for (const auto &[signalNumber, period] : cases) { // "": the load on without limit
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--child", period});
            QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 15000); // "ready"
            ::kill(pid_t(child.processId()), signalNumber);
            QVERIFY(child.waitForFinished(10000));
            QCOMPARE(child.exitCode(), 128 + signalNumber);
            QCOMPARE(child.readAll(), "ready\nrts 0\nwrite Zadato Vreme=" + period +
                                          "\nwrite Pamti Zadato Vreme=DA\nwrite Port=1\n"
                                          "write Pamti Port=DA\nwrite Zvuk=DA\n");
        }
    }

    void loadAndClose()
    {
        // Stored; boxes ticked, period, port shown, port opened, messages; stored after the close.
        const Values none = all("DA", "", "1"), da = all("DA", "120", "3");
        const Values ne = all("NE", "120", "3"); // unticked: period and port left as stored
        const std::tuple<Values, QString, Values> rows[] = {
            {{}, "3  1 1 0", none},
            {da, "3 120 3 3 0", da},
            {ne, "0  1 1 0", ne},
            {all("da", "120", "3"), "3  1 1 0", none},
            {{{"Pamti Port", "DA"}}, "3  1 1 1", none},
            {{{"Pamti Port", "DA"}, {"Port", "x"}}, "3  1 1 1", none}};
        for (const auto &[stored, shown, afterClose] : rows) {
            Rig rig(stored);
            Form1 *f = &rig.form;
            QString seen;
            QDebug(&seen).noquote() << f->Pamti_vreme->isChecked() + f->Pamti_port->isChecked() +
                                           f->chkZvuk->isChecked()
                                    << f->Zadato1->text() << f->PortCombo->currentText() << rig.port
                                    << rig.journal.count(kNoPort);
            QCOMPARE(seen.trimmed(), shown);
            QVERIFY(rig.journal.filter("write ").isEmpty() && !rig.on);
            QVERIFY(f->close());
            QCOMPARE(rig.values, afterClose);
        }
    }

    void iniFileAndUnwritableFile()
    {
        QTemporaryDir dir;
        IniSettingsStore store(dir.filePath("a.ini"));
        QVERIFY(!store.read("Port") && store.write("Port", "") && store.read("Port") == QString());

        // A folder as the file: nothing can be written; the close still switches off.
        IniSettingsStore broken(dir.path());
        Rig rig({}, &broken);
        rig.form.btnIskljuciClick();
        QVERIFY(rig.on && rig.form.close() && !rig.on);
        QCOMPARE(rig.journal.filter("warning ").size(), 1);
    }

    void portFallbackOnceAndTypedText()
    {
        Rig rig;
        for (const auto &missing : {QSet<int>{7}, QSet<int>{1, 7}}) {
            rig.missing = missing;
            rig.journal.clear();
            rig.form.PortCombo->setCurrentIndex(6); // "7"
            rig.form.portComboClick();
            const QString first = missing.contains(1) ? "open 1 failed" : "open 1"; // no loop
            QCOMPARE(rig.journal, (QStringList{"close", "open 7 failed", kNoPort, first}));
            QCOMPARE(rig.form.PortCombo->currentText(), QString("1"));
        }
        rig.form.btnIskljuciClick(); // no port to switch: the window says off
        QCOMPARE(rig.form.btnIskljuci->pictureName(), QString("lightoff"));

        // Typing alone selects nothing; the text is stored for the next start.
        rig.missing.clear();
        rig.form.portComboClick();
        QTest::keyClicks(rig.form.PortCombo->lineEdit(), "\b3");
        QCOMPARE(rig.port, 1);
        QVERIFY(rig.form.close());
        QCOMPARE(Rig(rig.values).port, 3);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestForm1 test;
    if (app.arguments().value(1) != "--child")
        return QTest::qExec(&test, argc, argv);
    Fakes fakes;
    const QString period = app.arguments().value(2);
    const int status = runTempral(app, {fakes, fakes, fakes, fakes}, [&](Form1 &form) {
        form.Zadato1->setText(period);
        period.isEmpty() ? form.btnIskljuciClick() : form.btnPokreniTClick();
        fakes.journal.clear();
        std::cout << "ready" << std::endl;
    });
    std::cout << qPrintable(fakes.journal.join('\n')) << std::endl;
    return status;
}

#include "tst_form1.moc"
