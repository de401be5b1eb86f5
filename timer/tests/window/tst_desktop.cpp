// SPDX-License-Identifier: GPL-3.0-or-later
// The timer as a desktop meets it: names for assistive tools, the labels as
// the captions of their boxes, the real message boxes in Serbian, the window
// system in a Wayland session.
#include "desktopchecks.h"
#include "fakes.h"
#include "platform/linux/windowsystem.h"

struct DesktopTest : QObject {
    Q_OBJECT
private slots:
    void everyControlHasASpeakableName()
    {
        Rig rig;
        QCOMPARE(unnamedControls(&rig.form).join("; "), QString());
    }

    void aClickOnALabelTicksItsBox()
    {
        Rig rig;
        Form1 &f = rig.form;
        const std::pair<QLabel *, QCheckBox *> captions[] = {
            {f.Label5, f.Pamti_vreme}, {f.Label6, f.Pamti_port}, {f.Label7, f.chkZvuk}};
        for (const auto &[label, box] : captions) {
            const bool before = box->isChecked();
            QTest::mouseClick(label, Qt::LeftButton);
            QVERIFY2(box->isChecked() != before, qPrintable(label->objectName()));
            QTest::mouseClick(label, Qt::LeftButton);
            QVERIFY2(box->isChecked() == before, qPrintable(label->objectName()));
            // Not the right button, and not when the box is disabled.
            QTest::mouseClick(label, Qt::RightButton);
            box->setEnabled(false);
            QTest::mouseClick(label, Qt::LeftButton);
            box->setEnabled(true);
            QVERIFY2(box->isChecked() == before, qPrintable(label->objectName()));
        }
        // The other labels click nothing.
        const bool zvuk = f.chkZvuk->isChecked();
        QTest::mouseClick(f.Label3, Qt::LeftButton);
        QCOMPARE(f.chkZvuk->isChecked(), zvuk);
    }

    void realBoxesAnswerInSerbian()
    {
        QtMessageBoxes boxes;
        QStringList seen;
        const auto look = [&seen](QMessageBox *box) {
            seen << QString::number(box->icon()) + " " + buttonTexts(box).join('|');
            QTest::keyClick(box, Qt::Key_Return);
        };
        whenBoxOpens(look);
        boxes.critical(nullptr, "Tempral v0.5",
                       "Ne postoji slobodan serijski port pod tim brojem.");
        whenBoxOpens(look);
        boxes.warning(nullptr, "Tempral v0.5", "Iskljuci modul.");
        QCOMPARE(seen, (QStringList{QString::number(QMessageBox::Critical) + " U redu",
                                    QString::number(QMessageBox::Warning) + " U redu"}));
    }

    void x11FirstInAWaylandSessionUnlessChosen()
    {
        QCOMPARE(wrongWindowSystems<Session>(preferredQtPlatform).join("; "), QString());
    }
};

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
