// The recipient list: from the tree, by name, the whole network, the own
// group; removing; the count box; and where the focus goes.
#include "windowfixture.h"

#include <QtTest>

namespace {
QStringList entries(const frmNWCheck &w)
{
    QStringList e;
    for (int i = 0; i < w.List1->count(); ++i)
        e.append(w.List1->item(i)->text());
    return e;
}
QWidget *focused()
{
    return QApplication::focusWidget();
}
} // namespace

class TestRecipients : public QObject {
    Q_OBJECT
private slots:
    void serverIsAddedOnceAndADuplicateLeavesTheFocus()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        QVERIFY(f.showActive());
        w.tvwNetwork->setCurrentItem(f.node("\\\\PC-01"));
        w.AddItem_Click();
        QCOMPARE(entries(w), QStringList{"PC-01"});
        QTRY_COMPARE(focused(), static_cast<QWidget *>(w.List1));
        QCOMPARE(w.Total->text(), QString("1"));
        w.Manual->setFocus();
        QTRY_COMPARE(focused(), static_cast<QWidget *>(w.Manual));
        w.AddItem_Click();
        QCOMPARE(entries(w), QStringList{"PC-01"});
        QCOMPARE(focused(), static_cast<QWidget *>(w.Manual));
    }

    void domainAddsItsServersInTreeOrderWithoutOpeningIt()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.add("SMB", "TRECA", NetDisplay::Domain);
        frmNWCheck &w = f.make({}, false); // nothing below the providers listed yet
        w.tvwNetwork_Expand(f.node("SMB"));
        w.AddItem_Click(); // no selection: nothing
        QVERIFY(entries(w).isEmpty());
        w.tvwNetwork->setCurrentItem(f.node("RADNAGRUPA"));
        w.AddItem_Click();
        QCOMPARE(entries(w), (QStringList{"PC-01", "PC-02"}));
        QVERIFY(!f.node("RADNAGRUPA")->isExpanded());
        QCOMPARE(w.Total->text(), QString("2"));
        w.AddItem_Click();
        QCOMPARE(entries(w).size(), 2);
        w.tvwNetwork->setCurrentItem(f.node("TRECA")); // a workgroup without servers
        w.AddItem_Click();
        QCOMPARE(entries(w).size(), 2);
    }

    void rootProviderAndShareAddNothing()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.add("SMB", "\\\\PC-01\\javno", NetDisplay::Share);
        frmNWCheck &w = f.make();
        for (const char *key : {"_ROOT", "SMB", "\\\\PC-01\\javno"}) {
            w.tvwNetwork->setCurrentItem(f.node(key));
            w.AddItem_Click();
        }
        QVERIFY(entries(w).isEmpty());
    }

    void removeAndResetFollowTheCount()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        w.tvwNetwork->setCurrentItem(f.node("RADNAGRUPA"));
        w.AddItem_Click();
        w.List1->clearSelection();
        w.List1->setCurrentRow(-1);
        w.RemoveItem_Click(); // nothing selected: nothing removed
        QCOMPARE(entries(w).size(), 2);
        w.List1->setCurrentRow(0);
        w.RemoveItem_Click();
        QCOMPARE(entries(w), QStringList{"PC-02"});
        QCOMPARE(w.Total->text(), QString("1"));
        w.tvwNetwork->setCurrentItem(f.node("\\\\PC-01"));
        w.AddItem_Click(); // removed entries can be added again
        QCOMPARE(entries(w), (QStringList{"PC-02", "PC-01"}));
        w.List1->setCurrentRow(1);
        w.RemoveItem_Click();
        w.List1->setCurrentRow(0);
        w.RemoveItem_Click();
        QCOMPARE(w.Total->text(), QString("0"));
        w.AddItem_Click();
        w.ResetList_Click();
        QVERIFY(entries(w).isEmpty());
        QCOMPARE(w.Total->text(), QString("0"));
    }

    void groupEntryIsListedOnceAndBlanksTheCount()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make();
        w.ToLocalGroup_Click();
        w.ToLocalGroup_Click();
        QCOMPARE(entries(w), QStringList{"SVI u mojoj grupi / mom domenu"});
        QCOMPARE(w.Total->text(), QString(" "));
        w.tvwNetwork->setCurrentItem(f.node("RADNAGRUPA"));
        w.AddItem_Click();
        QCOMPARE(w.Total->text(), QString(" "));
        w.List1->setCurrentRow(0);
        w.RemoveItem_Click();
        QCOMPARE(w.Total->text(), QString("2"));
    }

    void toAllAsksThenReplacesTheListWithEveryServer()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.add("RADNAGRUPA", "\\\\FAKE", NetDisplay::Server);
        f.net.add("SMB", "TRECA", NetDisplay::Domain);
        f.net.add("TRECA", "\\\\PC-01", NetDisplay::Server); // same key: never in the tree
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.ToLocalGroup_Click();
        f.boxes.answerYes = false;
        w.ToAll_Click();
        QCOMPARE(f.boxes.questions,
                 QStringList{"Sigurno želiš da primaoci ove poruke budu BAŠ SVI u mreži?"});
        QCOMPARE(entries(w).size(), 1);
        QTRY_COMPARE(focused(), static_cast<QWidget *>(w.Manual));
        f.boxes.answerYes = true;
        w.ToAll_Click();
        // A server named like the placeholder text is left out, as any "FAKE".
        QCOMPARE(entries(w), (QStringList{"PC-01", "PC-02", "PC-03"}));
        QCOMPARE(w.Total->text(), QString("3"));
        QTRY_COMPARE(focused(), static_cast<QWidget *>(w.List1));
    }

    void toAllOnANetworkWithoutServersEndsEmpty()
    {
        WindowFixture f;
        f.net.add("", "SMB", NetDisplay::Network);
        frmNWCheck &w = f.make();
        w.ToLocalGroup_Click();
        w.ToAll_Click();
        QVERIFY(entries(w).isEmpty());
        QCOMPARE(w.Total->text(), QString("0"));
    }

    void typedNameIsUpperCasedAndMatchedExactly()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.add("DRUGA", "\\\\ČAČAK-ĐŽ", NetDisplay::Server);
        f.net.add("DRUGA", "\\\\Mala", NetDisplay::Server);
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.Manual->setText("pc-02");
        QTest::keyClick(w.Manual, Qt::Key_Return); // Enter lists the tree first
        QCOMPARE(entries(w), QStringList{"PC-02"});
        QVERIFY(w.Manual->text().isEmpty());
        QTRY_COMPARE(focused(), static_cast<QWidget *>(w.Manual));
        QCOMPARE(w.Total->text(), QString("1"));
        w.Manual->setText("čačak-đž");
        w.Manual_KeyPress(13);
        QCOMPARE(entries(w).last(), QString("ČAČAK-ĐŽ"));
        w.Manual->setText("radnagrupa"); // any node matches, not only servers
        w.Manual_KeyPress(13);
        QCOMPARE(entries(w).last(), QString("RADNAGRUPA"));
        QVERIFY(f.boxes.shown.isEmpty());

        for (const char *typed : {" pc-01", "fake", "FAKE", "   ", "mala", "Mreža"}) {
            w.Manual->setText(typed);
            w.Manual_KeyPress(13);
            QCOMPARE(f.boxes.texts().last(), QString("Taj primalac trenutno ne postoji u ovoj mreži!"));
            QCOMPARE(f.boxes.shown.last().icon, MessageBoxes::Icon::Critical);
            QCOMPARE(w.Manual->text(), QString(typed)); // kept for correcting
        }
        QCOMPARE(f.boxes.shown.size(), 6);
        w.Manual->clear();
        w.Manual_KeyPress(13); // empty: nothing at all
        w.Manual->setText("pc-01");
        w.Manual_KeyPress(65); // only Enter acts
        QCOMPARE(f.boxes.shown.size(), 6);
        QCOMPARE(entries(w).size(), 3);
    }
};

QTEST_MAIN(TestRecipients)
#include "tst_recipients.moc"
