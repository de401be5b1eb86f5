// SPDX-License-Identifier: GPL-3.0-or-later
// Sending: the command line per recipient, the refusals, the outcome and
// its box, where the focus goes, and the report of who did not get it.
#include "window/deliveryreport.h"
#include "window/messageboxes.h"
#include "windowfixture.h"

#include <QMessageBox>
#include <QtTest>

namespace
{
const QString Sent = QStringLiteral("          Poruka je predata mreži.          ");
const QString Failed = QStringLiteral("Poruka nije mogla biti ispravno predata mreži!");
const QString Heading = QStringLiteral("Poruka nije stigla do svih primalaca:\n\n");

// The report lines of one task's end.
QString said(const QString &entry, int status, const QStringList &reasonLines = {})
{
    TaskOutcome outcome{1, status >= 0, status, {}};
    for (const QString &line : reasonLines)
        outcome.reasons.append(DeliveryReason::parse(line).value());
    return DeliveryReport::lines(entry, entry == frmNWCheck::GroupEntry, outcome).join(" | ");
}
} // namespace

class TestSend : public QObject
{
    Q_OBJECT
private slots:
    void oneCommandPerEntryInOrderThenOneBox()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        QVERIFY(f.showActive());
        w.Manual->setText("zadrzi");
        w.Send_Click();
        w.RichTextBox1->setPlainText("poruka");
        w.Send_Click(); // the count box shows 0
        QCOMPARE(f.boxes.texts,
                 (QStringList{"Ne postoji tekst poruke!", "Nije navedeno ko su primaoci poruke!"}));
        QVERIFY(f.launcher.commands.isEmpty());
        QCOMPARE(w.Manual->text(), QString("zadrzi"));

        w.tvwNetwork->setCurrentItem(f.node("\\\\PC-01"));
        w.AddItem_Click();
        w.ToLocalGroup_Click();
        w.tvwNetwork->setCurrentItem(f.node("\\\\PC-02"));
        w.AddItem_Click();
        const QString text = "Zdravo \"svima\"\ndrugi red; $(x) `y`";
        w.RichTextBox1->setPlainText(text);
        w.Send_Click();
        QCOMPARE(f.launcher.commands, (QStringList{"net send PC-01 " + text, "net send * " + text,
                                                   "net send PC-02 " + text}));
        QCOMPARE(f.boxes.texts.mid(2), QStringList{Sent});
        QCOMPARE(f.boxes.icons.last(), MessageBoxes::Icon::None);
        QVERIFY(w.Manual->text().isEmpty());
        QCOMPARE(w.List1->count(), 3); // the message and the list stay
        QCOMPARE(w.messageText(), text);
        QTRY_VERIFY(w.RichTextBox1->hasFocus());
    }

    void blankTextAndTheGroupEntryAloneAreSent()
    {
        WindowFixture f;
        frmNWCheck &w = f.make();
        w.ToLocalGroup_Click(); // the count box shows a blank, which is no number
        w.RichTextBox1->setPlainText(" ");
        w.Send_Click();
        QCOMPARE(f.launcher.commands, QStringList{"net send *  "});
        QCOMPARE(f.boxes.texts, QStringList{Sent});
    }

    void outcomeIsSuccessWhenAnyStartSucceeded()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        w.tvwNetwork->setCurrentItem(f.node("RADNAGRUPA"));
        w.AddItem_Click();
        w.RichTextBox1->setPlainText("x");
        f.launcher.failAll = true;
        w.Send_Click();
        f.launcher.failAll = false;
        f.launcher.failing = {3}; // only the last of the second click
        w.Send_Click();
        QCOMPARE(f.boxes.texts, (QStringList{Failed, Sent}));
        QCOMPARE(f.boxes.icons.first(), MessageBoxes::Icon::Critical);
        QCOMPARE(f.launcher.commands.size(), 4);
    }

    void reasonWordsReadAsPlainSerbian()
    {
        const QString group = frmNWCheck::GroupEntry;
        const struct {
            QString entry;
            int status;
            QStringList reasons;
            QString expected;
        } rows[] = {
            {"PC-01", 0, {}, ""},
            {"PC-77",
             1,
             {"not-found PC-77: Connection to PC-77 failed"},
             "PC-77: računar nije pronađen u mreži"},
            {"pc-05",
             1,
             {"no-smb1 PC-05: cli_message returned"}, // named as the list shows it
             "pc-05: računar ne prima poruke (SMB1 je na njemu isključen)"},
            {"PC-01",
             2,
             {"codepage PC-01 CP852 U+0452: x"},
             "tekst ima znak koji kodna strana CP852 ne može da prenese: ђ"},
            {"PC-01",
             2,
             {"too-long PC-01 1792 1598: x"},
             "poruka je predugačka: 1792 bajta, najviše 1598"},
            {"PC-01",
             2,
             {"too-long PC-01 1601 1598: x"},
             "poruka je predugačka: 1601 bajt, najviše 1598"},
            {"PC-01",
             2,
             {"too-long PC-01 1613 1598: x"},
             "poruka je predugačka: 1613 bajtova, najviše 1598"},
            {"PC-01", 1, {"some-new-word PC-01: x"}, "PC-01: poruka nije isporučena"},
            {"PC-01", 1, {}, "PC-01: poruka nije isporučena"}, // failed without a word
            {"PC-01", -1, {}, "PC-01: nije poznato da li je poruka isporučena"}, // crashed, killed
            {"PC-01", 77, {}, "PC-01: nije poznato da li je poruka isporučena"},
            {group,
             1,
             {"group-unlisted * RADNAGRUPA: x"},
             group + ": spisak računara grupe RADNAGRUPA nije mogao da se pročita"},
            {group,
             1,
             {"refused PC-03: x", "unreachable PC-04: x", "rejected PC-06 NT_STATUS_X: x"},
             "PC-03: računar odbija vezu | PC-04: računar nije dostupan (možda je isključen) | "
             "PC-06: računar je odbio poruku"},
        };
        for (const auto &r : rows)
            QCOMPARE(said(r.entry, r.status, r.reasons), r.expected);
    }

    void oneReportPerClickAfterItsHelpersEndedOnlyWhenSomeoneMissedIt()
    {
        WindowFixture f;
        frmNWCheck &w = f.make();
        for (const char *name : {"PC-01", "SVI u mojoj grupi / mom domenu", "PC-02", "PC-77"})
            w.AddRecipient(name);
        w.Total->setText(" ");
        w.RichTextBox1->setPlainText("x");

        // Ends that come while the click's own box is open wait for it.
        f.boxes.onReport = [&f] {
            f.launcher.end(0, 0);
            f.launcher.end(1, 1, {"no-smb1 PC-05: x", "timeout PC-06 30: x"});
        };
        w.Send_Click();
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
        QCOMPARE(f.boxes.noticeIcons, QList{MessageBoxes::Icon::Exclamation});
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
        w.Send_Click();
        f.boxes.onReport = nullptr;
        QCOMPARE(seenAtTheBox, 1);
        QCOMPARE(f.boxes.notices.size(), 2);

        // A start that failed, a helper that crashed, the same refusal from two helpers.
        f.launcher.failing = {9};
        w.Send_Click();
        f.launcher.end(8, -1);
        f.launcher.end(10, 2, {"codepage PC-02 CP852 U+0452: x"});
        f.launcher.end(11, 2, {"codepage PC-77 CP852 U+0452: x"});
        QCOMPARE(f.boxes.notices.value(2),
                 Heading + "PC-01: nije poznato da li je poruka isporučena\n"
                           "SVI u mojoj grupi / mom domenu: slanje nije moglo da počne\n"
                           "tekst ima znak koji kodna strana CP852 ne može da prenese: ђ");

        // Clicks do not wait for each other; a click that started nothing has its box only.
        f.launcher.failing.clear();
        w.Send_Click(); // 12..15
        w.Send_Click(); // 16..19
        for (int task = 16; task < 20; ++task)
            f.launcher.end(task, task == 19 ? 1 : 0, {"not-found PC-77: x"});
        QCOMPARE(f.boxes.notices.size(), 4);
        for (int task = 12; task < 16; ++task)
            f.launcher.end(task, 0);
        f.launcher.failAll = true;
        w.Send_Click();
        QCOMPARE(f.boxes.texts.last(), Failed);
        QCOMPARE(f.boxes.notices.size(), 4);
    }

    void theReportHoldsNothingUp()
    {
        WindowFixture f;
        frmNWCheck &w = f.make();
        QVERIFY(f.showActive());
        QtMessageBoxes boxes;
        boxes.notify(&w, MessageBoxes::Icon::Exclamation,
                     Heading + "PC-77: računar nije pronađen u mreži");
        QPointer<QMessageBox> box;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<QMessageBox *>(top); b && b->text().startsWith(Heading))
                box = b;
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        // The window takes a later Send while the report stays open.
        w.AddRecipient("PC-01");
        w.RichTextBox1->setPlainText("x");
        QTest::mouseClick(w.Send, Qt::LeftButton);
        QCOMPARE(f.launcher.commands.size(), 1);
        QVERIFY(box->isVisible());
        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!box); // closed and gone
    }
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
