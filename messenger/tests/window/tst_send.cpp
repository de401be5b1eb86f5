// Sending: the command line per recipient, the refusals, the outcome and
// its box, and where the focus goes.
#include "windowfixture.h"

#include <QtTest>

namespace
{
const QString Sent = QStringLiteral("          Poruka je predata mreži.          ");
const QString Failed = QStringLiteral("Poruka nije mogla biti ispravno predata mreži!");
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
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
