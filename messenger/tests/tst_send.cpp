// Sending: the command line per recipient, the refusals, the outcome and
// its box, and where the focus goes.
#include "windowfixture.h"

#include <QtTest>

namespace {
const QString Sent = QStringLiteral("          Poruka je predata mreži.          ");
const QString Failed = QStringLiteral("Poruka nije mogla biti ispravno predata mreži!");
} // namespace

class TestSend : public QObject {
    Q_OBJECT

    void addEntries(WindowFixture &f, const QStringList &names)
    {
        for (const QString &name : names) {
            if (name == frmNWCheck::GroupEntry) {
                f.window->ToLocalGroup_Click();
            } else {
                f.window->Manual->setText(name);
                f.window->Manual_KeyPress(13);
            }
        }
    }

private slots:
    void oneCommandPerEntryInOrderThenOneBox()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        QVERIFY(f.showActive());
        addEntries(f, {"PC-01", frmNWCheck::GroupEntry, "PC-02"});
        w.Manual->setText("ostatak");
        w.RichTextBox1->setPlainText("Zdravo \"svima\"\ndrugi red; $(x) `y`");
        w.Send_Click();
        const QString text = " Zdravo \"svima\"\ndrugi red; $(x) `y`";
        QCOMPARE(f.launcher.commands, (QStringList{"net send PC-01" + text, "net send *" + text,
                                                   "net send PC-02" + text}));
        QCOMPARE(f.boxes.texts(), QStringList{Sent});
        QCOMPARE(f.boxes.shown.last().icon, MessageBoxes::Icon::None);
        QVERIFY(w.Manual->text().isEmpty());
        // The message and the list stay for another send.
        QCOMPARE(w.List1->count(), 3);
        QCOMPARE(w.messageText(), text.mid(1));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.RichTextBox1));
    }

    void refusalsSendNothing()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        QVERIFY(f.showActive());
        w.Manual->setText("zadrzi");
        w.Send_Click();
        QCOMPARE(f.boxes.texts(), QStringList{"Ne postoji tekst poruke!"});
        w.RichTextBox1->setPlainText("poruka");
        w.Send_Click(); // the count box shows 0
        QCOMPARE(f.boxes.texts().last(), QString("Nije navedeno ko su primaoci poruke!"));
        QCOMPARE(f.boxes.shown.last().icon, MessageBoxes::Icon::Critical);
        QVERIFY(f.launcher.commands.isEmpty());
        QCOMPARE(w.Manual->text(), QString("zadrzi"));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.RichTextBox1));
    }

    void blankMessageAndGroupEntryAloneAreSent()
    {
        WindowFixture f;
        frmNWCheck &w = f.make();
        w.ToLocalGroup_Click(); // the count box shows a blank, not a number
        w.RichTextBox1->setPlainText(" ");
        w.Send_Click();
        QCOMPARE(f.launcher.commands, QStringList{"net send *  "});
        w.RichTextBox1->setPlainText(QString(300, 'x'));
        w.Send_Click();
        QCOMPARE(f.launcher.commands.last(), "net send * " + QString(300, 'x'));
        QCOMPARE(f.boxes.texts(), (QStringList{Sent, Sent}));
    }

    void outcomeIsSuccessWhenAnyStartSucceeded()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        addEntries(f, {"PC-01", "PC-02", "PC-03"});
        w.RichTextBox1->setPlainText("x");
        f.launcher.failAll = true;
        w.Send_Click();
        QCOMPARE(f.boxes.texts(), QStringList{Failed});
        QCOMPARE(f.boxes.shown.last().icon, MessageBoxes::Icon::Critical);
        QCOMPARE(f.launcher.commands.size(), 3);
        f.launcher.failAll = false;
        f.launcher.failing = {5}; // the last of the second click
        w.Send_Click();
        QCOMPARE(f.boxes.texts().last(), Sent);
        f.launcher.failing = {6, 7};
        w.Send_Click();
        QCOMPARE(f.boxes.texts().last(), Sent);
        QCOMPARE(f.boxes.shown.size(), 3);
    }
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
