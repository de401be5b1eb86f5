// The tree over real listing children (the fake lister stands in for
// vesnal-net): one pass's listings wait together, yet the tree ends exactly
// as a walk that waits for each listing in turn leaves it, and a node whose
// host did not answer lists once it does.
#include "fakemessageboxes.h"
#include "net/systemnetwork.h"
#include "oneatatime.h"
#include "platform/linux/smbbrowser.h"
#include "recordinglauncher.h"
#include "widgets/netnode.h"
#include "window/frmnwcheck.h"

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

struct Window {
    explicit Window(std::unique_ptr<NetworkProvider> net)
        : network(std::move(net)), window(*network, launcher, boxes, {})
    {
    }
    std::unique_ptr<NetworkProvider> network;
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;
    frmNWCheck window;
    QTreeWidgetItem *node(const QString &key) const { return window.nodes.find(key); }
    QStringList tree() const { return dump(window.tvwNetwork->invisibleRootItem()); }
};

std::unique_ptr<NetworkProvider> browser()
{
    return std::make_unique<SmbBrowser>(QStringLiteral(VESNAL_FAKE_LISTER), Deadline);
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
        Window together(makeSystemNetwork(browser()));
        Window oneByOne(std::make_unique<OneAtATime>(makeSystemNetwork(browser())));
        QElapsedTimer clock;
        for (Window *w : {&together, &oneByOne}) {
            w->window.Form_Load();
            clock.start();
            w->window.Form_Activate();
            qInfo("activation: %lld ms", clock.elapsed());
        }
        QCOMPARE(together.tree(), oneByOne.tree());

        // The listings of a pass waited together: one deadline in all.
        clock.start();
        Window again(makeSystemNetwork(browser()));
        again.window.Form_Load();
        again.window.Form_Activate();
        QVERIFY2(clock.elapsed() < Deadline.count() * 3 / 2, QByteArray::number(clock.elapsed()));

        const auto state = [&](const char *key) {
            QTreeWidgetItem *n = together.node(key);
            QStringList children;
            for (int i = 0; n && i < n->childCount(); ++i)
                children << n->child(i)->text(0);
            return n ? frmNWCheck::nodeTag(n) + ':' + children.join(',') : QString("none");
        };
        QCOMPARE(state("ZIVA"), QString("Y:PC-01,PC-02"));
        QCOMPARE(state("SPORA"), QString("Y:PC-05"));
        QCOMPARE(state("ODBIJA"), QString("Y:")); // refused: listed, empty
        for (const char *silent : {"TIHA", "PADA", "SMECE", "OGROMNA", "VRACA"})
            QCOMPARE(state(silent), QString("N:FAKE")); // no answer: still unlisted
        QCOMPARE(state("ZIVA2"), QString("N:"));        // PC-01 again: broken off

        // The next activation asks the silent ones again, in one wait.
        clock.start();
        together.window.Form_Activate();
        QVERIFY2(clock.elapsed() < Deadline.count() * 3 / 2, QByteArray::number(clock.elapsed()));
        QCOMPARE(state("TIHA"), QString("N:FAKE"));
    }

    void aLiveWorkgroupBehindManySilentOnesGetsItsTurn()
    {
        // Eight silent workgroups take every slot of the first activation's
        // listings; the live one after them is not even started, and goes
        // first at the next activation.
        qputenv("FAKE_LISTER_TOP", "TIHA1 TIHA2 TIHA3 TIHA4 TIHA5 TIHA6 TIHA7 TIHA8 ZIVA");
        Window w(makeSystemNetwork(browser()));
        w.window.Form_Load();
        w.window.Form_Activate();
        qunsetenv("FAKE_LISTER_TOP");
        QCOMPARE(frmNWCheck::nodeTag(w.node("ZIVA")), QString("N"));
        QCOMPARE(w.node("ZIVA")->childCount(), 1);
        w.window.Form_Activate();
        QCOMPARE(frmNWCheck::nodeTag(w.node("ZIVA")), QString("Y"));
        QCOMPARE(w.node("ZIVA")->childCount(), 2);
    }

    void aNodeWithoutAnswerListsOnceItsHostAnswers()
    {
        Window w(makeSystemNetwork(browser()));
        w.window.Form_Load();
        w.window.Form_Activate();
        QTreeWidgetItem *vraca = w.node("VRACA");
        QCOMPARE(frmNWCheck::nodeTag(vraca), QString("N"));
        QFile awake(m_dir.filePath("budna"));
        QVERIFY(awake.open(QIODevice::WriteOnly));
        w.window.tvwNetwork_Expand(vraca);
        QCOMPARE(frmNWCheck::nodeTag(vraca), QString("Y"));
        QCOMPARE(vraca->childCount(), 1);
        QCOMPARE(vraca->child(0)->text(0), QString("PC-07"));
    }
};

QTEST_MAIN(TestTreeListing)
#include "tst_treelisting.moc"
