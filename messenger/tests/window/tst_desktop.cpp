// SPDX-License-Identifier: GPL-3.0-or-later
// The messenger as a desktop meets it: names for assistive tools, F1 for the
// guide, the real message boxes in Serbian, the window system in a Wayland
// session.
#include "desktopchecks.h"
#include "platform/linux/windowsystem.h"
#include "widgets/clickablelabel.h"
#include "window/uputstvo.h"
#include "windowfixture.h"

#include <QtTest>

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void everyControlHasASpeakableName()
    {
        WindowFixture fx;
        frmNWCheck &w = fx.make();
        QVERIFY(fx.showActive());
        QCOMPARE(unnamedControls(&w).join("; "), QString());
        // The guide panel, and the main window beside it.
        w.Pomoc_Click();
        auto *guide = w.findChild<Uputstvo *>();
        QVERIFY(guide && guide->isVisible());
        QCOMPARE(unnamedControls(guide).join("; "), QString());
        QCOMPARE(unnamedControls(&w).join("; "), QString());
    }

    void f1OpensAndClosesTheGuideFromEitherWindow()
    {
        WindowFixture fx;
        frmNWCheck &w = fx.make();
        QVERIFY(fx.showActive());
        QTest::keyClick(w.Manual, Qt::Key_F1);
        auto *guide = w.findChild<Uputstvo *>();
        QVERIFY(guide && guide->isVisible());
        QCOMPARE(w.Pomoc->text(), Uputstvo::OpenCaption);
        QVERIFY(QTest::qWaitForWindowExposed(guide));
        QPointer<Uputstvo> closing(guide);
        QTest::keyClick(guide, Qt::Key_F1);
        QTRY_VERIFY(!closing);
        QCOMPARE(w.Pomoc->text(), Uputstvo::ClosedCaption);
        // While a box waits for an answer, F1 does not reach the window.
        whenBoxOpens([&w](QMessageBox *box) {
            QTest::keyClick(box, Qt::Key_F1);
            QVERIFY(!w.findChild<Uputstvo *>());
            box->reject();
        });
        QtMessageBoxes().report(&w, MessageBoxes::Icon::None, QStringLiteral("x"));
        QVERIFY(!w.findChild<Uputstvo *>());
    }

    void realBoxesAnswerInSerbian()
    {
        QtMessageBoxes boxes;
        QStringList seen;
        whenBoxOpens([&seen](QMessageBox *box) {
            seen << buttonTexts(box).join('|') << box->defaultButton()->text();
            box->button(QMessageBox::No)->click();
        });
        QVERIFY(!boxes.confirm(nullptr, QStringLiteral("Svima?")));
        // Enter takes the default answer.
        whenBoxOpens([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
        QVERIFY(boxes.confirm(nullptr, QStringLiteral("Svima?")));
        whenBoxOpens([&seen](QMessageBox *box) {
            seen << buttonTexts(box).join('|');
            box->button(QMessageBox::Ok)->click();
        });
        boxes.report(nullptr, MessageBoxes::Icon::Critical, QStringLiteral("Nema primalaca."));
        QCOMPARE(seen, (QStringList{"Da|Ne", "Da", "U redu"}));
    }

    void x11FirstInAWaylandSessionUnlessChosen()
    {
        QCOMPARE(wrongWindowSystems<Session>(preferredQtPlatform).join("; "), QString());
    }
};

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
