// SPDX-License-Identifier: GPL-3.0-or-later
// The network tree: what the load step shows, how the activation passes
// and the Expand handler list it, and how bad listings break off.
#include "windowfixture.h"

#include <QtTest>

class TestTree : public QObject
{
    Q_OBJECT
private slots:
    void loadShowsProvidersAndTwoPassesListTwoLevels()
    {
        WindowFixture f;
        f.net.add("", "Web Client Network", NetDisplay::Network);
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make({}, false);
        QTreeWidgetItem *root = f.node("_ROOT");
        QCOMPARE(root->text(0), QString("Mreža"));
        QCOMPARE(frmNWCheck::nodeImage(root) + frmNWCheck::nodeTag(root), QString("rootY"));
        QVERIFY(root->isExpanded());
        QCOMPARE(f.childTexts("_ROOT"), QStringList{"SMB"});
        QCOMPARE(frmNWCheck::nodeImage(f.node("SMB")) + frmNWCheck::nodeTag(f.node("SMB")),
                 QString("networkN"));
        QCOMPARE(f.childTexts("SMB"), QStringList{"FAKE"});
        QCOMPARE(frmNWCheck::nodeKey(f.node("SMB")->child(0)), QString("SMB_FAKE"));

        w.Form_Activate();
        QCOMPARE(f.childTexts("SMB"), (QStringList{"RADNAGRUPA", "DRUGA"}));
        QCOMPARE(f.childTexts("RADNAGRUPA"), (QStringList{"PC-01", "PC-02"}));
        QCOMPARE(frmNWCheck::nodeTag(f.node("RADNAGRUPA")), QString("Y"));
        QCOMPARE(f.node("\\\\PC-01")->childCount(), 0); // servers are leaves, never listed
        QCOMPARE(f.net.listings("\\\\PC-01"), 0);
    }

    void listedNodesAreNeverListedAgain()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make({}, false);
        w.tvwNetwork_Expand(f.node("SMB_FAKE")); // a placeholder: nothing
        w.tvwNetwork_Expand(f.node("_ROOT"));
        QCOMPARE(f.net.totalListings(), 1);
        f.node("SMB")->setExpanded(true); // the tree's own Expand event lists it
        QCOMPARE(f.childTexts("SMB"), (QStringList{"RADNAGRUPA", "DRUGA"}));
        w.Form_Activate();
        const int listed = f.net.totalListings();
        const int nodeCount = w.nodes.size();
        f.node("SMB")->setExpanded(false);
        f.node("SMB")->setExpanded(true);
        w.tvwNetwork_Expand(f.node("RADNAGRUPA"));
        w.tvwNetwork_Expand(f.node("\\\\PC-01"));
        w.Form_Activate();
        QCOMPARE(f.net.totalListings(), listed);
        QCOMPARE(w.nodes.size(), nodeCount);
    }

    void sharesAndFailedOpensEndListedWithoutChildren()
    {
        WindowFixture f;
        f.net.add("", "SMB", NetDisplay::Network);
        f.net.add("SMB", "\\\\PC-01\\javno", NetDisplay::Share);
        f.net.add("SMB", "\\\\PC-01\\zatvoreno", NetDisplay::Share);
        f.net.add("SMB", "PRAZNA", NetDisplay::Domain);
        f.net.add("\\\\PC-01\\javno", "\\\\PC-01\\javno\\x", NetDisplay::Directory);
        f.net.makeReachable("\\\\PC-01\\javno");
        f.net.failOpen("PRAZNA", 1000);
        f.make();
        for (const char *key : {"\\\\PC-01\\javno", "\\\\PC-01\\zatvoreno", "PRAZNA"}) {
            QCOMPARE(frmNWCheck::nodeTag(f.node(key)), QString("Y"));
            QCOMPARE(f.node(key)->childCount(), 0);
        }
        QCOMPARE(f.net.listings("\\\\PC-01\\javno"), 0); // reachable: not enumerated
        QCOMPARE(f.net.listings("\\\\PC-01\\zatvoreno"), 1);
    }

    void duplicateKeysAndMissingPicturesBreakTheListingOff()
    {
        WindowFixture f;
        f.net.add("", "SMB", NetDisplay::Network);
        const QString longName = "\\\\" + QString(1000, QLatin1Char('Q'));
        for (const QString &name : {QString("A"), QString("B"), QString("C"), QString("\\\\"),
                                    longName, QString("X_FAKE"), QString("X"), QString("W")})
            f.net.add("SMB", name, NetDisplay::Domain);
        f.net.add("A", "\\\\PC-01", NetDisplay::Server);
        for (const char *name : {"\\\\PC-09", "\\\\PC-01", "\\\\PC-10"}) // PC-01 is under A
            f.net.add("B", name, NetDisplay::Server);
        f.net.add("C", "\\\\PC-20", NetDisplay::Server);
        f.net.add("C", "nesto", NetDisplay::Generic); // "generic" has no picture
        f.net.add("C", "\\\\PC-21", 99);
        f.net.add(longName, longName + "\\child", NetDisplay::Server);
        frmNWCheck &w = f.make();
        w.Form_Activate();
        QCOMPARE(f.childTexts("B"), QStringList{"PC-09"});
        QCOMPARE(f.childTexts("C"), QStringList{"PC-20"});
        QCOMPARE(frmNWCheck::nodeTag(f.node("B")) + frmNWCheck::nodeTag(f.node("C")),
                 QString("NN"));
        QCOMPARE(f.childTexts(longName), QStringList{"child"});
        QVERIFY(f.node("\\\\"));
        // "X_FAKE" holds the key X's placeholder needs: SMB breaks off at X
        // (X stays, without children), and W after it is missing.
        QCOMPARE(f.node("X")->childCount(), 0);
        QVERIFY(f.node("X_FAKE") && !f.node("W"));
        QCOMPARE(frmNWCheck::nodeTag(f.node("SMB")), QString("N"));
        const int listed = f.net.totalListings();
        w.tvwNetwork_Expand(f.node("B"));
        w.tvwNetwork_Expand(f.node("X")); // never takes the real X_FAKE for a placeholder
        QVERIFY(f.node("X_FAKE"));
        QCOMPARE(f.net.totalListings(), listed);
    }

    void unansweredNodesStayUnlistedAndAreAskedAgain()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.noAnswer("RADNAGRUPA", 2);
        f.net.failOpen("DRUGA", 1);
        frmNWCheck &w = f.make();
        // No answer: tag "N" and the placeholder kept. A refusal ends
        // listed and empty, as before.
        QCOMPARE(frmNWCheck::nodeTag(f.node("RADNAGRUPA")), QString("N"));
        QCOMPARE(f.childTexts("RADNAGRUPA"), QStringList{"FAKE"});
        QCOMPARE(frmNWCheck::nodeTag(f.node("DRUGA")), QString("Y"));
        QCOMPARE(f.node("DRUGA")->childCount(), 0);
        QCOMPARE(f.net.listings("RADNAGRUPA"), 1); // the second pass asked it once
        // Expanded by hand with still no answer: closed again, so that
        // opening it once more asks again; then it lists.
        f.node("SMB")->setExpanded(true);
        f.node("RADNAGRUPA")->setExpanded(true);
        QVERIFY(!f.node("RADNAGRUPA")->isExpanded());
        QCOMPARE(f.childTexts("RADNAGRUPA"), QStringList{"FAKE"});
        f.node("RADNAGRUPA")->setExpanded(true);
        QVERIFY(f.node("RADNAGRUPA")->isExpanded());
        QCOMPARE(f.childTexts("RADNAGRUPA"), (QStringList{"PC-01", "PC-02"}));
        QCOMPARE(frmNWCheck::nodeTag(f.node("RADNAGRUPA")), QString("Y"));
        QCOMPARE(f.net.listings("RADNAGRUPA"), 3);
        const int listed = f.net.totalListings();
        w.Form_Activate();
        QCOMPARE(f.net.totalListings(), listed);
    }

    void anUnansweredNodeIsAskedOncePerActivation()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.noAnswer("SMB", 100);
        frmNWCheck &w = f.make({"/H"}); // three passes
        QCOMPARE(f.net.listings("SMB"), 1);
        w.ExpandAllNodes(); // as Enter in the name box or ">>" run it
        QCOMPARE(f.net.listings("SMB"), 1);
        w.Form_Activate();
        QCOMPARE(f.net.listings("SMB"), 2);
        w.tvwNetwork_Expand(f.node("SMB")); // by hand: asked at once
        QCOMPARE(f.net.listings("SMB"), 3);
        QCOMPARE(f.childTexts("SMB"), QStringList{"FAKE"});
    }

    void eachPassAsksAheadForTheListingsItWillNeed()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.net.add("SMB", "\\\\PC-01\\javno", NetDisplay::Share);
        f.net.noAnswer("DRUGA", 1);
        frmNWCheck &w = f.make();
        // Pass 1: the provider; pass 2: its workgroups (not the share, whose
        // test comes first, nor servers). Each pass drops what is left.
        QCOMPARE(f.net.aheadCalls, (QList<QStringList>{{"SMB"}, {}, {"RADNAGRUPA", "DRUGA"}, {}}));
        f.net.aheadCalls.clear();
        w.Form_Activate(); // only the unanswered one is left
        QCOMPARE(f.net.aheadCalls, (QList<QStringList>{{"DRUGA"}, {}, {}, {}}));
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
