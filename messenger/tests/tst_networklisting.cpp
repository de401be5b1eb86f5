// The network listing without a network: the list file back end, the router
// that puts back ends under one top, the SMB entry mapping and the worker
// that bounds every library call.
#include "deadlineworker.h"
#include "fakenetwork.h"
#include "networkrouter.h"
#include "smbbackend.h"
#include "staticlistbackend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <libsmbclient.h>
#include <thread>

using namespace std::chrono_literals;

namespace
{

// "GROUP:NAME=comment,NAME|GROUP:..." — one string compares a whole parse.
QString render(const QList<StaticListBackend::Group> &groups)
{
    QStringList out;
    for (const auto &g : groups) {
        QStringList names;
        for (const auto &c : g.computers)
            names.append(c.comment.isEmpty() ? c.name : c.name + '=' + c.comment);
        out.append(g.name + ':' + names.join(','));
    }
    return out.join('|');
}

QStringList names(const std::optional<QList<NetRecord>> &records)
{
    QStringList out;
    for (const auto &r : records.value_or(QList<NetRecord>{}))
        out.append(r.remoteName + (r.provider.isEmpty() ? "" : " @" + r.provider));
    return out;
}

} // namespace

class TestNetworkListing : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void listFileParsing()
    {
        const struct {
            const char *text, *groups;
        } cases[] = {
            {"# lista\n\n[RADNAGRUPA]\nPC-01   Računar u kancelariji  \n  PC-02\n# PC-03\n"
             "[DRUGA]\r\nSERVER\tštampa # i još\r\n",
             "RADNAGRUPA:PC-01=Računar u kancelariji,PC-02|DRUGA:SERVER=štampa # i još"},
            // A computer before any group; names too long (Č is two bytes),
            // with a forbidden or control character or a leading '-'; a bad
            // [..] line, whose computers must not land in the group above.
            {"ORPHAN\n[A]\nGOOD1\nRAČUNAR-ČETIR\nRAČUNAR-ČETIRI\nSIXTEEN-LETTERS1\n-h\nPC*1\n"
             "PC\\1\nPC\x01\n[BAD GROUP]\nLOST1\n[UNCLOSED\nLOST2\n[]\nLOST3\n[a]\ngood1\nGOOD2",
             "A:GOOD1,RAČUNAR-ČETIR,GOOD2"},
        };
        for (const auto &c : cases)
            QCOMPARE(render(StaticListBackend::parse(QString::fromUtf8(c.text))),
                     QString::fromUtf8(c.groups));
    }

    void listFileBackend()
    {
        // File text → groups with this computer (PC-09 of KUCA) added once.
        const struct {
            const char *file, *groups;
        } cases[] = {
            {nullptr, "KUCA:PC-09"},
            {"[kuca]\npc-09 moj\nPC-10\n", "kuca:pc-09=moj,PC-10"},
            {"[OSTALI]\nX1\n[KUCA]\nPC-10\n", "OSTALI:X1|KUCA:PC-10,PC-09"},
            {"\xEF\xBB\xBF[OSTALI]\nPC-09\n", "OSTALI:PC-09|KUCA:PC-09"},
        };
        for (const auto &c : cases) {
            const QString path = m_dir.filePath("mreza.txt");
            QFile::remove(path);
            QFile f(path);
            if (c.file)
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write(c.file) > 0);
            f.close();
            QCOMPARE(render(StaticListBackend(path, "L", "PC-09", "KUCA").groups()),
                     QString::fromUtf8(c.groups));
        }

        // Records: remote names qualified by the provider; a computer's bare
        // name follows the "\\". Below a computer nothing; a group no longer
        // in the file or a foreign record: could not open.
        StaticListBackend list(m_dir.filePath("mreza.txt"), "L", "PC-09", "KUCA");
        const auto top = list.list(nullptr);
        QCOMPARE(names(top), (QStringList{"L\\OSTALI", "L\\KUCA"}));
        QCOMPARE(top->at(0).displayType, NetDisplay::Domain);
        const auto computers = list.list(&top->at(1));
        QCOMPARE(names(computers), QStringList{"L\\KUCA\\\\PC-09"});
        QCOMPARE(computers->at(0).displayType, NetDisplay::Server);
        QVERIFY(list.list(&computers->at(0))->isEmpty());
        NetRecord stray = top->at(0);
        for (const char *remote : {"L\\NEMA", "OSTALI"}) {
            stray.remoteName = remote;
            QVERIFY2(!list.list(&stray), remote);
        }
    }

    void routerDispatchesByProvider()
    {
        NetworkRouter router;
        auto smb = std::make_unique<FakeNetwork>(), file = std::make_unique<FakeNetwork>();
        FakeNetwork &s = *smb, &l = *file;
        s.add("", "RADNAGRUPA", NetDisplay::Domain);
        s.add("RADNAGRUPA", "\\\\PC-01", NetDisplay::Server);
        l.add("", "RADNAGRUPA", NetDisplay::Domain);
        s.failOpen("\\\\PC-01");
        router.add("S", std::move(smb));
        router.add("L", std::move(file));
        router.add("S", std::make_unique<FakeNetwork>()); // a name is used once

        const auto top = router.list(nullptr);
        QCOMPARE(names(top), (QStringList{"S @S", "L @L"}));
        QCOMPARE(top->at(0).displayType, NetDisplay::Network);
        QCOMPARE(s.totalListings() + l.totalListings(), 0);
        // The back end's own provider text ("Fake") is replaced.
        const auto groups = router.list(&top->at(0));
        QCOMPARE(names(groups), QStringList{"RADNAGRUPA @S"});
        const auto servers = router.list(&groups->at(0));
        QCOMPARE(names(servers), QStringList{"\\\\PC-01 @S"});
        QCOMPARE(names(router.list(&top->at(1))), QStringList{"RADNAGRUPA @L"});
        QCOMPARE(l.listings("RADNAGRUPA"), 0);
        // A failed open stays one, not an empty list; unknown providers too.
        QVERIFY(!router.list(&servers->at(0)));
        NetRecord stray = groups->at(0);
        for (const char *provider : {"", "Nepoznat"}) {
            stray.provider = provider;
            QVERIFY2(!router.list(&stray), provider);
        }
    }

    void smbEntries()
    {
        const struct {
            const char *parent;
            unsigned type;
            const char *name, *remote; // remote "" = left out of the tree
            quint32 display;
        } cases[] = {
            {"", SMBC_WORKGROUP, "RADNAGRUPA", "RADNAGRUPA", NetDisplay::Domain},
            {"RADNAGRUPA", SMBC_SERVER, "PC-01", "\\\\PC-01", NetDisplay::Server},
            {"\\\\PC-01", SMBC_FILE_SHARE, "javno", "\\\\PC-01\\javno", NetDisplay::Share},
            {"\\\\PC-01", SMBC_FILE_SHARE, "C$", "\\\\PC-01\\C$", NetDisplay::ShareAdmin},
            {"\\\\PC-01\\javno", SMBC_DIR, "f", "\\\\PC-01\\javno\\f", NetDisplay::Directory},
            {"\\\\PC-01", SMBC_PRINTER_SHARE, "lp", "", 0},
            {"\\\\PC-01", SMBC_IPC_SHARE, "IPC$", "", 0},
            {"\\\\PC-01\\javno", SMBC_FILE, "a.txt", "", 0},
            {"\\\\PC-01\\javno", SMBC_DIR, "..", "", 0},
        };
        for (const auto &c : cases) {
            const auto r = SmbBackend::recordFor(c.parent, c.type, c.name, "opis");
            QCOMPARE(r ? r->remoteName : QString(), QString(c.remote));
            if (r)
                QVERIFY(r->displayType == c.display && r->comment == "opis");
        }
        // Each part percent-encoded, so '/', '?' and '%' stay in one name.
        QCOMPARE(SmbBackend::urlFor("\\\\PC-01\\Moji dokumenti\\a%b?c/d"),
                 QString("smb://PC-01/Moji%20dokumenti/a%25b%3Fc%2Fd"));
    }

    void overrunningCallCostsItsDeadlineOnce()
    {
        auto release = std::make_shared<std::atomic<bool>>(false);
        auto ran = std::make_shared<std::atomic<int>>(0);
        DeadlineWorker worker;
        QElapsedTimer clock;
        clock.start();
        const auto stuck = [=] { // bounded to 10 s
            for (int i = 0; i < 1000 && !*release; ++i)
                std::this_thread::sleep_for(10ms);
        };
        QVERIFY(!worker.run(stuck, 200ms));
        QVERIFY2(clock.elapsed() >= 190 && clock.elapsed() < 2000,
                 QByteArray::number(clock.elapsed()));
        // While it is stuck, later calls fail at once and do not run.
        clock.restart();
        QVERIFY(!worker.run([=] { ++*ran; }, 5s));
        QVERIFY(clock.elapsed() < 100 && worker.busy());
        *release = true;
        QTRY_VERIFY_WITH_TIMEOUT(!worker.busy(), 5000);
        QVERIFY(worker.run([=] { ++*ran; }, 5s));
        QCOMPARE(ran->load(), 1);
    }
};

QTEST_GUILESS_MAIN(TestNetworkListing)
#include "tst_networklisting.moc"
