// An SMB network where nobody answers: the lab's isolated namespace, whose
// only link leads nowhere. 10.203.1.9 is a host that is known on the link
// but silent (connections to it hang); listings must give up within the
// back end's timeout instead of the library's own, much longer waits.
#include "smbbackend.h"

#include <QElapsedTimer>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

NetRecord server(const QString &address)
{
    NetRecord r;
    r.displayType = NetDisplay::Server;
    r.remoteName = "\\\\" + address;
    return r;
}

// A port that takes connections (the kernel completes them) but whose
// owner never reads or answers.
struct MuteListener {
    int fd = -1;
    explicit MuteListener(quint16 port)
    {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        inet_pton(AF_INET, "10.203.1.2", &a.sin_addr);
        if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(fd, 16) != 0) {
            close(fd);
            fd = -1;
        }
    }
    ~MuteListener()
    {
        if (fd >= 0) close(fd); // resets the connections still waiting
    }
};

} // namespace

class TestLabUnreachable : public QObject
{
    Q_OBJECT
private slots:
    void nobodyOnTheNetworkListsNothingQuickly()
    {
        SmbBackend smb; // the timeout the program uses
        QElapsedTimer clock;
        clock.start();
        const auto top = smb.list(nullptr);
        const qint64 topMs = clock.restart();
        QVERIFY(!top || top->isEmpty());
        NetRecord group;
        group.displayType = NetDisplay::Domain;
        group.remoteName = "RADNAGRUPA";
        const auto servers = smb.list(&group);
        const qint64 groupMs = clock.restart();
        QVERIFY(!servers || servers->isEmpty());
        const NetRecord pc = server("PC-01");
        QVERIFY(!smb.list(&pc));
        const qint64 serverMs = clock.restart();
        QVERIFY(!smb.opensAsDirectory("\\\\PC-01\\javno"));
        const qint64 shareMs = clock.elapsed();
        qInfo("no one answering: top %lld ms, workgroup %lld ms, server %lld ms, share %lld ms",
              topMs, groupMs, serverMs, shareMs);
        for (const qint64 ms : {topMs, groupMs, serverMs, shareMs})
            QVERIFY2(ms < 6000, QByteArray::number(ms));
    }

    void silentHostCostsTheTimeoutOnce()
    {
        SmbBackend smb(1500);
        const NetRecord silent = server("10.203.1.9");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!smb.list(&silent));
        const qint64 ms = clock.restart();
        qInfo("silent host, 1500 ms timeout: gave up after %lld ms", ms);
        QVERIFY2(ms >= 1400 && ms < 2500, QByteArray::number(ms));

        // The library call still hangs on its thread: the next calls fail at
        // once rather than queue behind it, then the back end recovers.
        QVERIFY(!smb.list(nullptr));
        QVERIFY(!smb.opensAsDirectory("\\\\10.203.1.9\\javno"));
        QVERIFY(clock.elapsed() < 200);
        QVERIFY(smb.busy());
        QTRY_VERIFY_WITH_TIMEOUT(!smb.busy(), 40000);
        qInfo("the stuck call returned %lld ms after the back end gave up", clock.elapsed());
        // Calls run again: this one waits for its own timeout, not refused.
        clock.restart();
        QVERIFY(!smb.list(&silent));
        QVERIFY2(clock.elapsed() >= 1400, QByteArray::number(clock.elapsed()));
        // The library is shared by every back end of the process: leave it free.
        QTRY_VERIFY_WITH_TIMEOUT(!smb.busy(), 40000);
    }

    void defaultTimeoutOnASilentHost()
    {
        SmbBackend smb;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!smb.opensAsDirectory("\\\\10.203.1.9\\javno"));
        const qint64 ms = clock.elapsed();
        qInfo("silent host, default timeout: gave up after %lld ms", ms);
        QVERIFY2(ms >= 4500 && ms < 6500, QByteArray::number(ms));
        QTRY_VERIFY_WITH_TIMEOUT(!smb.busy(), 40000);
    }

    void hostThatTakesConnectionsButNeverAnswers()
    {
        MuteListener p139(139), p445(445);
        QVERIFY(p139.fd >= 0 && p445.fd >= 0);
        SmbBackend smb(1500);
        const NetRecord mute = server("10.203.1.2");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!smb.list(&mute));
        const qint64 ms = clock.elapsed();
        qInfo("mute host, 1500 ms timeout: gave up after %lld ms", ms);
        QVERIFY2(ms >= 1400 && ms < 2500, QByteArray::number(ms));
    }
};

QTEST_GUILESS_MAIN(TestLabUnreachable)
#include "tst_lab_isolated_unreachable.moc"
