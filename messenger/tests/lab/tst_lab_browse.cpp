// SPDX-License-Identifier: GPL-3.0-or-later
// Browsing a real Samba server: PC-01 in workgroup RADNAGRUPA, in a network
// namespace of the lab, seen from the client namespace this test runs in.
#include "net/systemnetwork.h"
#include "networkwindow.h"
#include "platform/linux/smbbrowser.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidgetItem>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

// The record of that remote name, or nullptr.
const NetRecord *find(const std::optional<QList<NetRecord>> &records, const QString &remote)
{
    if (records)
        for (const auto &r : *records)
            if (r.remoteName == remote)
                return &r;
    return nullptr;
}

} // namespace

class TestLabBrowse : public QObject
{
    Q_OBJECT
private slots:
    // nmbd needs some 25 s after its start to become master browser and
    // build its browse list: poll the real back end, within a bound.
    void smbBackendListsTheWorkgroupAndItsServer()
    {
        SmbBrowser smb(Helper);
        QElapsedTimer clock;
        clock.start();
        const NetRecord *server = nullptr;
        std::optional<QList<NetRecord>> groups, servers;
        for (int i = 0; i < 90 && clock.elapsed() < 90000 && !server; ++i) {
            groups = smb.list(nullptr);
            if (const NetRecord *g = find(groups, "RADNAGRUPA")) {
                QCOMPARE(g->displayType, NetDisplay::Domain);
                servers = smb.list(g);
                server = find(servers, "\\\\PC-01");
            }
            if (!server)
                QTest::qWait(1000);
        }
        qInfo("browse list ready after %lld ms", clock.elapsed());
        QVERIFY2(server, "RADNAGRUPA and PC-01 did not appear within 90 s");
        QCOMPARE(server->displayType, NetDisplay::Server);

        // Each listing is a child of its own: what one costs.
        QStringList times;
        for (const NetRecord *parent :
             {(const NetRecord *)nullptr, find(groups, "RADNAGRUPA"), server}) {
            clock.restart();
            QVERIFY(smb.list(parent));
            times << QString::number(clock.elapsed());
        }
        qInfo("listing the top / RADNAGRUPA / PC-01: %s ms", qPrintable(times.join(" / ")));
    }

    void routerAndWindowShowTheRealNetwork()
    {
        auto network = makeSystemNetwork(std::make_unique<SmbBrowser>(Helper));
        const auto top = network->list(nullptr);
        QVERIFY(top && !top->isEmpty());
        QCOMPARE(top->at(0).remoteName, SystemNetwork::SmbName);

        NetworkWindow w(std::move(network));
        qInfo("load step and activation: %lld ms", w.loadAndActivate());
        const frmNWCheck &window = w.window;
        QTreeWidgetItem *provider = window.nodes.find(SystemNetwork::SmbName);
        QTreeWidgetItem *group = window.nodes.find("RADNAGRUPA");
        QTreeWidgetItem *server = window.nodes.find("\\\\PC-01");
        QVERIFY(provider && group && server);
        QCOMPARE(provider->text(0), SystemNetwork::SmbName);
        QCOMPARE(group->parent(), provider);
        QCOMPARE(server->parent(), group);
        QCOMPARE(server->text(0), QString("PC-01"));
        QCOMPARE(server->childCount(), 0);
        QVERIFY(w.boxes.texts.isEmpty() && w.launcher.commands.isEmpty());
    }
};

QTEST_MAIN(TestLabBrowse)
#include "tst_lab_browse.moc"
