// SPDX-License-Identifier: GPL-3.0-or-later
// The timer as a desktop meets it: names for assistive tools, the labels as
// the captions of their boxes, the real message boxes.
#include "desktopchecks.h"
#include "fakes.h"

struct DesktopTest : QObject {
    Q_OBJECT
private slots:
    void everyControlHasASpeakableName()
    {
        Rig rig;
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
        QtMessageBoxes boxes;
        QStringList seen;
        const auto look = [&seen](QMessageBox *box) {
            seen << QString::number(box->icon()) + " " + box->windowTitle() + ": " + box->text() +
                        " [" + buttonTexts(box).join('|') + "]";
            QTest::keyClick(box, Qt::Key_Return);
        };
        whenBoxOpens(look);
        boxes.critical(nullptr, "Tempral v0.5", "a");
        whenBoxOpens(look);
        boxes.warning(nullptr, "Tempral v0.5", "b");
        // Icons: 3 critical, 2 warning.
        QCOMPARE(seen, (QStringList{"3 Tempral v0.5: a [U redu]", "2 Tempral v0.5: b [U redu]"}));
    }
};

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
