#include "fakenetwork.h"
#include "net/networkrouter.h"
#include "net/staticlistbackend.h"
#include "platform/linux/deadlineworker.h"
#include "platform/linux/smbbackend.h"

#include <QtTest>
#include <atomic>
#include <libsmbclient.h>

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
        // Before any group; too long (bytes in the code page: Č is one); forbidden, control
        // or leading "-";
        // and after a bad [..] line, which must not fall into the group above.
        QCOMPARE(render(StaticListBackend::parse(
                     "ORPHAN\n[A]\nGOOD1\nRAČUNAR-ČETIR\nRAČUNAR-ČETIRI\nSIXTEEN-LETTERS1\n-h\n"
                     "PC*1\nPC\\1\nPC\x01\n[BAD GROUP]\nLOST1\n[UNCLOSED\nLOST2\n[]\nLOST3\n[a]\n"
                     "good1\nGOOD2")),
                 "A:GOOD1,RAČUNAR-ČETIR,RAČUNAR-ČETIRI,GOOD2");

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
        QCOMPARE(names(top), (QStringList{"L\\OSTALI #1", "L\\KUCA #1"}));
        const auto computers = list.list(&top->at(1));
        QCOMPARE(names(computers), QStringList{"L\\KUCA\\\\PC-09 #2"});
        QVERIFY(list.list(&computers->at(0))->isEmpty());
        NetRecord gone = top->at(0), foreign = top->at(0);
        gone.remoteName = "L\\NEMA";
        foreign.remoteName = "OSTALI";
        QVERIFY(!list.list(&gone) && !list.list(&foreign));
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
        QCOMPARE(names(top), (QStringList{"S #6 S", "L #6 L"}));
        QCOMPARE(s.totalListings() + l.totalListings(), 0);
        // The back end's own provider text ("Fake") is replaced.
        const auto groups = router.list(&top->at(0));
        QCOMPARE(names(groups), QStringList{"RADNAGRUPA #1 S"});
        const auto servers = router.list(&groups->at(0));
        QCOMPARE(names(servers), QStringList{"\\\\PC-01 #2 S"});
        QCOMPARE(names(router.list(&top->at(1))), QStringList{"RADNAGRUPA #1 L"});
        // A failed open stays one, not an empty list; unknown providers too.
        QVERIFY(!router.list(&servers->at(0)));
        NetRecord none = groups->at(0), unknown = groups->at(0);
        none.provider.clear();
        unknown.provider = "Nepoznat";
        QVERIFY(!router.list(&none) && !router.list(&unknown));
    }

    void smbEntries()
    {
        const auto entry = [](const char *parent, unsigned type, const char *name,
                              const char *remote, quint32 display = 0) { // remote "" = left out
            const auto r = SmbBackend::recordFor(parent, type, name, "opis");
            QCOMPARE(r ? r->remoteName : QString(), QString(remote));
            QVERIFY(!r || (r->displayType == display && r->comment == "opis"));
        };
        entry("", SMBC_WORKGROUP, "RADNAGRUPA", "RADNAGRUPA", NetDisplay::Domain);
        entry("RADNAGRUPA", SMBC_SERVER, "PC-01", "\\\\PC-01", NetDisplay::Server);
        entry("\\\\PC-01", SMBC_FILE_SHARE, "javno", "\\\\PC-01\\javno", NetDisplay::Share);
        entry("\\\\PC-01", SMBC_FILE_SHARE, "C$", "\\\\PC-01\\C$", NetDisplay::ShareAdmin);
        entry("\\\\PC-01\\javno", SMBC_DIR, "f", "\\\\PC-01\\javno\\f", NetDisplay::Directory);
        entry("\\\\PC-01", SMBC_PRINTER_SHARE, "lp", "");
        entry("\\\\PC-01", SMBC_IPC_SHARE, "IPC$", "");
        entry("\\\\PC-01\\javno", SMBC_FILE, "a.txt", "");
        entry("\\\\PC-01\\javno", SMBC_DIR, "..", "");
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
                QThread::msleep(10);
        };
        QVERIFY(!worker.run(stuck, std::chrono::milliseconds(200)));
        QVERIFY(clock.elapsed() >= 190 && clock.elapsed() < 2000);
        // While it is stuck, later calls fail at once and do not run.
        clock.restart();
        QVERIFY(!worker.run([=] { ++*ran; }, std::chrono::seconds(5)));
        QVERIFY(clock.elapsed() < 100 && worker.busy());
        *release = true;
        QTRY_VERIFY_WITH_TIMEOUT(!worker.busy(), 5000);
        QVERIFY(worker.run([=] { ++*ran; }, std::chrono::seconds(5)));
        QCOMPARE(ran->load(), 1);
    }
};

QTEST_GUILESS_MAIN(TestNetworkListing)
#include "tst_networklisting.moc"
