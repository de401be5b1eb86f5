// SPDX-License-Identifier: GPL-3.0-or-later
// The network tree: what the load step shows, how the activation passes and
// the Expand handler list it and how bad listings break off, on a fake
// network; then over real listing children (the fake lister stands in for
// vesnal-net) and the list file, where one pass's listings wait together yet
// the tree ends exactly as a walk that waits for each listing in turn leaves it.
#include "net/systemnetwork.h"
#include "oneatatime.h"
#include "platform/linux/smbbrowser.h"
#include "windowfixture.h"

#include <QtTest>

namespace
{

constexpr std::chrono::milliseconds Deadline(1000);

// Every node in tree order: key, text, picture, tag; placeholders included.
QStringList dump(const NetworkTree &tree, const QModelIndex &parent = {}, int depth = 0)
{
    QStringList lines;
    for (int i = 0; i < tree.rowCount(parent); ++i) {
        const QModelIndex c = tree.index(i, 0, parent);
        const NetResource *n = tree.nodeAt(c);
        lines << QString(depth, ' ') + n->key() + '|' + c.data().toString() + '|' +
                     pictureKey(n->kind()) + '|' + n->tag();
        lines << dump(tree, c, depth + 1);
    }
    return lines;
}

std::unique_ptr<NetworkProvider> browser()
{
    return makeSystemNetwork(
        std::make_unique<SmbBrowser>(QStringLiteral(VESNAL_FAKE_LISTER), Deadline));
}

} // namespace

class TestTree : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        // The lister's folder holds the list file too; this computer is PC-09 of KUCA.
        QVERIFY(QDir(m_dir.path()).mkpath("Vesnal"));
        QFile list(m_dir.filePath("Vesnal/mreza.txt"));
        QVERIFY(list.open(QIODevice::WriteOnly) &&
                list.write("[KANCELARIJA]\nPC-11 prvi\nPC-12\n"));
        for (const char *name : {"FAKE_LISTER_DIR", "XDG_CONFIG_HOME"})
            qputenv(name, QFile::encodeName(m_dir.path()));
        qputenv("VESNAL_NETBIOS_NAME", "PC-09");
        qputenv("VESNAL_WORKGROUP", "KUCA");
    }

    void loadThenTwoPassesListTwoLevelsOnce()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        const MainControls c(w);
        const QModelIndex root = f.node("_ROOT");
        QVERIFY(c.tvwNetwork->isExpanded(root) && f.node("SMB_FAKE").isValid());
        QCOMPARE(f.states({"_ROOT", "SMB"}), "Y:SMB N:FAKE");
        c.tvwNetwork->expand(f.node("SMB_FAKE")); // on a placeholder, or the root: nothing
        c.tvwNetwork->collapse(root);
        c.tvwNetwork->expand(root);
        QCOMPARE(f.net.totalListings(), 1);

        w.Form_Activate();
        QCOMPARE(f.states({"SMB", "RADNAGRUPA", "\\\\PC-01"}),
                 "Y:RADNAGRUPA,DRUGA Y:PC-01,PC-02 N:"); // servers are leaves
        // Listed nodes and servers are never listed again.
        const int listed = f.net.totalListings(), count = c.nodes.size();
        c.tvwNetwork->collapse(f.node("SMB"));
        c.tvwNetwork->expand(f.node("SMB"));
        c.tvwNetwork->expand(f.node("RADNAGRUPA"));
        c.tvwNetwork->expand(f.node("\\\\PC-01"));
        w.Form_Activate();
        QCOMPARE(f.net.totalListings(), listed);
        QCOMPARE(c.nodes.size(), count);
    }

    void oddListingsEndAsTheFailureRulesSay()
    {
        WindowFixture f(false);
        f.net.add("", "SMB", NetDisplay::Network);
        const QString javno = "\\\\PC-01\\javno", zatvoreno = "\\\\PC-01\\zatvoreno";
        f.net.add("SMB", javno, NetDisplay::Share);
        f.net.add("SMB", zatvoreno, NetDisplay::Share);
        f.net.add(javno, javno + "\\x", NetDisplay::Directory);
        f.net.makeReachable(javno);
        const QString longName = "\\\\" + QString(1000, QLatin1Char('Q'));
        for (const QString &name : QStringList{"A", "B", "C", "\\\\", longName, "X_FAKE", "X", "W"})
            f.net.add("SMB", name, NetDisplay::Domain);
        f.net.add("A", "\\\\PC-01", NetDisplay::Server);
        f.net.add("A", "\\\\pc-09", NetDisplay::Server); // tree keys are exact: B's PC-09 stays
        for (const char *name : {"\\\\PC-09", "\\\\PC-01", "\\\\PC-10"}) // PC-01 is under A
            f.net.add("B", name, NetDisplay::Server);
        f.net.add("C", "\\\\PC-20", NetDisplay::Server);
        f.net.add("C", "nesto", NetDisplay::Generic); // "generic" has no picture
        f.net.add("C", "\\\\PC-21", 99);
        f.net.add(longName, longName + "\\child", NetDisplay::Server);
        frmNWCheck &w = f.make();
        const MainControls c(w);
        w.Form_Activate();
        // A reachable share is not listed; a closed one is listed, empty.
        QCOMPARE(f.states({javno, zatvoreno}), "Y: Y:");
        QCOMPARE(f.net.listings(javno), 0);
        QCOMPARE(f.net.listings(zatvoreno), 1);
        // A duplicate key or a missing picture breaks the listing off there.
        QCOMPARE(f.states({"A", "B", "C", longName, "\\\\"}),
                 "Y:PC-01,pc-09 N:PC-09 N:PC-20 Y:child Y:");
        // "X_FAKE" holds the key X's placeholder needs: SMB breaks off at X
        // (X stays, without children), and W after it is missing.
        QCOMPARE(f.states({"X", "X_FAKE", "W"}), "N: Y: none");
        QCOMPARE(c.nodes.nodeAt(f.node("SMB"))->tag(), "N");
        const int listed = f.net.totalListings();
        c.tvwNetwork->expand(f.node("B"));
        c.tvwNetwork->expand(f.node("X")); // never takes the real X_FAKE for a placeholder
        QVERIFY(f.node("X_FAKE").isValid());
        QCOMPARE(f.net.totalListings(), listed);
    }

    void unansweredNodesStayUnlistedAndAreAskedAgain()
    {
        WindowFixture f;
        f.net.add("SMB", "\\\\PC-01\\javno", NetDisplay::Share);
        f.net.noAnswer("RADNAGRUPA", 3);
        f.net.failOpen("DRUGA");
        frmNWCheck &w = f.make();
        const MainControls c(w);
        // No answer: unlisted, its placeholder kept. A refusal ends listed and empty.
        QCOMPARE(f.states({"RADNAGRUPA", "DRUGA"}), "N:FAKE Y:");
        // Each pass asks ahead for what it will list: the provider, then its
        // workgroups (not the share, whose test comes first).
        QCOMPARE(f.net.aheadCalls, (QList<QStringList>{{"SMB"}, {"RADNAGRUPA", "DRUGA"}}));
        f.net.aheadCalls.clear();
        // The next activation asks only the unanswered one, once for all its
        // passes; Enter in the name box and ">>" do not ask it again.
        w.Form_Activate();
        QCOMPARE(f.net.aheadCalls, (QList<QStringList>{{"RADNAGRUPA"}}));
        c.Manual->setText("PC-09");
        QTest::keyClick(c.Manual, Qt::Key_Return);
        QCOMPARE(f.net.listings("RADNAGRUPA"), 2);
        // By hand it is asked at once; still no answer closes it again, so
        // that opening it once more asks again.
        c.tvwNetwork->expand(f.node("SMB"));
        c.tvwNetwork->expand(f.node("RADNAGRUPA"));
        QVERIFY(!c.tvwNetwork->isExpanded(f.node("RADNAGRUPA")));
        QCOMPARE(f.state("RADNAGRUPA"), "N:FAKE");
        c.tvwNetwork->expand(f.node("RADNAGRUPA"));
        QVERIFY(c.tvwNetwork->isExpanded(f.node("RADNAGRUPA")));
        QCOMPARE(f.state("RADNAGRUPA"), "Y:PC-01,PC-02");
        QCOMPARE(f.net.listings("RADNAGRUPA"), 4);
        const int listed = f.net.totalListings();
        w.Form_Activate();
        QCOMPARE(f.net.totalListings(), listed);
    }

    void theViewKeepsItsPlaceWhileTheTreeIsListed()
    {
        // The keys move through the tree and open its nodes; a listing that
        // adds nodes leaves the view scrolled where it was, on its node.
        WindowFixture f;
        for (int i = 10; i < 70; ++i)
            f.net.add("RADNAGRUPA", QString("\\\\PC-%1").arg(i), NetDisplay::Server);
        f.net.noAnswer("DRUGA", 100);
        const MainControls c(f.make());
        QVERIFY(f.showActive());
        f.net.answer("DRUGA");
        c.tvwNetwork->setFocus();
        c.tvwNetwork->setCurrentIndex(f.node("SMB"));
        const auto press = [&c](Qt::Key key) {
            QTest::keyClick(c.tvwNetwork, key);
            QCoreApplication::processEvents(); // the view lays itself out
        };
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_End})
            press(key);
        const int scrolled = c.tvwNetwork->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QCOMPARE(c.tvwNetwork->currentIndex(), f.node("DRUGA"));
        press(Qt::Key_Right); // answers now
        QCOMPARE(f.state("DRUGA"), "Y:PC-03");
        QCOMPARE(c.tvwNetwork->verticalScrollBar()->value(), scrolled);
        press(Qt::Key_Down);
        QCOMPARE(c.tvwNetwork->currentIndex(), f.node("\\\\PC-03"));
    }

    void overlappedPassesLeaveTheTreeOfTheWalkOneByOne()
    {
        NetworkWindow together(browser());
        NetworkWindow oneByOne(std::make_unique<OneAtATime>(browser()));
        // The listings of a pass waited together: one deadline in all.
        const qint64 ms = together.loadAndActivate();
        qInfo("activation: %lld ms, one listing at a time: %lld ms", ms,
              oneByOne.loadAndActivate());
        QVERIFY2(ms < Deadline.count() * 3 / 2, QByteArray::number(ms));
        QCOMPARE(dump(together.c.nodes), dump(oneByOne.c.nodes));

        QCOMPARE(together.c.state("ZIVA"), "Y:PC-01,PC-02");
        QCOMPARE(together.c.state(SystemNetwork::ListName + "\\KANCELARIJA"), "Y:PC-11,PC-12");
        QVERIFY(together.c.node(SystemNetwork::ListName + "\\KUCA\\\\PC-09").isValid());

        // The next activation asks the silent ones again, in one wait.
        QElapsedTimer clock;
        clock.start();
        together.window.Form_Activate();
        QVERIFY2(clock.elapsed() < Deadline.count() * 3 / 2, QByteArray::number(clock.elapsed()));
        QCOMPARE(together.c.state("TIHA"), "N:FAKE");
        // Once its host answers, expanding a node without answer lists it.
        QFile awake(m_dir.filePath("budna"));
        QVERIFY(awake.open(QIODevice::WriteOnly));
        together.c.tvwNetwork->expand(together.c.node("VRACA"));
        QCOMPARE(together.c.state("VRACA"), "Y:PC-07");
    }

    void aLiveWorkgroupBehindManySilentOnesGetsItsTurn()
    {
        // Sixteen silent workgroups before the live one: eight take every
        // slot of an activation's listings. Those asked longest ago go
        // first, so the live one is asked by the third activation.
        QStringList top;
        for (int i = 1; i <= 16; ++i)
            top << QString("TIHA%1").arg(i);
        qputenv("FAKE_LISTER_TOP", (top.join(' ') + " ZIVA").toLatin1());
        NetworkWindow w(browser());
        w.loadAndActivate();
        qunsetenv("FAKE_LISTER_TOP");
        w.window.Form_Activate();
        QCOMPARE(w.c.state("ZIVA"), "N:FAKE");
        w.window.Form_Activate();
        QCOMPARE(w.c.state("ZIVA"), "Y:PC-01,PC-02");
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
