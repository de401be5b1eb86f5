// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and the main window as the user first sees it: every control
// with its caption, tool tip and place, the tab order and the pictures; the control-file copy rule,
// the "/H" switch, the about line, and what showing and activating the window do.
#include "widgets/fonts.h"
#include "widgets/imagelist.h"
#include "widgets/linemark.h"
#include "widgets/twips.h"
#include "window/controlfiles.h"
#include "windowfixture.h"

#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void controls_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QRect>("twips");
        auto row = [](const char *name, const char *text, const char *tip, QRect r) {
            QTest::newRow(name) << QString(text) << QString(tip) << r;
        };
        row("Manual", "", "Uneti naziv primaoca, zatim <Enter>", {4545, 440, 2460, 315});
        row("RichTextBox1", "", "Poruka - najviše 896 ili 128 znakova. Vidi uputstvo.",
            {75, 6300, 6945, 1545});
        row("Send", "P O Š A LJ I", "POŠALJI PORUKU", {3000, 5595, 1680, 645});
        row("ResetList", "PRIMAOCI PORUKE:", "Nova lista primalaca", {4560, 85, 2445, 285});
        row("AddItem", ">", "Stavi u listu primalaca", {3735, 1335, 735, 495});
        row("ToAll", ">>", "SVIMA U MREŽI", {3735, 2040, 735, 430});
        row("RemoveItem", "<", "Ukloni iz liste primalaca", {3735, 2700, 735, 495});
        row("ToLocalGroup", "Mojoj grupi / mom domenu",
            "Poruka za sve u lokalnoj grupi (workgroup) ili domenu (ako postoji domain controller)",
            {3675, 3850, 800, 1095});
        row("tvwNetwork", "", "Struktura mreže", {90, 120, 3525, 5265});
        row("List1", "", "Spisak (lista) primalaca poruke", {4530, 840, 2490, 4545});
        row("ResetMessage", "PORUKA:", "Nova poruka", {165, 5835, 1260, 405});
        row("Total", "0", "Ukupan broj primalaca", {6300, 5520, 705, 315});
        row("Length", " ", "", {2580, 7830, 1650, 210});
        row("Latinica", "Latinicom!", "", {120, 7830, 2175, 255});
        row("Pomoc", "Kratko uputstvo >>", "", {5250, 7830, 1815, 255});
        row("Label2", "", "", {4920, 5835, 1935, 495});
    }

    void controls()
    {
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        QFETCH(QRect, twips);
        WindowFixture f;
        auto *c = f.make({}, false).findChild<QWidget *>(QTest::currentDataTag());
        QVERIFY(c);
        if (!text.isEmpty())
            QCOMPARE(c->property("text").toString(), text);
        QCOMPARE(c->toolTip(), toolTip);
        QCOMPARE(c->geometry(), twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    }

    void windowAndEveryPicture()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QCOMPARE(w.windowTitle(), "Vesnal for Windows 2000 & XP  v1.15ß");
        QCOMPARE(w.minimumSize(), QSize(473, 537));
        QCOMPARE(w.maximumSize(), QSize(473, 537));
        const MainControls c(w);
        QVERIFY(c.Total->isReadOnly() && !c.Send->icon().isNull() && !w.windowIcon().isNull());
        QCOMPARE(ImageList::keys().size(), 13);
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

    void theAboutLineAndTheLinkFitUnderAWiderFont()
    {
        // DejaVu Sans stands in where Liberation Sans is missing.
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
        for (const char *name : {"Label2", "Pomoc"}) {
            const auto *label = w.findChild<QLabel *>(name);
            QCOMPARE(QFontInfo(label->font()).family(), "DejaVu Sans");
            const QRect box = label->contentsRect();
            const QRectF drawn =
                QFontMetricsF(label->font())
                    .boundingRect(box, int(label->alignment()) | Qt::TextWordWrap, label->text());
            QVERIFY2(box.contains(drawn.toAlignedRect()), name);
        }
    }

    void tabOrderRunsAsDesignedAndWraps()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        QWidget *manual = w.findChild<QWidget *>("Manual");
        manual->setFocus();
        QTRY_VERIFY(manual->hasFocus());
        for (const char *name :
             {"RichTextBox1", "Send", "ResetList", "AddItem", "ToAll", "RemoveItem", "ToLocalGroup",
              "tvwNetwork", "List1", "ResetMessage", "Manual"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(name));
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
