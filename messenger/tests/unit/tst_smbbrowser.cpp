// SPDX-License-Identifier: GPL-3.0-or-later
// The SMB browser of the window's process: every listing is a child
// (`vesnal-net list URL`), here fakes/fakelister.sh; and the children's
// output format.
#include "platform/linux/smbbrowser.h"

#include <QtTest>

using Outcome = NetListing::Outcome;

namespace
{

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

bool within(const QElapsedTimer &clock, qint64 from, qint64 to)
{
    const qint64 ms = clock.elapsed();
    if (ms < from || ms >= to)
        qWarning("took %lld ms", ms);
    return ms >= from && ms < to;
}

} // namespace

class TestSmbBrowser : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_program = QStringLiteral(VESNAL_FAKE_LISTER); // logs each start

    int starts() const
    {
        QFile log(m_dir.filePath("log"));
        return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
    }

private slots:
    void initTestCase() { qputenv("FAKE_LISTER_DIR", QFile::encodeName(m_dir.path())); }

    void init() { QFile::remove(m_dir.filePath("log")); }

    void formatRoundTripAndRecords()
    {
        // Written, read back and made records below \\PC-01: names and
        // comments whole (a leading U+FEFF too); "$" marks an administrative share.
        using namespace ListingFormat;
        QByteArray out;
        for (const Entry &e :
             {Entry{Kind::Server, "PC-01", "a\\b\tc\nd\re č"}, Entry{Kind::Share, "javno$", "\\"},
              Entry{Kind::Share, "x\\t", "\\n"}, Entry{Kind::Directory, "f", ""},
              Entry{Kind::Share, QStringLiteral("\uFEFF"), QStringLiteral("\uFEFFx")}})
            out += line(e);
        QStringList got;
        for (const Entry &e : parse(out).value_or(QList<Entry>{})) {
            const NetRecord r = SmbBrowser::recordFor("\\\\PC-01", e);
            got << r.remoteName + '|' + QString::number(r.displayType) + '|' + r.comment;
        }
        QCOMPARE(got, (QStringList{"\\\\PC-01|2|a\\b\tc\nd\re č", "\\\\PC-01\\javno$|8|\\",
                                   "\\\\PC-01\\x\\t|3|\\n", "\\\\PC-01\\f|9|",
                                   "\\\\PC-01\\\uFEFF|3|\uFEFFx"}));
        QVERIFY(parse("")->isEmpty());
        for (const char *bad : {"server\tPC\t", "server\tPC\n", "printer\tPC\t\n", "server\t\t\n",
                                "server\tPC\t\\x\n", "server\tPC\t\\\n", "server\tPC\tx\ty\n",
                                "server\tP\xff\t\n", "server\tP\rC\t\n"})
            QVERIFY2(!parse(bad), bad);
        // Each part of an address percent-encoded: '/', '?' and '%' stay in one name.
        QCOMPARE(SmbBrowser::urlFor("\\\\PC-01\\Moji dokumenti\\a%b?c/d"),
                 QString("smb://PC-01/Moji%20dokumenti/a%25b%3Fc%2Fd"));
    }

    void everyEndOfAChildIsAListingOutcome()
    {
        SmbBrowser smb(m_program, std::chrono::milliseconds(1500));
        const auto outcome = [&](const char *name) {
            const NetRecord group = domain(name);
            return smb.enumerate(&group).outcome;
        };
        QCOMPARE(outcome("SPORA"), Outcome::Listed); // late, but within the deadline
        QCOMPARE(outcome("ODBIJA"), Outcome::Refused);
        // Crashed (even after a good line), garbage, cut short, far too much,
        // another exit status, or no program at all: never a listing.
        for (const char *name : {"PADA", "SMECE", "NEDOVRSENA", "OGROMNA", "CUDNA"})
            QVERIFY2(outcome(name) == Outcome::NoAnswer, name);
        QCOMPARE(SmbBrowser(m_dir.filePath("nema")).enumerate(nullptr).outcome, Outcome::NoAnswer);
        // A share opens when its child says so; a server alone is never asked.
        QVERIFY(smb.opensAsDirectory("\\\\PC-01\\javno"));
        QVERIFY(!smb.opensAsDirectory("\\\\PC-01\\zatvoreno"));
        QVERIFY(!smb.opensAsDirectory("\\\\PC-01"));
        QCOMPARE(starts(), 9);
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
        auto ahead = smb.listAhead(parents);
        QCOMPARE(names(*ahead->take(&groups[0])), (QStringList{"\\\\PC-01", "\\\\PC-02"}));
        QVERIFY(within(clock, 0, 1000));
        // The first seven hanging ones took the slots beside the live one,
        // one more took its slot, and the rest never started.
        for (int i = 1; i <= 16; ++i)
            QCOMPARE(ahead->take(&groups[i])->outcome,
                     i <= 8 ? Outcome::NoAnswer : Outcome::NotAsked);
        QVERIFY(within(clock, 1400, 2100));
        QCOMPARE(starts(), 9);
        // Taken once: asked again, the listing runs anew.
        QVERIFY(!ahead->take(&groups[0]));
        QCOMPARE(smb.enumerate(&groups[0]).outcome, Outcome::Listed);
        QCOMPARE(starts(), 10);

        // Prepared listings nobody took go with their batch, their hanging
        // children ended.
        const NetRecord a = domain("TIHA-A"), &b = groups[0];
        clock.restart();
        ahead = smb.listAhead({&a, &b});
        QCOMPARE(ahead->take(&b)->outcome, Outcome::Listed);
        ahead.reset();
        QVERIFY(within(clock, 0, 1000));
        QCOMPARE(smb.enumerate(&a).outcome, Outcome::NoAnswer); // not prepared: its own wait
        QVERIFY(within(clock, 1400, 3000));
    }
};

QTEST_GUILESS_MAIN(TestSmbBrowser)
#include "tst_smbbrowser.moc"
