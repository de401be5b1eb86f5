#include "networkrouter.h"

#include <QTest>

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
        for (const auto &[i, name] : {std::pair{0, "S"}, std::pair{1, "L"}}) {
            QCOMPARE(top->at(i).remoteName, QString(name));
            QCOMPARE(top->at(i).provider, QString(name));
            QCOMPARE(top->at(i).displayType, NetDisplay::Network);
            QCOMPARE(top->at(i).usage, NetUsage::Container);
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

QTEST_GUILESS_MAIN(TestNetworkRouter)
#include "tst_networkrouter.moc"
