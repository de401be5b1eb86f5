// The network tree: what the load step shows, how the activation passes
// and the Expand handler list it, and how bad listings break off.
#include "netnode.h"
#include "windowfixture.h"

#include <QtTest>

class TestTree : public QObject {
    Q_OBJECT
private slots:
    void loadShowsRootAndProvidersWithPlaceholders()
    {
        WindowFixture f;
        f.net.add("", "Web Client Network", NetDisplay::Network);
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make({}, false);
        QTreeWidgetItem *root = f.node("_ROOT");
        QVERIFY(root);
        QCOMPARE(root->text(0), QString("Mreža"));
        QCOMPARE(frmNWCheck::nodeImage(root), QString("root"));
        QCOMPARE(frmNWCheck::nodeTag(root), QString("Y"));
        QVERIFY(root->isExpanded());
        QCOMPARE(f.childTexts("_ROOT"), QStringList{"SMB"});
        QTreeWidgetItem *smb = f.node("SMB");
        QCOMPARE(frmNWCheck::nodeTag(smb), QString("N"));
        QCOMPARE(frmNWCheck::nodeImage(smb), QString("network"));
        QCOMPARE(f.childTexts("SMB"), QStringList{"FAKE"});
        QCOMPARE(frmNWCheck::nodeKey(smb->child(0)), QString("SMB_FAKE"));
        QCOMPARE(frmNWCheck::nodeImage(smb->child(0)), QString("server"));
        QCOMPARE(w.Total->text(), QString("0"));
        QCOMPARE(f.net.totalListings(), 1);
    }

    void twoPassesListTwoLevelsAndNothingIsListedAgain()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.add("\\\\PC-01", "\\\\PC-01\\deljeno", NetDisplay::Share);
        frmNWCheck &w = f.make();
        QCOMPARE(f.childTexts("SMB"), (QStringList{"RADNAGRUPA", "DRUGA"}));
        QCOMPARE(f.childTexts("RADNAGRUPA"), (QStringList{"PC-01", "PC-02"}));
        QCOMPARE(frmNWCheck::nodeImage(f.node("\\\\PC-01")), QString("server"));
        QCOMPARE(f.node("\\\\PC-01")->childCount(), 0); // servers are leaves
        QCOMPARE(frmNWCheck::nodeTag(f.node("\\\\PC-01")), QString("N"));
        QCOMPARE(frmNWCheck::nodeTag(f.node("RADNAGRUPA")), QString("Y"));
        QCOMPARE(f.net.listings("\\\\PC-01"), 0);
        const int listed = f.net.totalListings();
        const int nodeCount = w.nodes.size();
        w.Form_Activate();
        w.tvwNetwork_Expand(f.node("RADNAGRUPA"));
        f.node("RADNAGRUPA")->setExpanded(false);
        f.node("RADNAGRUPA")->setExpanded(true);
        QCOMPARE(f.net.totalListings(), listed);
        QCOMPARE(w.nodes.size(), nodeCount);
    }

    void handlerOnRootPlaceholderListedAndServerChangesNothing()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.add("", "OSTALO", NetDisplay::Network);
        frmNWCheck &w = f.make({}, false);
        const int listed = f.net.totalListings();
        w.tvwNetwork_Expand(f.node("_ROOT"));
        w.tvwNetwork_Expand(f.node("SMB_FAKE"));
        QVERIFY(f.node("SMB_FAKE")); // a placeholder is not removed by its own expansion
        QCOMPARE(f.net.totalListings(), listed);
        w.tvwNetwork_Expand(f.node("SMB"));
        w.tvwNetwork_Expand(f.node("RADNAGRUPA"));
        const int after = f.net.totalListings();
        const int nodeCount = w.nodes.size();
        w.tvwNetwork_Expand(f.node("SMB"));
        w.tvwNetwork_Expand(f.node("\\\\PC-01"));
        QCOMPARE(f.net.totalListings(), after);
        QCOMPARE(w.nodes.size(), nodeCount);
        QVERIFY(f.node("OSTALO_FAKE")); // untouched sibling
    }

    void expandingByHandListsOnce()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.make({}, false);
        f.node("SMB")->setExpanded(true); // the tree's own Expand event
        QCOMPARE(f.childTexts("SMB"), (QStringList{"RADNAGRUPA", "DRUGA"}));
        f.node("SMB")->setExpanded(false);
        f.node("SMB")->setExpanded(true);
        QCOMPARE(f.net.listings("SMB"), 1);
        QCOMPARE(f.childTexts("SMB"), (QStringList{"RADNAGRUPA", "DRUGA"}));
    }

    void failedOpenEndsListedWithoutChildren()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.failOpen("DRUGA", 5);
        f.make();
        QCOMPARE(frmNWCheck::nodeTag(f.node("DRUGA")), QString("Y"));
        QCOMPARE(f.node("DRUGA")->childCount(), 0);
    }

    void duplicateKeyAndGenericNodeBreakTheListingOff()
    {
        WindowFixture f;
        f.net.add("", "SMB", NetDisplay::Network);
        f.net.add("SMB", "A", NetDisplay::Domain);
        f.net.add("SMB", "B", NetDisplay::Domain);
        f.net.add("A", "\\\\PC-01", NetDisplay::Server);
        f.net.add("B", "\\\\PC-09", NetDisplay::Server);
        f.net.add("B", "\\\\PC-01", NetDisplay::Server); // already in the tree under A
        f.net.add("B", "\\\\PC-10", NetDisplay::Server);
        f.net.add("SMB", "C", NetDisplay::Domain);
        f.net.add("C", "\\\\PC-20", NetDisplay::Server);
        f.net.add("C", "nesto", NetDisplay::Generic); // "generic" has no picture
        f.net.add("C", "\\\\PC-21", NetDisplay::Server);
        frmNWCheck &w = f.make();
        QCOMPARE(f.childTexts("B"), QStringList{"PC-09"});
        QCOMPARE(frmNWCheck::nodeTag(f.node("B")), QString("N"));
        QCOMPARE(f.childTexts("C"), QStringList{"PC-20"});
        QCOMPARE(frmNWCheck::nodeTag(f.node("C")), QString("N"));
        // Broken off for good: later passes leave it alone.
        const int listed = f.net.totalListings();
        w.Form_Activate();
        w.tvwNetwork_Expand(f.node("B"));
        QCOMPARE(f.childTexts("B"), QStringList{"PC-09"});
        QCOMPARE(f.net.totalListings(), listed);
    }

    void reachableShareEndsListedWithoutChildren()
    {
        WindowFixture f;
        f.net.add("", "SMB", NetDisplay::Network);
        f.net.add("SMB", "\\\\PC-01\\javno", NetDisplay::Share);
        f.net.add("SMB", "\\\\PC-01\\zatvoreno", NetDisplay::Share);
        f.net.add("\\\\PC-01\\javno", "\\\\PC-01\\javno\\x", NetDisplay::Directory);
        f.net.makeReachable("\\\\PC-01\\javno");
        f.make();
        QCOMPARE(frmNWCheck::nodeTag(f.node("\\\\PC-01\\javno")), QString("Y"));
        QCOMPARE(f.node("\\\\PC-01\\javno")->childCount(), 0);
        QCOMPARE(f.net.listings("\\\\PC-01\\javno"), 0);
        // An unreachable share is listed like any other node.
        QCOMPARE(frmNWCheck::nodeTag(f.node("\\\\PC-01\\zatvoreno")), QString("Y"));
        QCOMPARE(f.net.listings("\\\\PC-01\\zatvoreno"), 1);
    }

    void badNamesNeverCrashOrHang()
    {
        WindowFixture f;
        f.net.add("", "SMB", NetDisplay::Network);
        const QString longName = "\\\\" + QString(1000, QLatin1Char('Q'));
        for (const QString &name : {QString(), QString("\\\\"), QString("\\\\\\\\\\"), longName,
                                    longName, QString("X_FAKE"), QString("X")})
            f.net.add("SMB", name, NetDisplay::Domain);
        f.net.add("SMB", "Z", 99); // outside the table: no picture, refused
        f.net.add("SMB", "W", NetDisplay::Domain);
        for (const QString &name : {QString("\\\\"), longName})
            f.net.add(name, name + "\\\\child", NetDisplay::Server);
        frmNWCheck &w = f.make();
        w.Form_Activate();
        QVERIFY(f.node(""));
        QVERIFY(f.node(longName));
        QCOMPARE(f.node(longName)->text(0), longName.mid(2));
        QCOMPARE(f.childTexts(longName), QStringList{"child"});
        // "X_FAKE" takes the key X's placeholder would need: the listing of
        // SMB breaks off at X, and the nodes after it are missing.
        QVERIFY(f.node("X"));
        QCOMPARE(f.node("X")->childCount(), 0);
        QVERIFY(!f.node("W"));
        QCOMPARE(frmNWCheck::nodeTag(f.node("SMB")), QString("N"));
    }

    void everyLevelFailingToOpenLeavesATreeThatStillWorks()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        for (const char *key : {"", "SMB", "RADNAGRUPA", "DRUGA"})
            f.net.failOpen(key, 1000);
        frmNWCheck &w = f.make();
        QCOMPARE(f.childTexts("_ROOT"), QStringList());
        w.Form_Activate();
        QCOMPARE(w.nodes.size(), 1);
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
