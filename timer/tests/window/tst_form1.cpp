// SPDX-License-Identifier: GPL-3.0-or-later
// The timer on the fakes: countdown, switching, closing, captions,
// remembered settings, the port choice, and the tick timing.
#include "fakes.h"
#include "platform/linux/inisettingsstore.h"

static const char kOn[] = "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio.";
static const char kOff[] = "Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio.";
static const QString kNoPort =
    "critical Tempral v0.5: Ne postoji slobodan serijski port pod tim brojem.";
static const QString kStopped = "lightoff appicon 0 #ffffff Zadato1 btnPokreniT PortCombo";

struct TestForm1 : QObject {
    Q_OBJECT
private slots:
    void periodLimitsOneSecondAndCaptions()
    {
        // A refused period empties Ostalo1 and hands the focus back for a new one.
        for (const QString text : {"3600", "3601", "0", "", "x12"}) {
            Rig rig;
            rig.Ostalo1->setText("17");
            rig.btnPokreniT->setFocus();
            rig.start(text);
            QCOMPARE(rig.look() + (QApplication::focusWidget() == rig.Zadato1 ? " focus" : ""),
                     text == "3600"
                         ? "lighton appicon 3600 #ffffff Shape3 Shape4 Minuta bold Timer1"
                         : "lightoff appicon  #ffffff Zadato1 btnPokreniT PortCombo focus");
        }
        Rig rig;
        rig.start("1");
        QCOMPARE(rig.journal.mid(rig.journal.indexOf("rts 1")).join(", "),
                 "rts 1, beep 800 95, sleep 300, beep 1000 95, sleep 300, beep 1200 95");
        QCOMPARE(rig.look(), "lighton appicon 1 #ffff00 Shape3 Shape4 Minuta bold Timer1");
        rig.journal.clear();
        rig.tick();
        QCOMPARE(rig.journal, (QStringList{"rts 0", "beep 800 900"}));
        QCOMPARE(rig.look(), kStopped);
        QCOMPARE(QApplication::focusWidget(), rig.Zadato1);
    }

    void minutesCaptionBlinkAndMinimised()
    {
        Rig rig;
        QWidget other; // the timer in the background
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        rig.start("126");
        QStringList minutes, titles; // after each tick; "-": Minuta hidden
        while (rig.Timer1->isEnabled()) {
            if (rig.Ostalo1->text() == "30") { // to the foreground
                rig.form.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&rig.form));
                QCoreApplication::processEvents(); // what the activation set going
            }
            rig.tick();
            minutes << (rig.Minuta->isVisible() ? rig.Minuta->text() : "-");
            titles << rig.form.windowTitle();
        }
        QCOMPARE(minutes.mid(0, 2), (QStringList{"= 2 min. 5 s", "= 2 min. 4 s"}));
        QCOMPARE(minutes[65], QString("= 1 min. 0 s")); // 60 s left
        QCOMPARE(minutes.mid(66), QStringList(60, "-"));
        QCOMPARE(titles[0] + " | " + titles[80] + " | " + titles[100],
                 "= 2 min. 5 s | = 45 s | Tempral v0.5");
        // Only the first activation opens the port: the load stayed on.
        QCOMPARE(rig.journal.filter("rts "), (QStringList{"rts 1", "rts 0"}));

        rig.start("0005");
        QStringList seen; // icon, Ostalo1, its colour, frame style
        for (int i = 0; i < 5; ++i, rig.tick())
            seen << rig.look().section(' ', 1, 3) + " " +
                        QString::number(rig.Shape3->borderStyle());
        QCOMPARE(seen.join(", "), "appicon 0005 #ffff00 1, appicon 4 #ffffff 2, redtimer 3 "
                                  "#ffff00 5, appicon 2 #ffffff 4, redtimer 1 #ffff00 3");
        QVERIFY(!rig.on);

        rig.start("2");
        rig.form.showMinimized();
        rig.tick();
        rig.tick();
        QVERIFY(!rig.form.isMinimized() && !rig.on); // the end restores the window
    }

    void keyFilterAndFocus()
    {
        Rig rig;
        QLineEdit *z = rig.Zadato1;
        QApplication::clipboard()->setText("99");
        QTest::keyClicks(z, "1a-.2 \r\b");
        QTest::keyClick(z, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(z, "23456");
        QTest::keyClick(z, Qt::Key_Left);
        QTest::keyClick(z, Qt::Key_Delete);
        QCOMPARE(z->text(), QString("123")); // no letters, no paste, at most four
        rig.btnIskljuci->setFocus();
        QTest::mouseClick(rig.Ostalo1, Qt::LeftButton); // passes the focus on
        QCOMPARE(QApplication::focusWidget(), z);

        // A stored period comes in whole (loadAndClose); typing only
        // shortens it, down to four characters.
        Rig stored({{"Pamti Zadato Vreme", "DA"}, {"Zadato Vreme", "12345"}});
        z = stored.Zadato1;
        z->setFocus();
        QTest::keyClicks(z, "6\b5");
        QCOMPARE(z->text(), QString("1234"));
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
        // A pasted period keeps its fraction in the figure, and the count
        // ends after the ticks its whole value holds, the figure left over.
        Rig rig;
        rig.start("1.5");
        rig.tick();
        rig.tick();
        QCOMPARE(rig.look(), "lightoff appicon -0.5 #ffffff Zadato1 btnPokreniT PortCombo");
        rig.during = [&] {
            rig.journal << rig.btnIskljuci->text();
        }; // the caption during each tone
        rig.journal.clear();
        rig.btnIskljuci->click();
        QCOMPARE(
            rig.journal.mid(rig.journal.indexOf("rts 1")),
            (QStringList{"rts 1", "beep 1200 400", kOn, "sleep 150", kOn, "beep 1200 400", kOn}));
        QCOMPARE(rig.look(), "lighton redtimer 0 #ffffff Zadato1 btnPokreniT Shape3");

        // A start while the load is on keeps it on without a break.
        rig.journal.clear();
        rig.start("125");
        QCOMPARE(rig.journal.filter("rts "), QStringList());
        QVERIFY(rig.on && rig.Timer1->isEnabled());

        // On the guard's clock a press 100 ms after the accepted one only
        // moves the focus (via Ostalo1); one 200 ms after it switches off.
        const auto pressAfter = [&](qint64 ms) {
            rig.now += ms;
            rig.Timer2->wake(); // as the guard's own wake-up would
            rig.journal.clear();
            rig.btnIskljuci->click();
            return rig.journal.join(", ");
        };
        QCOMPARE(pressAfter(100), QString());
        QCOMPARE(QApplication::focusWidget(), rig.Pamti_vreme);
        QCOMPARE(pressAfter(100), QString("rts 0, beep 800 900, ") + kOff);
        QCOMPARE(rig.look(), kStopped);

        // A press queued while the switch-on signal plays (each tone and
        // pause 100 ms) must not switch off, even when the overdue guard
        // wake-up is taken before it.
        rig.during = [&] { rig.now += 100; };
        QVERIFY(pressAfter(800).startsWith("rts 1"));
        QCOMPARE(pressAfter(0), QString());
        QVERIFY(rig.on);

        // A switch-off that the line refuses leaves the count running, on
        // from the 0 it shows.
        rig.start("30");
        rig.stuck = {1};
        QVERIFY(pressAfter(1000).startsWith("rts 0 failed, beep 1200 400"));
        rig.tick();
        QCOMPARE(rig.look(), "lighton appicon -1 #ffffff Shape3 Shape4 bold Timer1");
    }

    void closeOrder()
    {
        // State, sound, and what follows the settings before the reminder.
        for (const QString row : {"counting 1 rts 0, beep 800 900, ", "on 0 rts 0, ", "off 1 "}) {
            Rig rig;
            rig.chkZvuk->setChecked(row.section(' ', 1, 1) == "1");
            if (row.startsWith("counting"))
                rig.start("30");
            if (row.startsWith("on"))
                rig.btnIskljuci->click();
            QCOMPARE(rig.journal.filter("beep ").isEmpty(), !row.contains("beep"));
            QCloseEvent again; // a second close request while the box is up changes nothing
            rig.during = [&] { QApplication::sendEvent(&rig.form, &again); };
            rig.journal.clear();
            QVERIFY(rig.form.close());
            QCOMPARE(rig.journal.mid(0, 5), rig.journal.filter("write ")); // the settings first
            QCOMPARE(rig.journal.mid(5).join(", "),
                     row.section(' ', 2) + "warning Tempral v0.5: Na kraju rada sa tajmerom - "
                                           "odspoj kabl od prekidackog modula.");
            QVERIFY(!again.isAccepted() && !rig.Timer1->isEnabled());
        }

        // Ended by a signal: load off, settings stored, and no handler
        // switches the load on again.
        Rig rig;
        rig.btnIskljuci->click();
        rig.journal.clear();
        rig.form.endBySignal();
        rig.now += 1000; // the guard over
        rig.Timer2->wake();
        rig.btnIskljuci->click();
        rig.start("5");
        QCOMPARE(rig.journal.join(", "), "rts 0, write Zadato Vreme=, write Pamti Zadato Vreme=DA, "
                                         "write Port=1, write Pamti Port=DA, write Zvuk=DA");
    }

    void loadAndClose()
    {
        // The five settings ("-": not there) before; the boxes ticked (period,
        // port, sound), Zadato1, the port shown and opened, port messages; the
        // settings after the close. Rows whose flags differ catch one value
        // read or written under another's name.
        const QString rows[][3] = {{"- - - - -", "111  1 1 0", "DA  DA 1 DA"},
                                   {"DA 120 DA 3 DA", "111 120 3 3 0", "DA 120 DA 3 DA"},
                                   {"NE 120 NE 3 NE", "000  1 1 0", "NE 120 NE 3 NE"},
                                   {"da 120 da 3 da", "111  1 1 0", "DA  DA 1 DA"},
                                   {"- - DA x -", "111  1 1 1", "DA  DA 1 DA"},
                                   {"DA 120 NE 3 NE", "100 120 1 1 0", "DA 120 NE 3 NE"},
                                   {"NE 120 DA 3 DA", "011  3 3 0", "NE 120 DA 3 DA"},
                                   {"DA 120 NE 3 DA", "101 120 1 1 0", "DA 120 NE 3 DA"},
                                   {"DA 12345 DA 3 DA", "111 12345 3 3 0", "DA 12345 DA 3 DA"}};
        const QStringList names{"Pamti Zadato Vreme", "Zadato Vreme", "Pamti Port", "Port", "Zvuk"};
        for (const auto &[before, shown, after] : rows) {
            Values stored;
            for (int i = 0; i < 5; ++i)
                if (before.section(' ', i, i) != "-")
                    stored[names[i]] = before.section(' ', i, i);
            Rig rig(stored);
            const Rig &f = rig;
            const auto ticked = [](const QCheckBox *box) { return box->isChecked() ? "1" : "0"; };
            QCOMPARE(QString(ticked(f.Pamti_vreme)) + ticked(f.Pamti_port) + ticked(f.chkZvuk) +
                         " " + f.Zadato1->text() + " " + f.PortCombo->currentText() + " " +
                         QString::number(rig.port) + " " +
                         QString::number(rig.journal.count(kNoPort)),
                     shown);
            QVERIFY(rig.journal.filter("write ").isEmpty() && !rig.on);
            QVERIFY(rig.form.close());
            QStringList written; // and nothing under another name
            for (const QString &name : names)
                written << (rig.values.contains(name) ? rig.values.take(name) : "-");
            QCOMPARE(written.join(' ') + QStringList(rig.values.keys()).join(", "), after);
        }
    }

    void unwritableSettingsFile()
    {
        // A folder as the file: nothing can be written; the close still switches off.
        QTemporaryDir dir;
        IniSettingsStore broken(dir.path());
        Rig rig({}, &broken);
        rig.btnIskljuci->click();
        QVERIFY(rig.on && rig.form.close() && !rig.on);
        QCOMPARE(rig.journal.filter("warning ").size(), 1);
    }

    void portFallbackOnceAndTypedText()
    {
        // A port that does not open, or whose RTS stays up after opening, gives
        // the message and the fallback to port 1, once even when port 1 fails.
        Rig rig;
        const std::tuple<QSet<int>, QSet<int>, QString> rows[] = {
            {{7}, {}, "close, open 7 failed, !, open 1"},
            {{}, {7}, "close, open 7, rts 0 failed, close, !, open 1"},
            {{}, {1, 7}, "close, open 7, rts 0 failed, close, !, open 1, rts 0 failed, close"},
            {{1, 7}, {}, "open 7 failed, !, open 1 failed"}};
        for (const auto &[missing, stuck, journal] : rows) {
            rig.missing = missing;
            rig.stuck = stuck;
            rig.journal.clear();
            rig.PortCombo->setCurrentIndex(6); // "7" chosen
            emit rig.PortCombo->activated(6);
            QCOMPARE(rig.journal.join(", "), QString(journal).replace("!", kNoPort));
            QCOMPARE(rig.PortCombo->currentText(), QString("1"));
        }
        rig.btnIskljuci->click(); // no port to switch: the window says off
        QCOMPARE(rig.btnIskljuci->pictureName(), QString("lightoff"));

        // A choice in the list selects the port (the wheel too, while the box
        // has the focus); the wheel over the box without the focus, typing,
        // Enter and leaving the field do not, and what was typed is stored
        // for the next start.
        rig.missing.clear();
        rig.stuck.clear();
        QComboBox *combo = rig.PortCombo;
        QStringList opened; // after a turn of the wheel with the focus elsewhere, then on the box
        for (QWidget *focus : std::initializer_list<QWidget *>{rig.Zadato1, combo}) {
            focus->setFocus();
            QWheelEvent wheel({}, {}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(combo, &wheel);
            opened << QString::number(rig.port);
        }
        QCOMPARE(opened.join(' '), QString("0 2"));
        // Qt gives a box the focus by the wheel before the box sees it, if it takes it so.
        QVERIFY((combo->focusPolicy() & Qt::WheelFocus) != Qt::WheelFocus);
        combo->showPopup();
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Enter);
        QCOMPARE(rig.port, 3);
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(3, 0)).center());
        QCOMPARE(rig.port, 4);
        QCOMPARE(combo->itemText(0) + '-' + combo->itemText(combo->count() - 1), "1-8");
        rig.journal.clear();
        combo->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), "\b3");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Enter);
        rig.Zadato1->setFocus();
        QCOMPARE(rig.journal, QStringList());
        QCOMPARE(combo->currentText(), QString("3"));
        QVERIFY(rig.form.close());
        QCOMPARE(Rig(rig.values).port, 3);
    }

    void enterAndSpacePressTheFocusedButton()
    {
        // Once per press: the repeats of a key held down do not press again.
        Rig rig;
        for (PictureButton *button : {rig.btnIskljuci, rig.btnPokreniT})
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
                button->setFocus();
                QSignalSpy pressed(button, &QPushButton::clicked);
                for (const auto &[type, repeat] : {std::pair{QEvent::KeyPress, false},
                                                   {QEvent::KeyRelease, true},
                                                   {QEvent::KeyPress, true},
                                                   {QEvent::KeyRelease, false}}) {
                    QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
                    QApplication::sendEvent(button, &event);
                }
                QVERIFY2(pressed.count() == 1,
                         qPrintable(button->objectName() + " " + QKeySequence(key).toString()));
            }
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
