// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a desktop meets it: drawn the same as the screenshots in
// docs/, the rules of its layout that hold whatever the pictures show, names
// for assistive tools, labels as the captions of their boxes, the real
// message boxes.
#include "desktopchecks.h"
#include "shots.h"
#include "windowpicture.h"

struct TestForm1Layout : QObject {
    Q_OBJECT
private slots:
    void looksAsTheScreenshots()
    {
        // After a deliberate change of the look, draw the pictures anew:
        //   cmake --build build --target tempral_screenshots
        //   build/bench/timer/tempral_screenshots docs
        const QMap<QString, QImage> shots = tempralShots();
        for (auto shot = shots.begin(); shot != shots.end(); ++shot)
            QCOMPARE(pictureDifference(shot.value(), TEMPRAL_DOCS "/" + shot.key()), QString());
    }

    void controlsApartCaptionsWholeTabOrderNames()
    {
        // As created, the window carries the caption and icon it shows when
        // stopped, and it keeps its size.
        Fakes fakes;
        const Form1 created(fakes, fakes, fakes, fakes);
        Rig rig;
        QCOMPARE(created.windowTitle() + " " + created.iconName(),
                 rig.form.windowTitle() + " " + rig.form.iconName());
        QCOMPARE(rig.form.minimumSize(), rig.form.maximumSize());

        // Frames surround controls as they are meant to.
        QCOMPARE(
            overlappingControls(
                &rig.form, [](const QWidget *c) { return qobject_cast<const OutlineShape *>(c); }),
            QString());

        // Every caption shows whole, the longest minutes and both switch
        // captions too.
        const auto fits = [](const QFont &font, const QRect &box, int flags, const QString &text) {
            return QRectF(box).contains(QFontMetricsF(font).boundingRect(QRectF(box), flags, text));
        };
        for (QLabel *l : rig.form.findChildren<QLabel *>()) {
            const QString text = l == rig.Minuta ? "= 59 min. 59 s" : l->text();
            const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
            QVERIFY2(fits(l->font(), l->contentsRect(), flags, text), qPrintable(l->objectName()));
        }
        for (const char *caption :
             {"Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.",
              "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio."}) {
            rig.btnIskljuci->setText(caption);
            QVERIFY(fits(rig.btnIskljuci->captionFont(), rig.btnIskljuci->captionRect(),
                         Qt::AlignHCenter | Qt::TextWordWrap, caption));
        }

        // Tab order; labels, frames and the display-only Ostalo1 are left out.
        QStringList order;
        QWidget *w = rig.Zadato1;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == &rig.form)
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != rig.Zadato1);
        QCOMPARE(order.join(' '), QString("Zadato1 PortCombo Pamti_vreme Pamti_port btnIskljuci "
                                          "btnPokreniT chkZvuk"));
        QCOMPARE(unnamedControls(&rig.form).join("; "), QString());
    }

    void aLeftClickOnALabelTicksItsEnabledBox()
    {
        Rig rig;
        const std::pair<const char *, QCheckBox *> captions[] = {
            {"Label5", rig.Pamti_vreme}, {"Label6", rig.Pamti_port}, {"Label7", rig.chkZvuk}};
        for (const auto &[name, box] : captions) {
            QLabel *label = rig.get<QLabel>(name);
            QString seen;
            for (const QString click : {"left", "left", "right", "left while disabled"}) {
                box->setEnabled(click != "left while disabled");
                QTest::mouseClick(label, click == "right" ? Qt::RightButton : Qt::LeftButton);
                box->setEnabled(true);
                seen += box->isChecked() ? "1" : "0";
            }
            QCOMPARE(seen, QString("0111")); // all ticked at first
        }
    }

    void realBoxesCarryTitleIconAndSerbianButton()
    {
        QStringList seen; // icons: 3 critical, 2 warning
        for (const bool critical : {true, false}) {
            whenBoxOpens([&seen](QMessageBox *box) {
                seen << QString::number(box->icon()) + " " + box->windowTitle() + ": " +
                            box->text() + " [" + box->buttons().value(0)->text() + "]";
                QTest::keyClick(box, Qt::Key_Return);
            });
            critical ? QtMessageBoxes().critical(nullptr, "T", "a")
                     : QtMessageBoxes().warning(nullptr, "T", "b");
        }
        QCOMPARE(seen, (QStringList{"3 T: a [U redu]", "2 T: b [U redu]"}));
    }
};

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
