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
        frmNWCheck &w = f.make({}, false); // nothing below the providers listed yet
        QVERIFY(f.showActive());
        w.tvwNetwork_Expand(f.node("SMB"));
        for (const char *key : {"_ROOT", "SMB", "\\\\PC-01\\javno"})
            f.pick(key); // none of these is a recipient
        QCOMPARE(f.entries(), QStringList());
        f.pick("RADNAGRUPA");
        QCOMPARE(f.entries(), (QStringList{"PC-01", "PC-02"}));
        QVERIFY(!w.tvwNetwork->isExpanded(f.node("RADNAGRUPA"))); // listed without opening it
        QCOMPARE(w.Total->text(), "2");
        QTRY_VERIFY(w.List1->hasFocus());
        // A name already listed changes nothing and leaves the focus.
        w.Manual->setFocus();
        QTRY_VERIFY(w.Manual->hasFocus());
        w.AddItem_Click();
        f.pick("\\\\PC-02");
        QCOMPARE(f.entries().size(), 2);
        QVERIFY(w.Manual->hasFocus());
    }

    void removeResetAndTheGroupEntry()
    {
        WindowFixture f;
        frmNWCheck &w = f.make();
        f.pick("RADNAGRUPA");
        w.List1->setCurrentRow(-1);
        w.RemoveItem_Click(); // nothing selected: nothing removed
        w.ToLocalGroup_Click();
        w.ToLocalGroup_Click();
        QCOMPARE(f.entries(), (QStringList{"PC-01", "PC-02", frmNWCheck::GroupEntry}));
        QCOMPARE(w.Total->text(), " ");
        w.List1->setCurrentRow(2);
        w.RemoveItem_Click();
        QCOMPARE(w.Total->text(), "2");
        w.List1->setCurrentRow(0);
        w.RemoveItem_Click();
        f.pick("\\\\PC-01"); // a removed name can come back
        QCOMPARE(f.entries(), (QStringList{"PC-02", "PC-01"}));
        w.ResetList_Click();
        QCOMPARE(w.Total->text(), "0");
    }

    void toAllAsksThenReplacesTheListWithEveryServerOnce()
    {
        WindowFixture f;
        f.net.add("RADNAGRUPA", "\\\\FAKE", NetDisplay::Server);
        f.net.add("DRUGA", "\\\\pc-01", NetDisplay::Server); // a computer found twice
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.ToLocalGroup_Click();
        f.boxes.answerYes = false;
        w.ToAll_Click();
        QCOMPARE(f.boxes.questions,
                 QStringList{"Sigurno želiš da primaoci ove poruke budu BAŠ SVI u mreži?"});
        QCOMPARE(f.entries().size(), 1);
        QTRY_VERIFY(w.Manual->hasFocus());
        f.boxes.answerYes = true;
        w.ToAll_Click();
        QCOMPARE(f.entries(), (QStringList{"PC-01", "PC-02", "PC-03"}));
        QCOMPARE(w.Total->text(), "3");
        QTRY_VERIFY(w.List1->hasFocus());
    }

    void typedNamesAreUpperCasedAndMatchedExactly()
    {
        WindowFixture f;
        f.net.add("DRUGA", "\\\\ČAČAK-ĐŽ", NetDisplay::Server);
        f.net.add("DRUGA", "\\\\Mala", NetDisplay::Server);
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        for (const char *typed :
             {"pc-02", "čačak-đž", "radnagrupa"}) { // any node, not only servers
            w.Manual->setText(typed);
            QTest::keyClick(w.Manual, Qt::Key_Return); // lists the whole tree first
            QVERIFY(w.Manual->text().isEmpty());
        }
        QCOMPARE(f.entries(), (QStringList{"PC-02", "ČAČAK-ĐŽ", "RADNAGRUPA"}));
        QTRY_VERIFY(w.Manual->hasFocus());
        QCOMPARE(w.Total->text(), "3");
        QVERIFY(f.boxes.texts.isEmpty());
        for (const char *typed : {" pc-01", "fake", "   ", "mala", "Mreža"}) {
            w.Manual->setText(typed);
            w.Manual_KeyPress(13);
            QCOMPARE(w.Manual->text(), typed); // kept for correcting
        }
        QCOMPARE(f.boxes.texts, QStringList(5, "Taj primalac trenutno ne postoji u ovoj mreži!"));
        QCOMPARE(f.boxes.icons.last(), MessageBoxes::Icon::Critical);
        w.Manual->clear();
        w.Manual_KeyPress(13); // empty: nothing at all
        QCOMPARE(f.boxes.texts.size(), 5);
    }
};

QTEST_MAIN(TestRecipients)
#include "tst_recipients.moc"
