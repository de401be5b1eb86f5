// SPDX-License-Identifier: GPL-3.0-or-later
// The message editor: length label and its colour, the 896-character cap
// for typing and paste, the warning, the Latin-script reminder, clearing.
#include "desktopchecks.h"
#include "windowfixture.h"

#include <QtTest>

namespace
{
QColor colour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}
} // namespace

class TestEditor : public QObject
{
    Q_OBJECT
private slots:
    void theCapHoldsForTypingAndPasteAndWarnsAt896()
    {
        WindowFixture f;
        const MainControls c(f.make({}, false));
        QVERIFY(f.showActive());
        QTextEdit *editor = c.RichTextBox1;
        editor->setFocus();
        editor->setPlainText(QString(895, 'a'));
        editor->moveCursor(QTextCursor::End);
        QTest::keyClick(editor, Qt::Key_B);
        QCOMPARE(c.Length->text(), "Dužina poruke: 896");
        QCOMPARE(f.boxes.texts, QStringList{"Poruka ne sme sadržati više od 896 znakova!"});
        QTest::keyClicks(editor, "xyz");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::clipboard()->setText("zz");
        editor->paste();
        QCOMPARE(c.messageText().size(), 896); // nothing more taken, no more boxes
        QCOMPARE(f.boxes.texts.size(), 1);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_C);
        QCOMPARE(f.boxes.texts.size(), 2);
        QVERIFY(c.messageText().endsWith("ac"));

        // A paste is cut to the room left, a selection's room included.
        editor->setPlainText(QString(800, 'a'));
        editor->moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText(QString(200, 'z'));
        editor->paste();
        QCOMPARE(c.messageText(), QString(800, 'a') + QString(96, 'z'));
        QCOMPARE(f.boxes.texts.size(), 3);
        editor->selectAll();
        QApplication::clipboard()->setText("kratko\nnovo");
        editor->paste();
        QCOMPARE(c.messageText(), "kratko\nnovo");
    }

    void lengthColourResetAndTheReminderFollowingTheFocus()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        const MainControls c(w);
        QVERIFY(f.showActive());
        c.ResetMessage->click(); // on an empty editor
        QCOMPARE(c.Length->text(), " ");
        QCOMPARE(colour(c.Length), QColor(64, 64, 64));
        QTRY_VERIFY(c.RichTextBox1->hasFocus());
        QTRY_COMPARE(colour(c.Latinica), QColor(0, 0, 0));
        using Step = std::pair<int, QColor>;
        for (const auto &[length, expected] :
             {Step{128, Qt::black}, Step{129, Qt::red}, Step{128, Qt::black}}) {
            c.RichTextBox1->setPlainText(QString(length, 'a'));
            QCOMPARE(colour(c.Length), expected);
        }
        c.RichTextBox1->setHtml("<b>Здраво</b><br>čćđšž"); // formatting plays no part
        QCOMPARE(c.messageText(), "Здраво\nčćđšž");
        QCOMPARE(c.Length->text(), "Dužina poruke: 12"); // a line break counts one
        c.ResetMessage->click();
        QVERIFY(c.messageText().isEmpty());
        QCOMPARE(c.Length->text(), " ");

        // A box, the editor's own menu or another window taking the
        // activation leave the reminder black; only another control greys it.
        bool boxActive = false;
        whenBoxOpens([&boxActive](QMessageBox *box) {
            boxActive = QTest::qWaitFor(
                [box] { return QGuiApplication::focusWindow() == box->windowHandle(); });
            box->accept();
        });
        QtMessageBoxes().report(&w, MessageBoxes::Icon::None, "x");
        QVERIFY(boxActive);
        QCOMPARE(colour(c.Latinica), QColor(0, 0, 0));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(5, 5),
                               c.RichTextBox1->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(c.RichTextBox1, &menu);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(colour(c.Latinica), QColor(0, 0, 0));
        QApplication::activePopupWidget()->close();
        QTest::keyClick(c.RichTextBox1, Qt::Key_Tab);
        QCOMPARE(colour(c.Latinica), QColor(128, 128, 128));
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
