// SPDX-License-Identifier: GPL-3.0-or-later
// The network's rules and model: the list file, the router of several back
// ends, and the model's lazy listing (a refusal asked again, the listed never
// asked ahead, the filter, case-blind keys, short names and type names). The
// window's tree tests cover unanswered listings and the order of a pass.
#include "fakenetwork.h"
#include "model/listingpass.h"
#include "model/netresource.h"
#include "net/networkrouter.h"
#include "net/staticlistbackend.h"

#include <QtTest>
#include <sys/stat.h>

// "GROUP:NAME=comment,NAME|GROUP:..." — one string compares a whole parse.
static QByteArray render(const QList<StaticListBackend::Group> &groups)
{
    QStringList out;
    for (const auto &g : groups) {
        QStringList names;
        for (const auto &c : g.computers)
            names.append(c.comment.isEmpty() ? c.name : c.name + '=' + c.comment);
        out.append(g.name + ':' + names.join(','));
    }
    return out.join('|').toUtf8();
}

// "remote name #display type provider" per record.
static QStringList names(const std::optional<QList<NetRecord>> &records)
{
    QStringList out;
    for (const auto &r : records.value_or(QList<NetRecord>{}))
        out.append(
            (r.remoteName + " #" + QString::number(r.displayType) + ' ' + r.provider).trimmed());
    return out;
}

class TestNetworkListing : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void listFile()
    {
        QCOMPARE(render(StaticListBackend::parse(
                     "# lista\n\n[RADNAGRUPA]\nPC-01   Računar u kancelariji  \n  PC-02\n# PC-03\n"
                     "[DRUGA]\r\nSERVER\tštampa # i još\r\n")),
                 "RADNAGRUPA:PC-01=Računar u kancelariji,PC-02|DRUGA:SERVER=štampa # i još");
        // Skipped: before any group; too long (bytes in the code page: Č is
        // one); forbidden, control or leading "-"; after a bad [..] line,
        // which must not fall into the group above; named twice in a group
        // (another group may hold the name).
        QCOMPARE(render(StaticListBackend::parse(
                     "ORPHAN\n[A]\nGOOD1\nRAČUNAR-ČETIR\nRAČUNAR-ČETIRI\nSIXTEEN-LETTERS1\n-h\n"
                     "PC*1\nPC\\1\nPC\x01\n[BAD GROUP]\nLOST1\n[UNCLOSED\nLOST2\n[]\nLOST3\n[B]\n"
                     "good1\n[a]\ngood1\nGOOD2")),
                 "A:GOOD1,RAČUNAR-ČETIR,RAČUNAR-ČETIRI,GOOD2|B:good1");

        // File text → groups with this computer (PC-09 of KUCA) added once.
        const QString path = m_dir.filePath("mreza.txt");
        StaticListBackend list(path, "L", "PC-09", "KUCA"); // reads the file on each call
        const auto groups = [&](const char *text) {
            QFile::remove(path);
            if (QFile f(path); text && f.open(QIODevice::WriteOnly))
                f.write(text);
            return render(list.groups());
        };
        QCOMPARE(groups(nullptr), "KUCA:PC-09");
        QCOMPARE(groups("[kuca]\npc-09 moj\nPC-10\n"), "kuca:pc-09=moj,PC-10");
        QCOMPARE(groups("[OSTALI]\nX1\n[KUCA]\nPC-10\n"), "OSTALI:X1|KUCA:PC-10,PC-09");
        QCOMPARE(groups("\xEF\xBB\xBF[OSTALI]\nPC-09\n"), "OSTALI:PC-09|KUCA:PC-09");

        // Names qualified by the provider; nothing below a computer; gone or foreign records fail.
        const auto top = list.list(nullptr);
        const auto computers = list.list(&top->at(1));
        QCOMPARE(names(top) + names(computers),
                 (QStringList{"L\\OSTALI #1", "L\\KUCA #1", "L\\KUCA\\\\PC-09 #2"}));
        QVERIFY(list.list(&computers->at(0))->isEmpty());
        NetRecord gone = top->at(0), foreign = top->at(0);
        gone.remoteName = "L\\NEMA";
        foreign.remoteName = "OSTALI";
        QVERIFY(!list.list(&gone) && !list.list(&foreign));

        // Read whole or not at all: a file over the limit is refused, never
        // listed in part; one cut to the limit (its last line whole) is
        // taken; a pipe is never opened (a read could wait for ever).
        QByteArray big = "[VELIKA]\n";
        while (big.size() <= StaticListBackend::MaxFileBytes)
            big += "PC-" + QByteArray::number(big.size()) + "\n";
        QCOMPARE(groups(big.constData()), "KUCA:PC-09");
        big.truncate(big.lastIndexOf('\n', StaticListBackend::MaxFileBytes - 1) + 1);
        const QByteArray lastName = big.mid(big.lastIndexOf('\n', big.size() - 2) + 1).trimmed();
        QCOMPARE(groups(big.constData()).right(20), (lastName + "|KUCA:PC-09").right(20));
        const QString fifo = m_dir.filePath("cev.txt");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(render(StaticListBackend(fifo, "L", "PC-09", "KUCA").groups()), "KUCA:PC-09");
        QVERIFY(clock.elapsed() < 2000);
    }

    void routerDispatchesByProvider()
    {
        NetworkRouter router;
        auto smb = std::make_unique<FakeNetwork>(), file = std::make_unique<FakeNetwork>();
        FakeNetwork &s = *smb, &l = *file;
        s.add("", "RADNAGRUPA", NetDisplay::Domain);
        l.add("", "RADNAGRUPA", NetDisplay::Domain);
        router.add("S", std::move(smb));
        router.add("L", std::move(file));
        router.add("S", std::make_unique<FakeNetwork>()); // a name is used once

        // The providers are listed without asking any back end; the back
        // ends' records carry their provider's name (not their own "Fake").
        const auto top = router.list(nullptr);
        QCOMPARE(s.totalListings() + l.totalListings(), 0);
        const auto groups = router.list(&top->at(0));
        QCOMPARE(names(top) + names(groups) + names(router.list(&top->at(1))),
                 (QStringList{"S #6 S", "L #6 L", "RADNAGRUPA #1 S", "RADNAGRUPA #1 L"}));
        // An unknown provider is a refusal. (The tree's tests list deeper
        // through the router, and see no answer reach them as such.)
        NetRecord unknown = groups->at(0);
        unknown.provider = "Nepoznat";
        QCOMPARE(router.enumerate(&unknown).outcome, NetListing::Outcome::Refused);

        // Asked ahead: each back end gets its own parents (its provider as its
        // top), and each listing is taken from the back end that prepared it.
        const auto ahead =
            router.listAhead({&top->at(1), &groups->at(0), nullptr, &unknown, &top->at(0)});
        QCOMPARE(s.aheadCalls, (QList<QStringList>{{"RADNAGRUPA", ""}}));
        QCOMPARE(l.aheadCalls, (QList<QStringList>{{""}}));
        QCOMPARE(names(ahead->take(&top->at(1))->records), (QStringList{"RADNAGRUPA #1 L"}));
        QVERIFY(!ahead->take(&top->at(1)) && !ahead->take(&unknown) && !ahead->take(nullptr));
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
        net.failOpen("");
        NetResource root(&net);
        QCOMPARE(root.Children().Count(), 0); // refused: asked again next time
        NetResources &c = root.Children();
        // The exact names filtered (at every level), the second PC-01 skipped.
        QCOMPARE(c.Count(), 5);
        QCOMPARE(c.Item("\\\\Pc-01"), c.Item(2));
        QCOMPARE(c.Item(2)->Children().Count(), 0);
        ListingPass pass(net, {c.Item(1), c.Item(2), &root}); // the listed are not asked ahead
        QCOMPARE(net.aheadCalls.last(), QStringList{"web client network"});
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

QTEST_GUILESS_MAIN(TestNetworkListing)
#include "tst_networklisting.moc"
