#include "networkrouter.h"
#include "smbbackend.h"

#include <QTest>

#include <libsmbclient.h>

namespace
{

// A back end that answers from a table and remembers what it was asked.
class ScriptedBackend : public NetworkProvider
{
public:
    QHash<QString, QList<NetRecord>> children; // by parent remote name, "" = top
    QStringList asked;                         // parent remote names, "<top>" for null
    QStringList probed;
    bool reachable = false;

    std::optional<QList<NetRecord>> list(const NetRecord *parent) override
    {
        const QString key = parent ? parent->remoteName : QString();
        asked.append(parent ? key : QStringLiteral("<top>"));
        if (!children.contains(key)) return std::nullopt;
        return children.value(key);
    }
    bool opensAsDirectory(const QString &remoteName) override
    {
        probed.append(remoteName);
        return reachable;
    }
};

NetRecord rec(const QString &remote, quint32 display, const QString &provider = QString())
{
    NetRecord r;
    r.remoteName = remote;
    r.displayType = display;
    r.provider = provider;
    return r;
}

} // namespace

class TestNetworkRouter : public QObject
{
    Q_OBJECT

    NetworkRouter router;
    ScriptedBackend *smb = nullptr;
    ScriptedBackend *file = nullptr;

private slots:
    void init()
    {
        router = NetworkRouter();
        auto a = std::make_unique<ScriptedBackend>();
        auto b = std::make_unique<ScriptedBackend>();
        smb = a.get();
        file = b.get();
        smb->children[QString()] = {
            rec(QStringLiteral("RADNAGRUPA"), NetDisplay::Domain, QStringLiteral("whatever"))};
        smb->children[QStringLiteral("RADNAGRUPA")] = {
            rec(QStringLiteral("\\\\PC-01"), NetDisplay::Server)};
        file->children[QString()] = {rec(QStringLiteral("L\\RADNAGRUPA"), NetDisplay::Domain)};
        router.add(QStringLiteral("S"), std::move(a));
        router.add(QStringLiteral("L"), std::move(b));
        // A second back end of a known name is ignored.
        router.add(QStringLiteral("S"), std::make_unique<ScriptedBackend>());
        router.setPathFallback(QStringLiteral("S"));
    }

    void topListsOneProviderPerBackend()
    {
        const auto top = router.list(nullptr);
        QVERIFY(top);
        QCOMPARE(top->size(), 2);
        for (int i = 0; i < 2; ++i) {
            const NetRecord &p = top->at(i);
            const QString name = i == 0 ? QStringLiteral("S") : QStringLiteral("L");
            QCOMPARE(p.remoteName, name);
            QCOMPARE(p.provider, name);
            QCOMPARE(p.displayType, NetDisplay::Network);
            QCOMPARE(p.usage, NetUsage::Container);
        }
        QVERIFY(smb->asked.isEmpty() && file->asked.isEmpty());
    }

    void dispatchesByProviderAndStamps()
    {
        const auto top = router.list(nullptr);
        const auto groups = router.list(&top->at(0));
        QVERIFY(groups);
        QCOMPARE(smb->asked, QStringList{QStringLiteral("<top>")});
        QCOMPARE(groups->size(), 1);
        // The back end's own provider text is replaced by the router's name.
        QCOMPARE(groups->first().provider, QStringLiteral("S"));

        const auto servers = router.list(&groups->first());
        QVERIFY(servers);
        QCOMPARE(servers->first().remoteName, QStringLiteral("\\\\PC-01"));
        QCOMPARE(servers->first().provider, QStringLiteral("S"));
        QCOMPARE(smb->asked.last(), QStringLiteral("RADNAGRUPA"));

        // The same workgroup name in the other back end goes there.
        const auto listed = router.list(&top->at(1));
        QVERIFY(listed);
        QCOMPARE(listed->first().provider, QStringLiteral("L"));
        QCOMPARE(file->asked, QStringList{QStringLiteral("<top>")});

        // A failed open is passed on as such, not as an empty list.
        QVERIFY(!router.list(&servers->first()));
        QCOMPARE(smb->asked.last(), QStringLiteral("\\\\PC-01"));
    }

    void unknownProviderCannotBeOpened()
    {
        NetRecord stray = rec(QStringLiteral("RADNAGRUPA"), NetDisplay::Domain);
        QVERIFY(!router.list(&stray));
        stray.provider = QStringLiteral("Nepoznat");
        QVERIFY(!router.list(&stray));
        NetRecord provider = rec(QStringLiteral("X"), NetDisplay::Network, QStringLiteral("X"));
        QVERIFY(!router.list(&provider));
        QVERIFY(smb->asked.isEmpty() && file->asked.isEmpty());
        QVERIFY(!NetworkRouter().list(&stray));
        QVERIFY(NetworkRouter().list(nullptr)->isEmpty());
    }

    void sharePathsGoToTheirBackend()
    {
        file->reachable = true;
        QVERIFY(router.opensAsDirectory(QStringLiteral("L\\G\\\\PC\\share")));
        QCOMPARE(file->probed.size(), 1);
        QVERIFY(!router.opensAsDirectory(QStringLiteral("\\\\PC-01\\javno")));
        QCOMPARE(smb->probed, QStringList{QStringLiteral("\\\\PC-01\\javno")});
        NetworkRouter bare;
        QVERIFY(!bare.opensAsDirectory(QStringLiteral("\\\\PC-01\\javno")));
    }
};

// The SMB back end's mapping of addresses and directory entries; nothing
// here touches the network.
class TestSmbMapping : public QObject
{
    Q_OBJECT
private slots:
    void urls()
    {
        QCOMPARE(SmbBackend::urlFor(QString()), QStringLiteral("smb://"));
        QCOMPARE(SmbBackend::urlFor(QStringLiteral("RADNAGRUPA")),
                 QStringLiteral("smb://RADNAGRUPA"));
        QCOMPARE(SmbBackend::urlFor(QStringLiteral("\\\\PC-01")), QStringLiteral("smb://PC-01"));
        QCOMPARE(SmbBackend::urlFor(QStringLiteral("\\\\PC-01\\Moji dokumenti\\a%b?c")),
                 QStringLiteral("smb://PC-01/Moji%20dokumenti/a%25b%3Fc"));
        QCOMPARE(SmbBackend::urlFor(QStringLiteral("\\\\PC-01\\šare")),
                 QStringLiteral("smb://PC-01/%C5%A1are"));
    }

    void entries()
    {
        const QString server = QStringLiteral("\\\\PC-01");
        auto r = SmbBackend::recordFor(QString(), SMBC_WORKGROUP, QStringLiteral("RADNAGRUPA"), {});
        QVERIFY(r);
        QCOMPARE(r->displayType, NetDisplay::Domain);
        QCOMPARE(r->usage, NetUsage::Container);
        QCOMPARE(r->remoteName, QStringLiteral("RADNAGRUPA"));

        r = SmbBackend::recordFor(QStringLiteral("RADNAGRUPA"), SMBC_SERVER,
                                  QStringLiteral("PC-01"), QStringLiteral("Samba"));
        QVERIFY(r);
        QCOMPARE(r->displayType, NetDisplay::Server);
        QCOMPARE(r->remoteName, server);
        QCOMPARE(r->comment, QStringLiteral("Samba"));

        r = SmbBackend::recordFor(server, SMBC_FILE_SHARE, QStringLiteral("javno"), {});
        QVERIFY(r);
        QCOMPARE(r->displayType, NetDisplay::Share);
        QCOMPARE(r->type, NetType::Disk);
        QCOMPARE(r->remoteName, QStringLiteral("\\\\PC-01\\javno"));

        r = SmbBackend::recordFor(server, SMBC_FILE_SHARE, QStringLiteral("C$"), {});
        QVERIFY(r);
        QCOMPARE(r->displayType, NetDisplay::ShareAdmin);

        r = SmbBackend::recordFor(QStringLiteral("\\\\PC-01\\javno"), SMBC_DIR,
                                  QStringLiteral("fascikla"), {});
        QVERIFY(r);
        QCOMPARE(r->displayType, NetDisplay::Directory);
        QCOMPARE(r->remoteName, QStringLiteral("\\\\PC-01\\javno\\fascikla"));

        QVERIFY(!SmbBackend::recordFor(server, SMBC_PRINTER_SHARE, QStringLiteral("lp"), {}));
        QVERIFY(!SmbBackend::recordFor(server, SMBC_IPC_SHARE, QStringLiteral("IPC$"), {}));
        QVERIFY(!SmbBackend::recordFor(server, SMBC_FILE, QStringLiteral("a.txt"), {}));
        QVERIFY(!SmbBackend::recordFor(server, SMBC_DIR, QStringLiteral(".."), {}));
        QVERIFY(!SmbBackend::recordFor(server, SMBC_DIR, QStringLiteral("."), {}));
        QVERIFY(!SmbBackend::recordFor(server, SMBC_FILE_SHARE, QString(), {}));
    }

    void onlyShareAndDeeperPathsAreProbed()
    {
        // These never reach the network: no share in the path.
        SmbBackend smb(500);
        QVERIFY(!smb.opensAsDirectory(QString()));
        QVERIFY(!smb.opensAsDirectory(QStringLiteral("\\\\PC-01")));
        QVERIFY(!smb.opensAsDirectory(QStringLiteral("\\\\\\\\")));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int status = 0;
    {
        TestNetworkRouter t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestSmbMapping t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "tst_networkrouter.moc"
