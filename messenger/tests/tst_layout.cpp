// The main window as the user first sees it: every control with its
// caption, tool tip, place, font and colours, the tab order and pictures.
#include "imagelist.h"
#include "twips.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QtTest>

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void controls_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QRect>("twips");
        auto row = [](const char *name, const QString &text, const QString &tip, const char *face,
                      double pt, bool bold, QRect r) {
            QTest::newRow(name) << text << tip << QString(face) << pt << bold << r;
        };
        row("Manual", "", "Uneti naziv primaoca, zatim <Enter>", "Tahoma", 8.25, false,
            {4545, 440, 2460, 315});
        row("RichTextBox1", "", "Poruka - najviše 896 ili 128 znakova. Vidi uputstvo.", "Tahoma",
            9, false, {75, 6300, 6945, 1545});
        row("Send", "P O Š A LJ I", "POŠALJI PORUKU", "Tahoma", 9.75, true,
            {3000, 5595, 1680, 645});
        row("ResetList", "PRIMAOCI PORUKE:", "Nova lista primalaca", "Tahoma", 8.25, true,
            {4560, 85, 2445, 285});
        row("AddItem", ">", "Stavi u listu primalaca", "Arial", 15.75, false,
            {3735, 1335, 735, 495});
        row("ToAll", ">>", "SVIMA U MREŽI", "Arial", 15.75, false, {3735, 2040, 735, 430});
        row("RemoveItem", "<", "Ukloni iz liste primalaca", "Arial", 15.75, false,
            {3735, 2700, 735, 495});
        row("ToLocalGroup", "Mojoj grupi / mom domenu",
            "Poruka za sve u lokalnoj grupi (workgroup) ili domenu (ako postoji domain controller)",
            "Tahoma", 8.25, false, {3675, 3850, 800, 1095});
        row("tvwNetwork", "", "Struktura mreže", "Tahoma", 8.25, false, {90, 120, 3525, 5265});
        row("List1", "", "Spisak (lista) primalaca poruke", "Tahoma", 8.25, false,
            {4530, 840, 2490, 4545});
        row("ResetMessage", "PORUKA:", "Nova poruka", "Tahoma", 8.25, true, {165, 5835, 1260, 405});
        row("Total", "0", "Ukupan broj primalaca", "Tahoma", 8.25, false, {6300, 5520, 705, 315});
        row("Length", " ", "", "Arial", 8.25, false, {2580, 7830, 1650, 210});
        row("Latinica", "Latinicom!", "", "Tahoma", 8.25, true, {120, 7830, 2175, 255});
        row("Pomoc", "Kratko uputstvo >>", "", "Tahoma", 8.25, true, {5250, 7830, 1815, 255});
        row("Label2", "", "", "Arial", 8.25, false, {4920, 5835, 1935, 495});
    }

    void controls()
    {
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(QRect, twips);
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        auto *c = w.findChild<QWidget *>(QTest::currentDataTag());
        QVERIFY(c);
        if (!text.isEmpty()) {
            QString shown = c->property("text").toString();
            if (auto *edit = qobject_cast<QTextEdit *>(c))
                shown = edit->toPlainText();
            QCOMPARE(shown, text);
        }
        QCOMPARE(c->toolTip(), toolTip);
        QCOMPARE(c->font().family(), face);
        QCOMPARE(c->font().pointSizeF(), points);
        QCOMPARE(c->font().bold(), bold);
        QCOMPARE(c->geometry(),
                 twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    }

    void windowColoursAndFixedSize()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Vesnal for Windows 2000 & XP  v1.15\u00DF"));
        QCOMPARE(w.size(), QSize(473, 537));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.ToAll->font().underline());
        QCOMPARE(w.RichTextBox1->palette().color(QPalette::Base), QColor(128, 255, 128));
        QCOMPARE(w.List1->palette().color(QPalette::Base), QColor(255, 255, 128));
        QCOMPARE(w.Send->palette().color(QPalette::Button), QColor(224, 224, 224));
        QCOMPARE(w.Length->palette().color(QPalette::WindowText), QColor(64, 64, 64));
        QCOMPARE(w.Latinica->palette().color(QPalette::WindowText), QColor(128, 128, 128));
        QVERIFY(w.Total->isReadOnly());
        QVERIFY(w.Total->alignment() & Qt::AlignRight);
        QVERIFY(!w.Send->icon().isNull());
        QVERIFY(!w.windowIcon().isNull());
    }

    void tabOrderRunsAsDesignedAndWraps()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.Manual->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.Manual));
        const QStringList expected = {"RichTextBox1", "Send",       "ResetList",    "AddItem",
                                      "ToAll",        "RemoveItem", "ToLocalGroup", "tvwNetwork",
                                      "List1",        "ResetMessage", "Manual"};
        for (const QString &name : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
    }

    void everyPictureKeyIsThere()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QCOMPARE(ImageList::keys().size(), 13);
        for (const QString &key : ImageList::keys()) {
            QVERIFY2(w.imlNWImages.contains(key), qPrintable(key));
            QImage picture = w.imlNWImages.icon(key).pixmap(16, 16).toImage();
            // Each picture is drawn: some pixel is not transparent.
            bool drawn = false;
            for (int y = 0; y < 16 && !drawn; ++y)
                for (int x = 0; x < 16 && !drawn; ++x)
                    drawn = qAlpha(picture.pixel(x, y)) > 0;
            QVERIFY2(drawn, qPrintable(key));
        }
    }

    void screenshot()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString out = qEnvironmentVariable("VESNAL_SCREENSHOT_DIR");
        if (out.isEmpty())
            QSKIP("set VESNAL_SCREENSHOT_DIR to save docs/vesnal-main.png");
        QVERIFY(w.grab().save(out + "/vesnal-main.png"));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
