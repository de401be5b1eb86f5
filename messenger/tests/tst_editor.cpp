// The message editor: length label and its colour, the 896-character cap
// for typing and paste, the warning, the Latin-script reminder, clearing.
#include "windowfixture.h"

#include <QClipboard>
#include <QtTest>

namespace {
QColor lengthColour(const frmNWCheck &w)
{
    return w.Length->palette().color(QPalette::WindowText);
}
const QString Warning = QStringLiteral("Poruka ne sme sadržati više od 896 znakova!");
} // namespace

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void typingToTheCapWarnsOnceAndTakesNothingMore()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.RichTextBox1->setFocus();
        w.RichTextBox1->setPlainText(QString(895, 'a'));
        w.RichTextBox1->moveCursor(QTextCursor::End);
        QVERIFY(f.boxes.shown.isEmpty());
        QTest::keyClick(w.RichTextBox1, Qt::Key_B, Qt::NoModifier);
        QCOMPARE(w.messageText().size(), 896);
        QCOMPARE(f.boxes.texts(), QStringList{Warning});
        QCOMPARE(f.boxes.shown.last().icon, MessageBoxes::Icon::Critical);
        QCOMPARE(w.Length->text(), QString("Dužina poruke: 896"));
        QTest::keyClicks(w.RichTextBox1, "xyz");
        QTest::keyClick(w.RichTextBox1, Qt::Key_Return);
        QCOMPARE(w.messageText().size(), 896);
        QCOMPARE(f.boxes.shown.size(), 1);
        QTest::keyClick(w.RichTextBox1, Qt::Key_Backspace);
        QCOMPARE(w.Length->text(), QString("Dužina poruke: 895"));
        QTest::keyClick(w.RichTextBox1, Qt::Key_C);
        QCOMPARE(f.boxes.shown.size(), 2);
        QVERIFY(w.messageText().endsWith('c'));
    }

    void pasteIsCutToFit()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.RichTextBox1->setFocus();
        w.RichTextBox1->setPlainText(QString(800, 'a'));
        w.RichTextBox1->moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText(QString(200, 'z'));
        w.RichTextBox1->paste();
        QCOMPARE(w.messageText(), QString(800, 'a') + QString(96, 'z'));
        QCOMPARE(w.Length->text(), QString("Dužina poruke: 896"));
        QCOMPARE(lengthColour(w), QColor(255, 0, 0));
        QCOMPARE(f.boxes.texts(), QStringList{Warning});
        // A paste over a selection has the selection's room as well.
        w.RichTextBox1->selectAll();
        QApplication::clipboard()->setText("kratko\nnovo");
        w.RichTextBox1->paste();
        QCOMPARE(w.messageText(), QString("kratko\nnovo"));
        // Full: nothing more is pasted, and no further box.
        w.RichTextBox1->setPlainText(QString(896, 'q'));
        const int boxes = f.boxes.shown.size();
        w.RichTextBox1->moveCursor(QTextCursor::End);
        w.RichTextBox1->paste();
        QCOMPARE(w.messageText().size(), 896);
        QCOMPARE(f.boxes.shown.size(), boxes);
    }

    void lengthTurnsRedAbove128AndCountsEveryLetter()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QCOMPARE(lengthColour(w), QColor(64, 64, 64));
        w.RichTextBox1->setPlainText(QString(128, 'a'));
        QCOMPARE(lengthColour(w), QColor(0, 0, 0));
        w.RichTextBox1->setPlainText(QString(129, 'a'));
        QCOMPARE(lengthColour(w), QColor(255, 0, 0));
        w.RichTextBox1->setPlainText(QString(128, 'a'));
        QCOMPARE(lengthColour(w), QColor(0, 0, 0));
        w.RichTextBox1->setPlainText("Здраво\nčćđšž");
        QCOMPARE(w.Length->text(), QString("Dužina poruke: 12")); // a line break counts one
        w.RichTextBox1->setHtml("<b>Z</b>");
        QCOMPARE(w.messageText(), QString("Z"));
    }

    void resetEmptiesTheEditorAndBlanksTheLength()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.ResetMessage_Click(); // on an empty editor
        QCOMPARE(w.Length->text(), QString(" "));
        QCOMPARE(lengthColour(w), QColor(64, 64, 64));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.RichTextBox1));
        w.RichTextBox1->setPlainText(QString(300, 'a'));
        w.ResetMessage_Click();
        QVERIFY(w.messageText().isEmpty());
        QCOMPARE(w.Length->text(), QString(" "));
        QCOMPARE(lengthColour(w), QColor(0, 0, 0));
        QCOMPARE(w.RichTextBox1->textCursor().position(), 0);
    }

    void latinicaIsBlackWhileTheEditorHasFocus()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        auto colour = [&] { return w.Latinica->palette().color(QPalette::WindowText); };
        w.Manual->setFocus();
        QTRY_COMPARE(colour(), QColor(128, 128, 128));
        w.RichTextBox1->setFocus();
        QTRY_COMPARE(colour(), QColor(0, 0, 0));
        w.List1->setFocus();
        QTRY_COMPARE(colour(), QColor(128, 128, 128));
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
