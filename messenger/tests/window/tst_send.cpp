// SPDX-License-Identifier: GPL-3.0-or-later
// A message made and sent: the recipient list (from the tree, by name, all,
// the own group, removing, the count); the editor (length label, the cap of
// 896 for typing and paste, the Latin-script reminder); sending (a command
// line per recipient, refusals, the outcome's box, the focus, the report).
#include "desktopchecks.h"
#include "net/deliveryreport.h"
#include "windowfixture.h"

#include <QtTest>

namespace
{
const QString Sent = QStringLiteral("          Poruka je predata mreži.          ");
const QString Failed = QStringLiteral("Poruka nije mogla biti ispravno predata mreži!");
const QString Heading = QStringLiteral("Poruka nije stigla do svih primalaca:\n\n");

QColor colour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}
} // namespace

class TestSend : public QObject
{
    Q_OBJECT
private slots:
    void fromTheTreeOncePerNameRemovedAndResetWithTheCountFollowing()
    {
        WindowFixture f;
        f.net.add("SMB", "\\\\PC-01\\javno", NetDisplay::Share);
        const MainControls c(f.make({}, false)); // nothing below the providers listed yet
        QVERIFY(f.showActive());
        c.tvwNetwork->expand(f.node("SMB"));
        for (const char *key : {"_ROOT", "SMB", "\\\\PC-01\\javno"})
            f.pick(key); // none of these is a recipient
        QCOMPARE(c.entries(), QStringList());
        f.pick("RADNAGRUPA");
        QCOMPARE(c.entries(), (QStringList{"PC-01", "PC-02"}));
        QVERIFY(!c.tvwNetwork->isExpanded(f.node("RADNAGRUPA"))); // listed without opening it
        QCOMPARE(c.Total->text(), "2");
        QTRY_VERIFY(c.List1->hasFocus());
        // A name already listed changes nothing and leaves the focus.
        c.Manual->setFocus();
        QTRY_VERIFY(c.Manual->hasFocus());
        c.AddItem->click();
        f.pick("\\\\PC-02");
        QCOMPARE(c.entries().size(), 2);
        QVERIFY(c.Manual->hasFocus());

        // Removing, the group entry, resetting.
        c.List1->setCurrentIndex({});
        c.RemoveItem->click(); // nothing selected: nothing removed
        c.ToLocalGroup->click();
        c.ToLocalGroup->click();
        QCOMPARE(c.entries(), (QStringList{"PC-01", "PC-02", RecipientList::GroupEntry}));
        QCOMPARE(c.Total->text(), " ");
        c.List1->setCurrentIndex(c.recipients.index(2));
        c.RemoveItem->click();
        QCOMPARE(c.Total->text(), "2");
        c.List1->setCurrentIndex(c.recipients.index(0));
        c.RemoveItem->click();
        f.pick("\\\\PC-01"); // a removed name can come back
        QCOMPARE(c.entries(), (QStringList{"PC-02", "PC-01"}));
        c.ResetList->click();
        QCOMPARE(c.Total->text(), "0");
    }

    void toAllAsksThenReplacesTheListWithEveryServerOnce()
    {
        WindowFixture f;
        f.net.add("RADNAGRUPA", "\\\\FAKE", NetDisplay::Server);
        f.net.add("DRUGA", "\\\\pc-01", NetDisplay::Server); // a computer found twice
        const MainControls c(f.make({}, false));
        QVERIFY(f.showActive());
        c.ToLocalGroup->click();
        f.pick("RADNAGRUPA"); // its computer named FAKE is none
        f.boxes.answerYes = false;
        c.ToAll->click();
        QCOMPARE(f.boxes.questions,
                 QStringList{"Sigurno želiš da primaoci ove poruke budu BAŠ SVI u mreži?"});
        QCOMPARE(c.entries(), (QStringList{RecipientList::GroupEntry, "PC-01", "PC-02"}));
        QTRY_VERIFY(c.Manual->hasFocus());
        f.boxes.answerYes = true;
        c.ToAll->click();
        QCOMPARE(c.entries(), (QStringList{"PC-01", "PC-02", "PC-03"}));
        QCOMPARE(c.Total->text(), "3");
        QTRY_VERIFY(c.List1->hasFocus());
    }

    void typedNamesAreUpperCasedAndMatchedExactly()
    {
        WindowFixture f;
        f.net.add("DRUGA", "\\\\ČAČAK-ĐŽ", NetDisplay::Server);
        f.net.add("DRUGA", "\\\\Mala", NetDisplay::Server);
        f.net.add("SMB", "TIHA", NetDisplay::Domain);
        f.net.noAnswer("TIHA", 1000); // its placeholder stays in the tree
        const MainControls c(f.make({}, false));
        QVERIFY(f.showActive());
        for (const char *typed :
             {"pc-02", "čačak-đž", "radnagrupa"}) { // any node, not only servers
            c.Manual->setText(typed);
            QTest::keyClick(c.Manual, Qt::Key_Return); // lists the whole tree first
            QVERIFY(c.Manual->text().isEmpty());
        }
        QCOMPARE(c.entries(), (QStringList{"PC-02", "ČAČAK-ĐŽ", "RADNAGRUPA"}));
        QTRY_VERIFY(c.Manual->hasFocus());
        QCOMPARE(c.Total->text(), "3");
        QVERIFY(f.boxes.texts.isEmpty());
        for (const char *typed : {" pc-01", "fake", "   ", "mala", "Mreža"}) {
            c.Manual->setText(typed);
            QTest::keyClick(c.Manual, Qt::Key_Return);
            QCOMPARE(c.Manual->text(), typed); // kept for correcting
        }
        QCOMPARE(f.boxes.texts, QStringList(5, "Taj primalac trenutno ne postoji u ovoj mreži!"));
        QCOMPARE(f.boxes.icons.last(), MessageBoxes::Icon::Critical);
        c.Manual->clear();
        QTest::keyClick(c.Manual, Qt::Key_Return); // empty: nothing at all
        QCOMPARE(f.boxes.texts.size(), 5);
    }

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

    void oneCommandPerEntryInOrderThenOneBox()
    {
        WindowFixture f;
        frmNWCheck &w = f.make();
        const MainControls c(w);
        QVERIFY(f.showActive());
        c.Manual->setText("zadrzi");
        c.Send->click();
        c.RichTextBox1->setPlainText("poruka");
        c.Send->click(); // the count box shows 0
        QCOMPARE(f.boxes.texts,
                 (QStringList{"Ne postoji tekst poruke!", "Nije navedeno ko su primaoci poruke!"}));
        QVERIFY(f.launcher.commands.isEmpty());
        QCOMPARE(c.Manual->text(), QString("zadrzi"));

        f.pick("\\\\PC-01");
        c.ToLocalGroup->click();
        f.pick("\\\\PC-02");
        // Typed: a no-break space goes as it is; Enter and Shift+Enter are line breaks.
        c.RichTextBox1->clear();
        QTest::keyClicks(c.RichTextBox1, "Zdravo");
        QTest::sendKeyEvent(QTest::Click, c.RichTextBox1, Qt::Key_unknown, "\u00A0", {});
        QTest::keyClicks(c.RichTextBox1, "\"svima\"");
        QTest::keyClick(c.RichTextBox1, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(c.RichTextBox1, "drugi red; $(x) `y`");
        QTest::keyClick(c.RichTextBox1, Qt::Key_Return);
        const QString text = "Zdravo\u00A0\"svima\"\ndrugi red; $(x) `y`\n";
        c.Send->click();
        QCOMPARE(f.launcher.commands, (QStringList{"net send PC-01 " + text, "net send * " + text,
                                                   "net send PC-02 " + text}));
        QCOMPARE(f.boxes.icons.last(), MessageBoxes::Icon::None);
        QVERIFY(c.Manual->text().isEmpty());
        QCOMPARE(c.entries().size(), 3); // the message and the list stay
        QCOMPARE(c.messageText(), text);
        QTRY_VERIFY(c.RichTextBox1->hasFocus());

        // A blank text goes, and so does the group entry alone (its count is no number).
        c.ResetList->click();
        c.ToLocalGroup->click();
        c.RichTextBox1->setPlainText(" ");
        c.Send->click();
        QCOMPARE(f.launcher.commands.last(), "net send *  ");
        QCOMPARE(f.boxes.texts.mid(2), (QStringList{Sent, Sent}));

        // A report holds nothing up: the window takes a later Send while it stays open.
        QtMessageBoxes().notify(&w, MessageBoxes::Icon::Exclamation, Heading + "PC-77: x");
        QPointer<QMessageBox> box = w.findChild<QMessageBox *>();
        QVERIFY(box && box->isVisible() && !QApplication::activeModalWidget());
        QTest::mouseClick(c.Send, Qt::LeftButton);
        QCOMPARE(f.launcher.commands.size(), 5);
        QVERIFY(box->isVisible());
        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!box); // closed and gone
    }

    void reasonWordsReadAsPlainSerbian()
    {
        const QString g = RecipientList::GroupEntry;
        const auto said = [&g](const QString &entry, int status, const QStringList &reasons) {
            const TaskOutcome outcome = RecordingLauncher::outcome(0, status, reasons);
            return DeliveryReport::lines(entry, entry == g, outcome).join(" | ");
        };
        QCOMPARE(said("pc-05", 1, {"no-smb1 PC-05: x"}), // named as the list shows it
                 "pc-05: računar ne prima poruke (SMB1 je na njemu isključen)");
        // Fields fill their places.
        for (const char *n : {"1792 bajta", "1601 bajt", "1613 bajtova", "1611 bajtova"})
            QCOMPARE(said("PC-01", 2, {"too-long PC-01 " + QString(n).left(4) + " 1598: x"}),
                     "poruka je predugačka: " + QString(n) + ", najviše 1598");
        QCOMPARE(said(g, 1, {"group-unlisted * RADNAGRUPA: x"}),
                 g + ": spisak računara grupe RADNAGRUPA nije mogao da se pročita");
        // A word unknown here, or no word at all: not delivered, without detail.
        QCOMPARE(said("PC-01", 1, {"some-new-word PC-01 X: x"}), "PC-01: poruka nije isporučena");
        QCOMPARE(said("PC-01", 1, {}), "PC-01: poruka nije isporučena");
        QCOMPARE(said("PC-01", 77, {}), // a status it never gives
                 "PC-01: nije poznato da li je poruka isporučena");
    }

    void oneReportPerClickAfterItsHelpersEndedOnlyWhenSomeoneMissedIt()
    {
        WindowFixture f;
        f.net.add("DRUGA", "\\\\PC-77", NetDisplay::Server);
        const MainControls c(f.make());
        f.pick("\\\\PC-01");
        c.ToLocalGroup->click();
        for (const char *key : {"\\\\PC-02", "\\\\PC-77"})
            f.pick(key);
        c.RichTextBox1->setPlainText("x");

        // Ends that come while the click's own box is open wait for it.
        f.boxes.onReport = [&f] {
            f.launcher.end(0, 0);
            f.launcher.end(1, 1, {"no-smb1 PC-05: x", "timeout PC-06 30: x"});
        };
        c.Send->click();
        f.boxes.onReport = nullptr;
        QCOMPARE(f.boxes.texts, QStringList{Sent});
        f.launcher.end(3, 1, {"not-found PC-77: x"});
        QVERIFY(f.boxes.notices.isEmpty()); // PC-02's helper still runs
        f.launcher.end(2, 0);
        QCOMPARE(f.boxes.notices,
                 QStringList{Heading +
                             "PC-05: računar ne prima poruke (SMB1 je na njemu isključen)\n"
                             "PC-06: računar se nije javio za 30 s\n"
                             "PC-77: računar nije pronađen u mreži"});
        f.launcher.end(2, 1, {"not-found PC-02: x"}); // told twice: heard once
        QCOMPARE(f.boxes.notices.size(), 1);

        // Everyone got it: no report. Ended before the click's box was closed: the
        // box comes first all the same.
        int seenAtTheBox = -1;
        f.boxes.onReport = [&] {
            for (int task = 4; task < 8; ++task)
                f.launcher.end(task, task == 7 ? 1 : 0, {"not-found PC-77: x"});
            seenAtTheBox = f.boxes.notices.size();
        };
        c.Send->click();
        f.boxes.onReport = nullptr;
        QCOMPARE(seenAtTheBox, 1);
        QCOMPARE(f.boxes.notices.size(), 2);

        // A helper that crashed, the same refusal from two helpers, the last start
        // failed (the click still counts as handed over).
        f.launcher.failing = {11};
        c.Send->click();
        QCOMPARE(f.boxes.texts.last(), Sent);
        f.launcher.end(8, -1);
        f.launcher.end(9, 2, {"codepage * CP852 U+0452: x"});
        f.launcher.end(10, 2, {"codepage PC-02 CP852 U+0452: x"});
        QCOMPARE(f.boxes.notices.value(2),
                 Heading + "PC-01: nije poznato da li je poruka isporučena\n"
                           "tekst ima znak koji kodna strana CP852 ne može da prenese: ђ\n"
                           "PC-77: slanje nije moglo da počne");

        // Clicks do not wait for each other; a click that started nothing has its box only.
        f.launcher.failing.clear();
        c.Send->click(); // 12..15
        c.Send->click(); // 16..19
        for (int task = 16; task < 20; ++task)
            f.launcher.end(task, task == 19 ? 1 : 0, {"not-found PC-77: x"});
        QCOMPARE(f.boxes.notices.size(), 4);
        for (int task = 12; task < 16; ++task)
            f.launcher.end(task, 0);
        f.launcher.failAll = true;
        c.Send->click();
        QCOMPARE(f.boxes.texts.last(), Failed);
        QCOMPARE(f.boxes.icons.last(), MessageBoxes::Icon::Critical);
        QCOMPARE(f.boxes.notices.size(), 4);
    }
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
