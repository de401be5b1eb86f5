// SPDX-License-Identifier: GPL-3.0-or-later
// The messenger as a desktop meets it: the guide panel beside the window
// (placement, both ways of closing it, F1), names for assistive
// tools, the real message boxes in Serbian.
#include "desktopchecks.h"
#include "offscreenscreen.h"
#include "widgets/clickablelabel.h"
#include "window/uputstvo.h"
#include "windowfixture.h"

#include <QtTest>

namespace
{

// A 1920 x 1080 screen in twips; outer sizes of the main window and the panel.
constexpr TwipSize Wide{28800, 16200};
constexpr float W = 7095 + 60, H = 8055 + 450, P = 5205 + 60;

QString show(const char *what, const TwipRect &r)
{
    return QString::asprintf("%s: %.2f,%.2f %.2fx%.2f", what, r.left, r.top, r.width, r.height);
}

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void helpPlacementOnAFakeScreen()
    {
        const float c = (Wide.width - W) / 2; // centred
        const auto row = [](const char *what, bool opens, float left, float top, TwipSize screen,
                            float toLeft, float toTop) {
            const TwipRect from{left, top, W, H}, to{toLeft, toTop, W, H};
            const HelpOpening o = placeHelpOpening(from, P, screen);
            QCOMPARE(show(what, opens ? o.main : placeHelpClosing(from, P, screen)),
                     show(what, to));
            if (opens)
                QCOMPARE(show(what, o.panel), show(what, {to.left + W, to.top, P, H}));
        };
        row("centred", true, c, 3000, Wide, c - P / 2, 3000);
        row("near the left edge", true, 1000, 3000, Wide, 50, 3000);
        row("at the left threshold", true, 1 + P / 2, 3000, Wide, 1, 3000);
        row("near the right edge", true, 20000, 3000, Wide, Wide.width - W - P - 50, 3000);
        row("narrower than both", true, 2460, 300, {12000, 9000}, 12000 - W - P - 50, 300);
        row("top above the screen", true, 10000, -400, Wide, 10000 - P / 2, 50);
        row("opening low stays low", true, 10000, 15000, Wide, 10000 - P / 2, 15000);
        row("top above, closing", false, 10000, 0.5f, Wide, 10000 + P / 2, 50);
        row("below the bottom", false, 10000, 9000, Wide, 10000 + P / 2, (Wide.height - H) / 2);
        row("just fits", false, 10000, Wide.height - H, Wide, 10000 + P / 2, Wide.height - H);
        row("past the right edge", false, 22000, 3000, Wide, Wide.width - W - 50, 3000);
        row("off the left stays", false, -5000, 3000, Wide, -5000 + P / 2, 3000);
    }

    void panelOpensBesideAndClosesBackWithTheGuide()
    {
        WindowFixture fx;
        frmNWCheck main(fx.net, fx.launcher, fx.boxes, {});
        const MainControls c(main);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QRect before = main.frameGeometry();
        QVERIFY(before.width() > main.width()); // the fake screen gives frames

        QTest::mouseClick(c.Pomoc, Qt::LeftButton);
        Uputstvo *panel = main.findChild<Uputstvo *>();
        QVERIFY(panel && QTest::qWaitForWindowExposed(panel));
        QCOMPARE(c.Pomoc->text(), "<< Kratko uputstvo");
        // Moved left by half the panel's outer width; the panel beside it.
        const QRect m = main.frameGeometry(), p = panel->frameGeometry();
        QCOMPARE(p.width(), 5205 / 15 + before.width() - main.width());
        QVERIFY(qAbs((before.left() - m.left()) * 2 - p.width()) <= 1);
        QCOMPARE(QList<int>({p.left(), p.top(), p.height()}),
                 QList<int>({m.right() + 1, m.top(), m.height()}));

        // The toggle destroys it and puts all back, 100 times without drift.
        QPointer<Uputstvo> gone = panel;
        for (int i = 0; i < 100; ++i) {
            QTest::mouseClick(c.Pomoc, Qt::LeftButton);
            QVERIFY(!main.findChild<Uputstvo *>() && gone.isNull());
            QCOMPARE(c.Pomoc->text(), Uputstvo::ClosedCaption);
            QCOMPARE(main.frameGeometry(), before);
            QTest::mouseClick(c.Pomoc, Qt::LeftButton);
            QCOMPARE(main.frameGeometry(), m);
            gone = main.findChild<Uputstvo *>();
        }

        // The window system's close request (its title bar) acts as the toggle.
        QVERIFY(QTest::qWaitForWindowExposed(gone));
        gone->windowHandle()->close();
        QTRY_VERIFY(gone.isNull());
        QCOMPARE(c.Pomoc->text(), "Kratko uputstvo >>");
        QCOMPARE(main.frameGeometry(), before);
        QTest::mouseClick(c.Pomoc, Qt::LeftButton);
        QCOMPARE(main.frameGeometry(), m);

        // Closing the main window ends the program with the guide gone and
        // nothing restored.
        gone = main.findChild<Uputstvo *>();
        QTimer::singleShot(0, &main, &QWidget::close);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(gone.isNull() && !main.isVisible());
        QCOMPARE(c.Pomoc->text(), Uputstvo::OpenCaption);
        QCOMPARE(main.frameGeometry(), m);
    }

    void theLinkAndClosingTheActiveGuideBringTheMainWindowBack()
    {
        WindowFixture fx;
        frmNWCheck &w = fx.make();
        const MainControls c(w);
        QVERIFY(fx.showActive());
        for (const bool byLink : {true, false}) {
            // A click on the link opens the guide, which takes the activation
            // (a window counts as active while a window it stands for is);
            // a press let go off the link does nothing.
            QTest::mouseClick(c.Pomoc, Qt::LeftButton);
            QPointer<Uputstvo> panel = w.findChild<Uputstvo *>();
            QTRY_COMPARE(QGuiApplication::focusWindow(), panel->windowHandle());
            QTest::mousePress(c.Pomoc, Qt::LeftButton);
            QTest::mouseRelease(c.Pomoc, Qt::LeftButton, {}, QPoint(-4, -4));
            QVERIFY(panel);
            // Closed while active, by the link or by its own close command:
            // the main window is active again, and its activate step has put
            // the focus into the name box.
            c.List1->setFocus();
            byLink ? QTest::mouseClick(c.Pomoc, Qt::LeftButton) : void(panel->close());
            QTRY_VERIFY(!panel);
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTRY_VERIFY(c.Manual->hasFocus());
        }
    }

    void everyControlIsNamedAndF1TogglesTheGuideFromEitherWindow()
    {
        WindowFixture fx;
        frmNWCheck &w = fx.make();
        const MainControls c(w);
        QVERIFY(fx.showActive());
        QCOMPARE(unnamedControls(&w).join("; "), QString());
        QTest::keyClick(c.Manual, Qt::Key_F1);
        QPointer<Uputstvo> guide = w.findChild<Uputstvo *>();
        QVERIFY(guide && guide->isVisible());
        QCOMPARE(c.Pomoc->text(), Uputstvo::OpenCaption);
        // The guide panel, and the main window beside it, for assistive tools.
        QCOMPARE(unnamedControls(guide).join("; ") + unnamedControls(&w).join("; "), QString());
        QVERIFY(QTest::qWaitForWindowExposed(guide));
        QTest::keyClick(guide, Qt::Key_F1);
        QTRY_VERIFY(!guide);
        QCOMPARE(c.Pomoc->text(), Uputstvo::ClosedCaption);
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
};

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    if (!useFramedOffscreenScreen(dir.path()))
        return 2;
    QApplication app(argc, argv);
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
