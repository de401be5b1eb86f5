// SPDX-License-Identifier: GPL-3.0-or-later
// The recipient list: from the tree, by name, the whole network, the own
// group; removing; the count box; and where the focus goes.
#include "windowfixture.h"

#include <QtTest>

class TestRecipients : public QObject
{
    Q_OBJECT
private slots:
    void fromTheTreeOncePerNameWithTheCountFollowing()
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
    }

    void removeResetAndTheGroupEntry()
    {
        WindowFixture f;
        const MainControls c(f.make());
        f.pick("RADNAGRUPA");
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
};

QTEST_MAIN(TestRecipients)
#include "tst_recipients.moc"
