// The network model: lazy listing, retry after a failed open, the filter,
// keys, short names and type names.
#include "fakenetwork.h"
#include "netresource.h"

#include <QtTest>

class TestNetResource : public QObject {
    Q_OBJECT
private slots:
    void listsOnceAfterSuccessAndRetriesAfterFailedOpen()
    {
        FakeNetwork net;
        net.add("", "SMB", NetDisplay::Network);
        net.failOpen("", 1);
        NetResource root(&net);
        QVERIFY(root.isRoot());
        QCOMPARE(root.Children().Count(), 0); // open failed
        QVERIFY(!root.isEnumerated());
        QCOMPARE(root.Children().Count(), 1); // asked again, now listed
        NetResources *first = &root.Children();
        QCOMPARE(&root.Children(), first);
        QCOMPARE(net.listings(""), 2);
        QVERIFY(!root.Children().Item(1)->isRoot());
    }

    void filterIsExactAndAppliesAtEveryLevel()
    {
        FakeNetwork net;
        net.add("", "Web Client Network", NetDisplay::Network);
        net.add("", "web client network", NetDisplay::Network);
        net.add("", "Microsoft Terminal Services", NetDisplay::Network);
        net.add("", "SMB", NetDisplay::Network);
        net.add("SMB", "Microsoft Terminal Services", NetDisplay::Domain);
        net.add("SMB", "RADNAGRUPA", NetDisplay::Domain);
        NetResource root(&net);
        QCOMPARE(root.Children().Count(), 2);
        QCOMPARE(root.Children().Item(1)->RemoteName(), QString("web client network"));
        QCOMPARE(root.Children().Item("smb")->Children().Count(), 1);
    }

    void keysIgnoreCaseAndDuplicatesAreSkipped()
    {
        FakeNetwork net;
        net.add("", "\\\\PC-01", NetDisplay::Server);
        net.add("", "\\\\pc-01", NetDisplay::Server); // same key: skipped
        net.add("", "\\\\PC-02", NetDisplay::Server);
        NetResource root(&net);
        NetResources &c = root.Children();
        QCOMPARE(c.Count(), 2);
        QCOMPARE(c.Item("\\\\Pc-01")->RemoteName(), QString("\\\\PC-01"));
        QCOMPARE(c.Item(2)->RemoteName(), QString("\\\\PC-02"));
        QVERIFY(!c.Item("nobody"));
        QVERIFY(!c.Item(0));
        QVERIFY(!c.Item(3));
        QVERIFY(!c.Remove("nobody"));
        QVERIFY(c.Remove("\\\\pc-01"));
        QCOMPARE(c.Item(1)->RemoteName(), QString("\\\\PC-02"));
        QCOMPARE(c.Item("\\\\PC-02"), c.Item(1));
    }

    void shortNamesAndTypeNames()
    {
        FakeNetwork net;
        net.add("", "RADNAGRUPA", NetDisplay::Domain);
        net.add("", "\\\\PC-01", NetDisplay::Server);
        net.add("", "\\\\PC-01\\deljeno", NetDisplay::Share);
        net.add("", "kraj\\", 12);
        net.add("", "\\\\\\", NetDisplay::Group);
        const QString longName(1000, QLatin1Char('x'));
        net.add("", "\\\\" + longName, NetDisplay::Server).comment = longName;
        NetResource root(&net);
        const NetResources &c = root.Children();
        QCOMPARE(c.Item(1)->ShortName(), QString("RADNAGRUPA"));
        QCOMPARE(c.Item(2)->ShortName(), QString("PC-01"));
        QCOMPARE(c.Item(3)->ShortName(), QString("deljeno"));
        QCOMPARE(c.Item(4)->ShortName(), QString());
        QCOMPARE(c.Item(4)->ResourceTypeName(), QString()); // 12 is outside the table
        QCOMPARE(c.Item(5)->ResourceTypeName(), QString("Group"));
        QCOMPARE(c.Item(6)->ShortName(), longName); // kept whole
        QCOMPARE(c.Item(6)->Comment(), longName);
        QCOMPARE(c.Item(1)->ResourceTypeName(), QString("Domain"));
        QCOMPARE(NetResource::typeName(0), QString("Generic"));
        QCOMPARE(NetResource::typeName(11), QString("NDSContainer"));
        QCOMPARE(NetResource::typeName(0xFFFFFFFFu), QString());
        QVERIFY(c.Item(1)->LocalName().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNetResource)
#include "tst_netresource.moc"
