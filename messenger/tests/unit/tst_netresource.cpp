// SPDX-License-Identifier: GPL-3.0-or-later
// The network model: lazy listing, retry after a refused or unanswered
// listing, listings asked ahead, the filter, case-blind keys, short names and
// type names.
#include "fakenetwork.h"
#include "model/netresource.h"

#include <QtTest>

class TestNetResource : public QObject
{
    Q_OBJECT
private slots:
    void listsOnceAfterSuccessAndRetriesAfterFailedOpen()
    {
        FakeNetwork net;
        net.add("", "SMB", NetDisplay::Network);
        net.failOpen("", 1);
        NetResource root(&net);
        QCOMPARE(root.Children().Count(), 0); // open failed
        QCOMPARE(root.Children().Count(), 1); // asked again, now listed
        QCOMPARE(&root.Children(), &root.Children());
        QCOMPARE(net.listings(""), 2);
    }

    void unansweredIsToldApartAndAskedAgain()
    {
        FakeNetwork net;
        net.add("", "A", NetDisplay::Domain);
        net.add("A", "\\\\PC-01", NetDisplay::Server);
        net.failOpen("A", 1);
        net.noAnswer("A", 1);
        NetResource root(&net);
        NetResource *a = root.Children().Item("A");
        QCOMPARE(a->Children().Count(), 0); // refused
        QVERIFY(!a->lastListingUnanswered());
        QCOMPARE(a->Children().Count(), 0); // asked again: no answer, told apart
        QVERIFY(a->lastListingUnanswered());
        QCOMPARE(a->Children().Count(), 1);
        QVERIFY(!a->lastListingUnanswered());
        QCOMPARE(net.listings("A"), 3);
    }

    void listingsAskedAheadSkipListedAndPutUnansweredLast()
    {
        FakeNetwork net;
        for (const char *name : {"A", "B", "C", "D"})
            net.add("", name, NetDisplay::Domain);
        net.add("B", "\\\\PC-01", NetDisplay::Server);
        net.noAnswer("A", 1);
        NetResource root(&net);
        NetResources &top = root.Children();
        NetResource *a = top.Item("A"), *b = top.Item("B"), *c = top.Item("C"), *d = top.Item("D");
        net.fail("D", NetListing::Outcome::NotAsked);
        a->Children(); // no answer
        b->Children(); // listed
        d->Children(); // never got its turn: unanswered, yet not last
        QVERIFY(a->lastListingUnanswered() && d->lastListingUnanswered());
        QCOMPARE(root.listedChild("a"), a);
        QVERIFY(b->listedChild("\\\\pc-01") && !a->listedChild("x"));
        root.listAhead({a, b, c, d, &root});
        QCOMPARE(net.aheadCalls.last(), (QStringList{"C", "D", "A"}));

        NetResource unlisted(&net); // never asks the network to find a child
        QVERIFY(!unlisted.listedChild("A"));
        QCOMPARE(net.listings(""), 1);
    }

    void filterKeysAndDuplicates()
    {
        FakeNetwork net;
        for (const char *name : {"Web Client Network", "web client network",
                                 "Microsoft Terminal Services", "\\\\PC-01", "\\\\pc-01"})
            net.add("", name, NetDisplay::Network);
        net.add("\\\\PC-01", "Microsoft Terminal Services", NetDisplay::Domain);
        NetResource root(&net);
        NetResources &c = root.Children();
        QCOMPARE(c.Count(), 2); // the exact names filtered, the second PC-01 skipped
        QCOMPARE(c.Item(1)->RemoteName(), QString("web client network"));
        QCOMPARE(c.Item("\\\\Pc-01"), c.Item(2));
        QCOMPARE(c.Item("\\\\PC-01")->Children().Count(), 0); // filtered at every level
        QVERIFY(!c.Item("nobody") && !c.Item(0) && !c.Item(3));
        QVERIFY(!c.Remove("nobody"));
        QVERIFY(c.Remove("WEB CLIENT NETWORK"));
        QCOMPARE(c.Item("\\\\pc-01"), c.Item(1));
    }

    void shortNamesAndTypeNames()
    {
        FakeNetwork net;
        const QString longName(1000, QLatin1Char('x'));
        const QList<QPair<QString, quint32>> rows = {{"RADNAGRUPA", 1},
                                                     {"\\\\PC-01", 2},
                                                     {"\\\\PC-01\\deljeno", 3},
                                                     {"kraj\\", 12},
                                                     {"\\\\" + longName, 5}};
        for (const auto &[name, type] : rows)
            net.add("", name, type).comment = name;
        NetResource root(&net);
        const NetResources &c = root.Children();
        const QStringList shortNames = {"RADNAGRUPA", "PC-01", "deljeno", "", longName};
        const QStringList types = {"Domain", "Server", "Share", "", "Group"};
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(c.Item(i + 1)->ShortName(), shortNames[i]);
            QCOMPARE(c.Item(i + 1)->ResourceTypeName(), types[i]);
            QCOMPARE(c.Item(i + 1)->Comment(), rows[i].first); // kept whole
        }
        QCOMPARE(NetResource::typeName(11) + NetResource::typeName(0xFFFFFFFFu),
                 QString("NDSContainer"));
    }
};

QTEST_GUILESS_MAIN(TestNetResource)
#include "tst_netresource.moc"
