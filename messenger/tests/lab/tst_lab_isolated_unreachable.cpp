// SPDX-License-Identifier: GPL-3.0-or-later
// An SMB network where nobody answers: the lab's isolated namespace, whose
// only link leads nowhere. 10.203.1.9 is known on the link but silent
// (connections to it hang); listings must give up within the browser's
// deadline instead of the library's own, much longer waits, and a hanging
// listing must hold up nothing after it.
#include "platform/linux/smbbrowser.h"

#include <QElapsedTimer>
#include <QTest>

namespace
{

const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");

NetRecord record(quint32 displayType, const QString &remoteName)
{
    NetRecord r;
    r.displayType = displayType;
    r.remoteName = remoteName;
    return r;
}

const char *outcome(const NetListing &l)
{
    switch (l.outcome) {
    case NetListing::Outcome::Listed:
        return l.records.isEmpty() ? "listed, empty" : "listed";
    case NetListing::Outcome::Refused:
        return "refused";
    case NetListing::Outcome::NoAnswer:
        return "no answer";
    case NetListing::Outcome::NotAsked:
        return "not asked";
    }
    return "";
}

} // namespace

class TestLabUnreachable : public QObject
{
    Q_OBJECT
private slots:
    void nobodyAnsweringListsNothingWithinTheDeadline()
    {
        SmbBrowser smb(Helper, std::chrono::milliseconds(1500));
        QElapsedTimer clock;
        clock.start();
        const NetListing top = smb.enumerate(nullptr);
        const qint64 topMs = clock.restart();
        QVERIFY(top.records.isEmpty());
        const NetRecord group = record(NetDisplay::Domain, "RADNAGRUPA");
        const NetListing servers = smb.enumerate(&group);
        const qint64 groupMs = clock.restart();
        QVERIFY(servers.records.isEmpty());
        qInfo("no one answering: top %lld ms (%s), workgroup %lld ms (%s)", topMs, outcome(top),
              groupMs, outcome(servers));
        QVERIFY2(topMs < 2500 && groupMs < 2500, QByteArray::number(topMs + groupMs));

        // A silent host costs the deadline, each time it is asked, and
        // nothing more: no call is left running to hold up the next.
        const NetRecord silent = record(NetDisplay::Server, "\\\\10.203.1.9");
        for (int i = 0; i < 2; ++i) {
            clock.restart();
            QCOMPARE(smb.enumerate(&silent).outcome, NetListing::Outcome::NoAnswer);
            const qint64 silentMs = clock.elapsed();
            qInfo("silent host, 1500 ms deadline: gave up after %lld ms", silentMs);
            QVERIFY2(silentMs >= 1400 && silentMs < 2500, QByteArray::number(silentMs));
        }
        clock.restart();
        QVERIFY(!smb.opensAsDirectory("\\\\10.203.1.9\\javno"));
        QVERIFY2(clock.elapsed() < 2500, QByteArray::number(clock.elapsed()));

        // Three silent shares asked ahead: one deadline for all of them.
        const QList<NetRecord> shares = {record(NetDisplay::Share, "\\\\10.203.1.9\\a"),
                                         record(NetDisplay::Share, "\\\\10.203.1.9\\b"),
                                         record(NetDisplay::Share, "\\\\10.203.1.9\\c")};
        clock.restart();
        smb.listAhead({&shares[0], &shares[1], &shares[2]});
        for (const NetRecord &share : shares)
            QCOMPARE(smb.enumerate(&share).outcome, NetListing::Outcome::NoAnswer);
        smb.listAhead({});
        QVERIFY2(clock.elapsed() >= 1400 && clock.elapsed() < 2500,
                 QByteArray::number(clock.elapsed()));
    }
};

QTEST_GUILESS_MAIN(TestLabUnreachable)
#include "tst_lab_isolated_unreachable.moc"
