// SPDX-License-Identifier: GPL-3.0-or-later
// The SMB browser of the window's process: every listing is a child
// (`vesnal-net list URL`), here a script that plays a network of hosts that
// answer, answer late, hang, crash, print garbage or far too much, or
// refuse. Also the children's output format, and the pool that runs them.
#include "platform/linux/childpool.h"
#include "platform/linux/smbbrowser.h"

#include <QtTest>

using Outcome = NetListing::Outcome;

namespace
{

// The helper's stand-in, fakes/fakelister.sh: it logs each start.
const QString Lister = QStringLiteral(VESNAL_FAKE_LISTER);

NetRecord domain(const QString &name)
{
    NetRecord r;
    r.displayType = NetDisplay::Domain;
    r.remoteName = name;
    return r;
}

QStringList names(const NetListing &listing)
{
    QStringList out;
    for (const auto &r : listing.records)
        out.append(r.remoteName);
    return out;
}

} // namespace

class TestSmbBrowser : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_program = Lister;

    QStringList starts() const
    {
        QFile log(m_dir.filePath("log"));
        return log.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }

private slots:
    void initTestCase() { qputenv("FAKE_LISTER_DIR", QFile::encodeName(m_dir.path())); }

    void init() { QFile::remove(m_dir.filePath("log")); }

    void formatRoundTrip()
    {
        using namespace ListingFormat;
        const QList<Entry> entries = {{Kind::Workgroup, "RADNA GRUPA", ""},
                                      {Kind::Server, "PC-01", "a\\b\tc\nd\re č"},
                                      {Kind::Share, "javno$", "\\"},
                                      {Kind::Directory, "x\\t", "\\n"}};
        QByteArray out;
        for (const auto &e : entries)
            out += line(e);
        QCOMPARE(out.count('\n'), 4); // no raw line break or tab inside a field
        QCOMPARE(out.count('\t'), 8);
        const auto back = parse(out);
        QVERIFY(back);
        QCOMPARE(back->size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(back->at(i).kind, entries[i].kind);
            QCOMPARE(back->at(i).name, entries[i].name);
            QCOMPARE(back->at(i).comment, entries[i].comment);
        }
        QVERIFY(parse("")->isEmpty());
        for (const char *bad :
             {"server\tPC\t", "server\tPC\n", "printer\tPC\t\n", "server\t\t\n",
              "server\tPC\t\\x\n", "server\tPC\t\\\n", "server\tPC\tx\ty\n", "server\tP\xff\t\n"})
            QVERIFY2(!parse(bad), bad);
    }

    void everyEndOfAChildIsAListingOutcome()
    {
        SmbBrowser smb(m_program, std::chrono::milliseconds(1500));
        const auto list = [&](const char *name) {
            const NetRecord group = domain(name);
            return smb.enumerate(&group);
        };

        const NetListing top = smb.enumerate(nullptr);
        QCOMPARE(names(top).mid(0, 3), (QStringList{"ZIVA", "SPORA", "TIHA"}));
        const NetListing live = list("ZIVA");
        QCOMPARE(live.outcome, Outcome::Listed);
        QCOMPARE(names(live), (QStringList{"\\\\PC-01", "\\\\PC-02"}));
        QCOMPARE(live.records[0].comment, QString("Ra\\cunar\tu\nsobi"));
        QCOMPARE(live.records[0].displayType, NetDisplay::Server);
        QCOMPARE(list("SPORA").outcome, Outcome::Listed); // late, but within the deadline
        QCOMPARE(list("ODBIJA").outcome, Outcome::Refused);
        // Crashed (even after a good line), garbage, cut short, far too much,
        // another exit status, or no program at all: never a listing.
        for (const char *name : {"PADA", "SMECE", "NEDOVRSENA", "OGROMNA", "CUDNA"})
            QVERIFY2(list(name).outcome == Outcome::NoAnswer, name);
        QCOMPARE(SmbBrowser(m_dir.filePath("nema")).enumerate(nullptr).outcome, Outcome::NoAnswer);

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(list("TIHA").outcome, Outcome::NoAnswer);
        QVERIFY2(clock.elapsed() >= 1400 && clock.elapsed() < 2500,
                 QByteArray::number(clock.elapsed()));

        // A share opens when its child says so; a server alone is never asked.
        QVERIFY(smb.opensAsDirectory("\\\\PC-01\\javno"));
        QVERIFY(!smb.opensAsDirectory("\\\\PC-01\\zatvoreno"));
        QVERIFY(!smb.opensAsDirectory("\\\\PC-01"));
        QVERIFY(!starts().contains("probe smb://PC-01"));
    }

    void listingsAheadCostOneDeadlineAtMostEightAtATime()
    {
        SmbBrowser smb(m_program, std::chrono::milliseconds(1500));
        QList<NetRecord> groups{domain("ZIVA")};
        for (int i = 1; i <= 16; ++i)
            groups.append(domain(QString("TIHA%1").arg(i)));
        QList<const NetRecord *> parents;
        for (const auto &g : groups)
            parents.append(&g);

        QElapsedTimer clock;
        clock.start();
        smb.listAhead(parents);
        QCOMPARE(names(smb.enumerate(&groups[0])), (QStringList{"\\\\PC-01", "\\\\PC-02"}));
        QVERIFY2(clock.elapsed() < 1000, QByteArray::number(clock.elapsed()));
        // The first seven hanging ones took the slots beside the live one,
        // one more took its slot, and the rest never started.
        for (int i = 1; i <= 16; ++i)
            QCOMPARE(smb.enumerate(&groups[i]).outcome,
                     i <= 8 ? Outcome::NoAnswer : Outcome::NotAsked);
        const qint64 all = clock.elapsed();
        QVERIFY2(all >= 1400 && all < 2100, QByteArray::number(all));
        QCOMPARE(starts().size(), 9);

        // Taken once: asked again, the listing runs anew.
        QCOMPARE(smb.enumerate(&groups[0]).outcome, Outcome::Listed);
        QCOMPARE(starts().size(), 10);
    }

    void preparedListingsNobodyTookAreDroppedWithinTheDeadline()
    {
        SmbBrowser smb(m_program, std::chrono::milliseconds(1000));
        const NetRecord a = domain("TIHA-A"), b = domain("ZIVA");
        QElapsedTimer clock;
        clock.start();
        smb.listAhead({&a, &b});
        smb.listAhead({&b}); // drops the first batch: its hanging child is ended
        QVERIFY2(clock.elapsed() < 1500, QByteArray::number(clock.elapsed()));
        QCOMPARE(smb.enumerate(&b).outcome, Outcome::Listed);
        smb.listAhead({});
        QCOMPARE(smb.enumerate(&a).outcome, Outcome::NoAnswer); // not prepared: its own wait
        QVERIFY2(clock.elapsed() < 3000, QByteArray::number(clock.elapsed()));
    }

    void poolRunsInOrderAndNeverPastItsDeadline()
    {
        const auto job = [](const char *script) {
            return ChildPool::Job{"/bin/sh", {"-c", script}};
        };
        QElapsedTimer clock;
        clock.start();
        ChildPool pool({job("sleep 30"), job("echo a"), job("sleep 30"), job("echo b")},
                       QDeadlineTimer(800), 2);
        QVERIFY(!pool.take(3)); // waited behind two hangs, never started
        QVERIFY2(clock.elapsed() >= 750 && clock.elapsed() < 1500,
                 QByteArray::number(clock.elapsed()));
        QCOMPARE(pool.take(1)->out, QByteArray("a\n"));
        QCOMPARE(pool.take(0)->end, ChildOutcome::End::TimedOut);
        QVERIFY(!pool.take(7)); // no such job
    }
};

QTEST_GUILESS_MAIN(TestSmbBrowser)
#include "tst_smbbrowser.moc"
