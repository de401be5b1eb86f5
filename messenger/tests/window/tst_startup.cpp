// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and the windows as the user first sees them: the same as the
// screenshots in docs/, and the rules of the main window's layout that hold
// whatever the pictures show (nothing overlaps, every caption fits under a
// wider font, the tab order, the tool tips); the tree's pictures, the
// control-file copy rule, the "/H" switch, and what showing and activating
// the window do.
#include "widgets/fonts.h"
#include "widgets/imagelist.h"
#include "widgets/linemark.h"
#include "window/controlfiles.h"
#include "windowfixture.h"
#include "windowpicture.h"

#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void looksAsTheScreenshots()
    {
        // The programs that draw the pictures of docs/ draw them again here.
        // After a deliberate change of the look, run them without an argument
        // to draw docs/ anew (bench/README.md).
        QTemporaryDir dir;
        for (const char *program : {VESNAL_SHOTS, VESNAL_POPUP_SHOT}) {
            QProcess shots;
            shots.start(program, {dir.path()});
            QVERIFY2(shots.waitForFinished(30000) && shots.exitCode() == 0, program);
        }
        for (const QString &name : QDir(VESNAL_DOCS).entryList({"vesnal-*.png"}))
            QCOMPARE(pictureDifference(QImage(dir.filePath(name)), VESNAL_DOCS "/" + name),
                     QString());
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
        QCOMPARE(w.windowTitle(), "Vesnal for Windows 2000 & XP  v1.15ß");
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(f.controls().Total->isReadOnly() && !w.windowIcon().isNull());

        // Controls meet at most in a strip of two pixels, as the layout's
        // twips round; the line mark is drawn over the about line.
        QStringList overlapping;
        QList<QWidget *> controls = w.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        controls.removeIf([](const QWidget *c) { return dynamic_cast<const LineMark *>(c); });
        for (const QWidget *a : controls)
            for (const QWidget *b : controls)
                if (const QRect both = a->geometry() & b->geometry();
                    a < b && qMin(both.width(), both.height()) > 2)
                    overlapping << a->objectName() + "/" + b->objectName();
        QCOMPARE(overlapping.join(' '), QString());

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

    void tabOrderWrapsAndToolTips()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        QWidget *manual = w.findChild<QWidget *>("Manual");
        manual->setFocus();
        QTRY_VERIFY(manual->hasFocus());
        QStringList order; // no picture shows the tool tips
        do {
            order << QApplication::focusWidget()->objectName() + ": " +
                         QApplication::focusWidget()->toolTip();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (!manual->hasFocus() && order.size() < 20);
        QCOMPARE(order, (QStringList{
                            "Manual: Uneti naziv primaoca, zatim <Enter>",
                            "RichTextBox1: Poruka - najviše 896 ili 128 znakova. Vidi uputstvo.",
                            "Send: POŠALJI PORUKU",
                            "ResetList: Nova lista primalaca",
                            "AddItem: Stavi u listu primalaca",
                            "ToAll: SVIMA U MREŽI",
                            "RemoveItem: Ukloni iz liste primalaca",
                            "ToLocalGroup: Poruka za sve u lokalnoj grupi (workgroup) ili domenu "
                            "(ako postoji domain controller)",
                            "tvwNetwork: Struktura mreže",
                            "List1: Spisak (lista) primalaca poruke",
                            "ResetMessage: Nova poruka",
                        }));
        QCOMPARE(f.controls().Total->toolTip(), "Ukupan broj primalaca");
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
        QTemporaryDir program, system, none;
        const auto write = [](const QString &path, const QByteArray &content) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
        };
        QVERIFY(write(program.filePath("mscomctl.ocx"), "new") &&
                write(program.filePath("RICHTX32.OCX"), "editor") &&
                write(system.filePath("mscomctl.ocx"), "old"));
        ControlFiles::copyMissing(program.path(), system.path());
        QFile kept(system.filePath("mscomctl.ocx"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), "old"); // never overwritten
        QVERIFY(QFile::exists(system.filePath("RICHTX32.OCX")));
        ControlFiles::copyMissing(none.path(), none.path()); // missing from both: nothing
        QVERIFY(QDir(none.path()).isEmpty());
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
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
