// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and the windows as first seen: the screenshots in docs/, plus the
// layout's rules (nothing overlaps, captions fit under a wider font, tab
// order); the tree's pictures, the control files, "/H", showing and
// activating. On a screen whose windows have frames: the guide panel beside
// the window, F1, names for assistive tools, the real message boxes.
#include "desktopchecks.h"
#include "offscreenscreen.h"
#include "pictures.h"
#include "widgets/clickablelabel.h"
#include "widgets/fonts.h"
#include "widgets/imagelist.h"
#include "widgets/linemark.h"
#include "window/controlfiles.h"
#include "window/uputstvo.h"
#include "windowfixture.h"
#include "windowpicture.h"

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

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void looksAsTheScreenshots()
    {
        // After a deliberate change of the look, draw the pictures anew:
        //   cmake --build build --target bench_shots && build/bench/shots/bench_shots
        QMap<QString, QImage> pictures = messengerPictures();
        pictures.insert(popupPictures());
        QCOMPARE(pictures.keys(), QDir(VESNAL_DOCS).entryList({"vesnal-*.png"}));
        for (auto p = pictures.cbegin(); p != pictures.cend(); ++p)
            QCOMPARE(pictureDifference(p.value(), VESNAL_DOCS "/" + p.key()), QString());
    }

    void controlsApartCaptionsWholeUnderAWiderFont()
    {
        // DejaVu Sans, wider than the faces asked for, stands in where those
        // are missing.
        layoutFont("Tahoma", 8); // the window's own substitutes, put back after
        const QStringList tahoma = QFont::substitutes("Tahoma");
        const auto restore = qScopeGuard([&tahoma] {
            for (const char *face : {"Arial", "Tahoma"})
                QFont::removeSubstitutions(face);
            QFont::insertSubstitutions("Tahoma", tahoma);
        });
        for (const char *face : {"Arial", "Tahoma"}) {
            QFont::removeSubstitutions(face);
            QFont::insertSubstitution(face, "DejaVu Sans");
        }
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(f.controls().Total->isReadOnly() && !w.windowIcon().isNull());

        // Controls meet at most in a strip of two pixels, as the layout's
        // twips round; the line mark is drawn over the about line.
        QCOMPARE(overlappingControls(
                     &w, [](const QWidget *c) { return dynamic_cast<const LineMark *>(c); }, 2),
                 QString());

        // Every label shows whole, the longest length too.
        for (const QLabel *label : w.findChildren<QLabel *>()) {
            QCOMPARE(QFontInfo(label->font()).family(), "DejaVu Sans");
            const QString text =
                label->objectName() == "Length" ? "Dužina poruke: 896" : label->text();
            const QRect box = label->contentsRect();
            const QRectF drawn =
                QFontMetricsF(label->font())
                    .boundingRect(box, int(label->alignment()) | Qt::TextWordWrap, text);
            QVERIFY2(box.contains(drawn.toAlignedRect()), qPrintable(label->objectName()));
        }
    }

    void everyPictureOfTheTreeIsDrawn()
    {
        ImageList images;
        images.load();
        for (const QString &key : ImageList::keys()) {
            const QImage picture = images.icon(key).pixmap(16, 16).toImage();
            int drawn = 0;
            for (int i = 0; i < 256; ++i)
                drawn += qAlpha(picture.pixel(i % 16, i / 16)) > 0;
            QVERIFY2(drawn > 16, qPrintable(key));
        }
    }

    void controlFilesAreCopiedOnlyWhenMissing()
    {
        QTemporaryDir program, system;
        const QString old = system.filePath("mscomctl.ocx");
        for (const QString &path :
             {program.filePath("mscomctl.ocx"), old, program.filePath("RICHTX32.OCX")}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(path.toUtf8()) > 0);
        }
        ControlFiles::copyMissing(program.path(), system.path());
        QFile kept(old);
        QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == old.toUtf8()); // kept
        QVERIFY(QFile::exists(system.filePath("RICHTX32.OCX")));
    }

    void slashHMinimisesAfterThePassesOnEveryActivation()
    {
        const QList<QPair<QStringList, bool>> cases = {
            {{"/h"}, true}, {{"/H"}, true}, {{"/H", "x"}, false}, {{"/HX"}, false}, {{}, false}};
        for (const auto &[args, minimised] : cases) {
            WindowFixture f;
            frmNWCheck &w = f.make(args, false);
            w.show();
            QVERIFY(!w.isMinimized());
            w.Form_Activate();
            QCOMPARE(bool(w.windowState() & Qt::WindowMinimized), minimised);
            QCOMPARE(f.state("RADNAGRUPA"), "Y:PC-01,PC-02");
            w.setWindowState(Qt::WindowNoState);
            w.Form_Activate();
            QCOMPARE(bool(w.windowState() & Qt::WindowMinimized), minimised);
        }
    }

    void showingLoadsAndActivatesOnceThenTheAboutLineGoes()
    {
        WindowFixture f;
        f.window = std::make_unique<frmNWCheck>(f.net, f.launcher, f.boxes, QStringList());
        frmNWCheck &w = *f.window;
        QVERIFY(f.showActive());
        QTRY_COMPARE(f.state("RADNAGRUPA"), "Y:PC-01,PC-02");
        const MainControls c(w);
        QTRY_VERIFY(c.Manual->hasFocus());
        w.Form_Load(); // a second load adds nothing
        QCOMPARE(c.nodes.rowCount(), 1);
        QCOMPARE(f.net.listings(""), 1);
        QVERIFY(c.Label2->isVisible() && c.Line1->isVisible());
        QTest::qWait(4700);
        QVERIFY(c.Label2->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!c.Label2->isVisible() && !c.Line1->isVisible(), 1500);
        QVERIFY(!c.Timer1->isActive());
    }

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

        // Closing the main window ends the program with the guide gone and
        // nothing restored.
        QTimer::singleShot(0, &main, &QWidget::close);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(gone.isNull() && !main.isVisible());
        QCOMPARE(c.Pomoc->text(), Uputstvo::OpenCaption);
        QCOMPARE(main.frameGeometry(), m);
    }

    void tabOrderToolTipsTheGuideByLinkAndF1AndNames()
    {
        WindowFixture fx;
        frmNWCheck &w = fx.make();
        const MainControls c(w);
        QVERIFY(fx.showActive());
        const QRect before = w.frameGeometry();
        QTRY_VERIFY(c.Manual->hasFocus()); // put there by the activation
        QStringList order;                 // and every control has a tool tip
        do {
            QWidget *at = QApplication::focusWidget();
            order << at->objectName() + (at->toolTip().isEmpty() ? " (no tool tip)" : "");
            QTest::keyClick(at, Qt::Key_Tab);
        } while (!c.Manual->hasFocus() && order.size() < 20);
        QCOMPARE(order.join(' '), "Manual RichTextBox1 Send ResetList AddItem ToAll RemoveItem "
                                  "ToLocalGroup tvwNetwork List1 ResetMessage");
        QVERIFY(!c.Total->toolTip().isEmpty());
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
            // Closed while active, by the link or by its own close (as from
            // its title bar): all put back, the main window active again, and
            // its activate step has put the focus into the name box.
            c.List1->setFocus();
            byLink ? QTest::mouseClick(c.Pomoc, Qt::LeftButton) : void(panel->close());
            QTRY_VERIFY(!panel);
            QCOMPARE(c.Pomoc->text(), Uputstvo::ClosedCaption);
            QCOMPARE(w.frameGeometry(), before);
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTRY_VERIFY(c.Manual->hasFocus());
        }
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

    void realQuestionsAnswerInSerbian()
    {
        // (A report's "U redu" shows in docs/vesnal-report.png.)
        QtMessageBoxes boxes;
        QString seen;
        whenBoxOpens([&seen](QMessageBox *box) {
            seen =
                box->button(QMessageBox::Yes)->text() + '|' + box->button(QMessageBox::No)->text();
            box->button(QMessageBox::No)->click();
        });
        QVERIFY(!boxes.confirm(nullptr, QStringLiteral("Svima?")));
        QCOMPARE(seen, "Da|Ne");
        // Enter takes the default answer.
        whenBoxOpens([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
        QVERIFY(boxes.confirm(nullptr, QStringLiteral("Svima?")));
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    if (!useFramedOffscreenScreen(dir.path()))
        return 2;
    QApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
