// SPDX-License-Identifier: GPL-3.0-or-later
// The network model: lazy listing, retry after a refused or unanswered
// listing, listings asked ahead, the filter, case-blind keys, short names and
// type names.
#include "fakenetwork.h"
#include "model/listingpass.h"
#include "model/netresource.h"

#include <QtTest>

class TestNetResource : public QObject
{
    Q_OBJECT
private slots:
    void listedOnceRetriedWhileRefusedOrUnanswered()
    {
        FakeNetwork net;
        net.add("", "A", NetDisplay::Domain);
        net.add("A", "\\\\PC-01", NetDisplay::Server);
        net.failOpen("", 1);
        net.failOpen("A", 1);
        net.noAnswer("A", 1);
        NetResource root(&net);
        QCOMPARE(root.Children().Count(), 0); // refused
        NetResource *a = root.Children().Item("A");
        QString seen; // refused, no answer (told apart), listed, then kept
        for (int i = 0; i < 4; ++i) {
            seen += QString::number(a->Children().Count());
            seen += a->lastListingUnanswered() ? "? " : " ";
        }
        QCOMPARE(seen, "0 0? 1 1 ");
        QCOMPARE(QList<int>({net.listings(""), net.listings("A")}), QList<int>({2, 3}));
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
        ListingPass pass(net, {a, b, c, d, &root});
        QCOMPARE(net.aheadCalls.last(), (QStringList{"C", "D", "A"}));
        // Listed through the pass, each takes its listing once, from there.
        QCOMPARE(a->Children(pass).Count() + c->Children(pass).Count(), 0);
        QVERIFY(!a->lastListingUnanswered() && a->isEnumerated() && c->isEnumerated());
        QCOMPARE(
            QList<int>({net.listings("A"), net.listings("C"), net.listings(""), net.aheadTaken}),
            QList<int>({2, 1, 1, 2}));
    }

    void filterKeysNamesAndTypes()
    {
        FakeNetwork net;
        for (const char *name : {"Web Client Network", "web client network",
                                 "Microsoft Terminal Services", "\\\\PC-01", "\\\\pc-01"})
            net.add("", name, NetDisplay::Network);
        net.add("\\\\PC-01", "Microsoft Terminal Services", NetDisplay::Domain);
        const QString longName(1000, 'x');
        for (const auto &[name, type] : QList<QPair<QString, quint32>>{
                 {"\\\\PC-01\\deljeno", 3}, {"kraj\\", 12}, {"\\\\" + longName, 5}})
            net.add("", name, type).comment = name;
        NetResource root(&net);
        NetResources &c = root.Children();
        // The exact names filtered (at every level), the second PC-01 skipped.
        QCOMPARE(c.Count(), 5);
        QCOMPARE(c.Item("\\\\Pc-01"), c.Item(2));
        QCOMPARE(c.Item(2)->Children().Count(), 0);
        QStringList got;
        for (int i = 1; i <= c.Count(); ++i)
            got << c.Item(i)->ShortName() + '/' + c.Item(i)->ResourceTypeName();
        QCOMPARE(got, (QStringList{"web client network/Network", "PC-01/Network", "deljeno/Share",
                                   "/", longName + "/Group"}));
        QCOMPARE(c.Item(5)->Comment(), "\\\\" + longName); // kept whole
        QVERIFY(!c.Item("nobody") && !c.Item(0) && !c.Item(6) && !c.Remove("nobody"));
        QVERIFY(c.Remove("WEB CLIENT NETWORK"));
        QCOMPARE(c.Item("\\\\pc-01"), c.Item(1));
    }

    void everyMemberFoundByKeyAfterRemovals()
    {
        // Enough members for the key index to grow and its runs to meet;
        // each removal closes its gap, and the others are still found.
        FakeNetwork net;
        for (int i = 0; i < 3000; ++i)
            net.add("", QString("PC-%1").arg(i), NetDisplay::Server);
        NetResource root(&net);
        NetResources &c = root.Children();
        for (int i = 0; i < 3000; i += 3)
            c.Remove(QString("pc-%1").arg(i));
        QStringList wrong;
        for (int i = 0; i < 3000; ++i) {
            const NetResource *r = c.Item(QString("Pc-%1").arg(i));
            if (r ? i % 3 == 0 || r->RemoteName() != QString("PC-%1").arg(i) : i % 3 != 0)
                wrong << QString::number(i);
        }
        QCOMPARE(wrong, QStringList());
        QCOMPARE(c.Item(2000)->RemoteName() + c.Item(1)->RemoteName(), "PC-2999PC-1");
    }
};

QTEST_GUILESS_MAIN(TestNetResource)
#include "tst_netresource.moc"
