// Browsing a real Samba server: PC-01 in workgroup RADNAGRUPA, in a network
// namespace of the lab, seen from the client namespace this test runs in.
#include "fakemessageboxes.h"
#include "frmnwcheck.h"
#include "netnode.h"
#include "recordinglauncher.h"
#include "smbbackend.h"
#include "systemnetwork.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidgetItem>

namespace
{

const NetRecord *byName(const QList<NetRecord> &records, const QString &remoteName)
{
    for (const auto &r : records)
        if (r.remoteName == remoteName) return &r;
    return nullptr;
}

QStringList remoteNames(const std::optional<QList<NetRecord>> &records)
{
    QStringList names;
    if (records)
        for (const auto &r : *records)
            names.append(r.remoteName);
    return names;
}

} // namespace

class TestLabBrowse : public QObject
{
    Q_OBJECT

    NetRecord m_group;

private slots:
    // nmbd needs some 25 s after its start to become master browser and
    // build its browse list; wait for it, within a bound.
    void initTestCase()
    {
        SmbBackend smb;
        QElapsedTimer clock;
        clock.start();
        bool ready = false;
        for (int attempt = 0; attempt < 90 && clock.elapsed() < 90000 && !ready; ++attempt) {
            const auto groups = smb.list(nullptr);
            if (const NetRecord *g = groups ? byName(*groups, "RADNAGRUPA") : nullptr) {
                m_group = *g;
                ready = remoteNames(smb.list(g)).contains("\\\\PC-01");
            }
            if (!ready) QTest::qWait(1000);
        }
        qInfo("browse list ready %lld ms after the test started", clock.elapsed());
        QVERIFY2(ready, "RADNAGRUPA and PC-01 did not appear in the browse list within 90 s");
    }

    void smbBackendListsEveryLevel()
    {
        SmbBackend smb;
        QElapsedTimer clock;
        clock.start();
        const auto groups = smb.list(nullptr);
        const qint64 topMs = clock.restart();
        QVERIFY(groups);
        const NetRecord *group = byName(*groups, "RADNAGRUPA");
        QVERIFY(group);
        QCOMPARE(group->displayType, NetDisplay::Domain);
        QCOMPARE(group->usage, NetUsage::Container);

        const auto servers = smb.list(group);
        const qint64 groupMs = clock.restart();
        QVERIFY(servers);
        const NetRecord *server = byName(*servers, "\\\\PC-01");
        QVERIFY(server);
        QCOMPARE(server->displayType, NetDisplay::Server);
        QVERIFY(server->comment.startsWith("Samba"));

        // Shares of the server: the disk shares only, "$" ones as admin shares.
        const auto shares = smb.list(server);
        const qint64 serverMs = clock.restart();
        QVERIFY(shares);
        QCOMPARE(remoteNames(shares), (QStringList{"\\\\PC-01\\javno", "\\\\PC-01\\skriveno$"}));
        QCOMPARE(shares->at(0).displayType, NetDisplay::Share);
        QCOMPARE(shares->at(1).displayType, NetDisplay::ShareAdmin);

        // A share lists its folders, not its files.
        const auto folders = smb.list(&shares->at(0));
        QVERIFY(folders);
        QCOMPARE(remoteNames(folders), QStringList{"\\\\PC-01\\javno\\fascikla"});
        QCOMPARE(folders->first().displayType, NetDisplay::Directory);

        QVERIFY(smb.opensAsDirectory("\\\\PC-01\\javno"));
        QVERIFY(!smb.opensAsDirectory("\\\\PC-01\\nema"));
        qInfo("listing times: top %lld ms, workgroup %lld ms, server %lld ms", topMs, groupMs,
              serverMs);
    }

    void routerPutsTheBrowseListUnderItsProvider()
    {
        auto network = makeSystemNetwork();
        const auto top = network->list(nullptr);
        QCOMPARE(remoteNames(top), (QStringList{SystemNetwork::SmbName, SystemNetwork::ListName}));
        const auto groups = network->list(&top->at(0));
        QVERIFY(remoteNames(groups).contains("RADNAGRUPA"));
        const NetRecord *group = byName(*groups, "RADNAGRUPA");
        QCOMPARE(group->provider, SystemNetwork::SmbName);
        const auto servers = network->list(group);
        QVERIFY(remoteNames(servers).contains("\\\\PC-01"));
        QCOMPARE(byName(*servers, "\\\\PC-01")->provider, SystemNetwork::SmbName);

        // The list file's side: this computer (PC-02 here) in its own group.
        const auto listed = network->list(&top->at(1));
        QCOMPARE(remoteNames(listed), QStringList{SystemNetwork::ListName + "\\RADNAGRUPA"});
        QCOMPARE(remoteNames(network->list(&listed->first())),
                 QStringList{SystemNetwork::ListName + "\\RADNAGRUPA\\\\PC-02"});
        QVERIFY(network->opensAsDirectory("\\\\PC-01\\javno"));
    }

    void windowShowsTheRealNetworkAfterActivation()
    {
        auto network = makeSystemNetwork();
        RecordingLauncher launcher;
        FakeMessageBoxes boxes;
        frmNWCheck window(*network, launcher, boxes, {});
        QElapsedTimer clock;
        clock.start();
        window.Form_Load();
        window.Form_Activate();
        qInfo("load and activation passes over the lab network: %lld ms", clock.elapsed());

        QTreeWidgetItem *provider = window.nodes.find(SystemNetwork::SmbName);
        QVERIFY(provider);
        QCOMPARE(provider->text(0), SystemNetwork::SmbName);
        QCOMPARE(frmNWCheck::nodeKey(provider->parent()), QString("_ROOT"));
        QTreeWidgetItem *group = window.nodes.find("RADNAGRUPA");
        QVERIFY(group);
        QCOMPARE(group->parent(), provider);
        QCOMPARE(frmNWCheck::nodeImage(group), QString("domain"));
        QTreeWidgetItem *server = window.nodes.find("\\\\PC-01");
        QVERIFY(server);
        QCOMPARE(server->parent(), group);
        QCOMPARE(server->text(0), QString("PC-01"));
        QCOMPARE(frmNWCheck::nodeImage(server), QString("server"));
        QCOMPARE(server->childCount(), 0);

        // The list file's provider sits beside it with this computer.
        QTreeWidgetItem *own = window.nodes.find(SystemNetwork::ListName + "\\RADNAGRUPA\\\\PC-02");
        QVERIFY(own);
        QCOMPARE(own->text(0), QString("PC-02"));
        QVERIFY(boxes.shown.isEmpty());
        QVERIFY(launcher.commands.isEmpty());
    }
};

QTEST_MAIN(TestLabBrowse)
#include "tst_lab_browse.moc"
