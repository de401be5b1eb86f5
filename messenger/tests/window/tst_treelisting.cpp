// SPDX-License-Identifier: GPL-3.0-or-later
// The tree over real listing children (the fake lister stands in for
// vesnal-net): one pass's listings wait together, yet the tree ends exactly
// as a walk that waits for each listing in turn leaves it, and a node whose
// host did not answer lists once it does.
#include "net/systemnetwork.h"
#include "networkwindow.h"
#include "oneatatime.h"
#include "platform/linux/smbbrowser.h"

#include <QtTest>

namespace
{

constexpr std::chrono::milliseconds Deadline(1000);

// Every node in tree order: key, text, picture, tag; placeholders included.
QStringList dump(const QTreeWidgetItem *item, int depth = 0)
{
    QStringList lines;
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem *c = item->child(i);
        lines << QString(depth, ' ') + frmNWCheck::nodeKey(c) + '|' + c->text(0) + '|' +
                     frmNWCheck::nodeImage(c) + '|' + frmNWCheck::nodeTag(c);
        lines << dump(c, depth + 1);
    }
    return lines;
}

std::unique_ptr<NetworkProvider> browser()
{
    return makeSystemNetwork(
        std::make_unique<SmbBrowser>(QStringLiteral(VESNAL_FAKE_LISTER), Deadline));
}

} // namespace

class TestTreeListing : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { qputenv("FAKE_LISTER_DIR", QFile::encodeName(m_dir.path())); }

    void overlappedPassesLeaveTheTreeOfTheWalkOneByOne()
    {
        NetworkWindow together(browser());
        NetworkWindow oneByOne(std::make_unique<OneAtATime>(browser()));
        // The listings of a pass waited together: one deadline in all.
        const qint64 ms = together.loadAndActivate();
        qInfo("activation: %lld ms, one listing at a time: %lld ms", ms,
              oneByOne.loadAndActivate());
        QVERIFY2(ms < Deadline.count() * 3 / 2, QByteArray::number(ms));
        const auto root = [](const NetworkWindow &w) {
            return dump(w.window.tvwNetwork->invisibleRootItem());
        };
        QCOMPARE(root(together), root(oneByOne));

        QCOMPARE(together.state("ZIVA"), QString("Y:PC-01,PC-02"));
        QCOMPARE(together.state("SPORA"), QString("Y:PC-05"));
        QCOMPARE(together.state("ODBIJA"), QString("Y:")); // refused: listed, empty
        for (const char *silent : {"TIHA", "PADA", "SMECE", "OGROMNA", "VRACA"})
            QCOMPARE(together.state(silent), QString("N:FAKE")); // no answer: still unlisted
        QCOMPARE(together.state("ZIVA2"), QString("N:"));        // PC-01 again: broken off

        // The next activation asks the silent ones again, in one wait.
        QElapsedTimer clock;
        clock.start();
        together.window.Form_Activate();
        QVERIFY2(clock.elapsed() < Deadline.count() * 3 / 2, QByteArray::number(clock.elapsed()));
        QCOMPARE(together.state("TIHA"), QString("N:FAKE"));
    }

    void aLiveWorkgroupBehindManySilentOnesGetsItsTurn()
    {
        // Sixteen silent workgroups before the live one: eight take every
        // slot of an activation's listings, and the rest get no turn. Those
        // asked longest ago go first, so the live one is asked by the third.
        QStringList top;
        for (int i = 1; i <= 16; ++i)
            top << QString("TIHA%1").arg(i);
        qputenv("FAKE_LISTER_TOP", (top.join(' ') + " ZIVA").toLatin1());
        NetworkWindow w(browser());
        w.loadAndActivate();
        qunsetenv("FAKE_LISTER_TOP");
        w.window.Form_Activate();
        QCOMPARE(w.state("ZIVA"), QString("N:FAKE"));
        w.window.Form_Activate();
        QCOMPARE(w.state("ZIVA"), QString("Y:PC-01,PC-02"));
    }

    void aNodeWithoutAnswerListsOnceItsHostAnswers()
    {
        NetworkWindow w(browser());
        w.loadAndActivate();
        QCOMPARE(w.state("VRACA"), QString("N:FAKE"));
        QFile awake(m_dir.filePath("budna"));
        QVERIFY(awake.open(QIODevice::WriteOnly));
        w.window.tvwNetwork_Expand(w.node("VRACA"));
        QCOMPARE(w.state("VRACA"), QString("Y:PC-07"));
    }
};

QTEST_MAIN(TestTreeListing)
#include "tst_treelisting.moc"
