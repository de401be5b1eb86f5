// An SMB network where nobody answers: the lab's isolated namespace, whose
// only link leads nowhere. 10.203.1.9 is known on the link but silent
// (connections to it hang); listings must give up within the back end's
// timeout instead of the library's own, much longer waits.
#include "platform/linux/smbbackend.h"

#include <QElapsedTimer>
#include <QTest>

namespace
{

NetRecord record(quint32 displayType, const QString &remoteName)
{
    NetRecord r;
    r.displayType = displayType;
    r.remoteName = remoteName;
    return r;
}

} // namespace

class TestLabUnreachable : public QObject
{
    Q_OBJECT
private slots:
    void nobodyAnsweringListsNothingWithinTheTimeout()
    {
        SmbBackend smb(1500);
        QElapsedTimer clock;
        clock.start();
        const auto top = smb.list(nullptr);
        const qint64 topMs = clock.restart();
        QVERIFY(!top || top->isEmpty());
        const NetRecord group = record(NetDisplay::Domain, "RADNAGRUPA");
        const auto servers = smb.list(&group);
        const qint64 groupMs = clock.restart();
        QVERIFY(!servers || servers->isEmpty());
        qInfo("no one answering: top %lld ms, workgroup %lld ms", topMs, groupMs);
        QVERIFY2(topMs < 2500 && groupMs < 2500, QByteArray::number(topMs + groupMs));

        // A silent host costs exactly the timeout; its call still hangs on
        // the worker thread, so the next calls fail at once.
        QTRY_VERIFY_WITH_TIMEOUT(!smb.busy(), 40000);
        const NetRecord silent = record(NetDisplay::Server, "\\\\10.203.1.9");
        clock.restart();
        QVERIFY(!smb.list(&silent));
        const qint64 silentMs = clock.restart();
        qInfo("silent host, 1500 ms timeout: gave up after %lld ms", silentMs);
        QVERIFY2(silentMs >= 1400 && silentMs < 2500, QByteArray::number(silentMs));
        QVERIFY(!smb.list(nullptr));
        QVERIFY(!smb.opensAsDirectory("\\\\10.203.1.9\\javno"));
        QVERIFY2(clock.elapsed() < 200, QByteArray::number(clock.elapsed()));
        // The library is shared by every back end of the process: leave it free.
        QTRY_VERIFY_WITH_TIMEOUT(!smb.busy(), 40000);
    }
};

QTEST_GUILESS_MAIN(TestLabUnreachable)
#include "tst_lab_isolated_unreachable.moc"
