// SPDX-License-Identifier: GPL-3.0-or-later
// An SMB network where nobody answers: the lab's isolated namespace, whose
// only link leads nowhere. 10.203.1.9 is known on the link but silent
// (connections to it hang); listings must give up within the browser's
// deadline instead of the library's own, much longer waits, and a hanging
// listing must hold up nothing after it.
#include "platform/linux/smbbrowser.h"

#include <QElapsedTimer>
#include <QTest>

class TestLabUnreachable : public QObject
{
    Q_OBJECT
private slots:
    void nobodyAnsweringListsNothingWithinTheDeadline()
    {
        SmbBrowser smb(VESNAL_BINARY_DIR "/vesnal-net", std::chrono::milliseconds(1500));
        QElapsedTimer clock;
        clock.start();
        NetRecord group, silent;
        group.displayType = NetDisplay::Domain, group.remoteName = "RADNAGRUPA";
        silent.displayType = NetDisplay::Server, silent.remoteName = "\\\\10.203.1.9";
        for (const NetRecord *parent : {(const NetRecord *)nullptr, &std::as_const(group)}) {
            clock.restart();
            const NetListing l = smb.enumerate(parent);
            qInfo("no one answering, %s: %lld ms, outcome %d (0 listed, 1 refused, 2 no answer)",
                  parent ? "workgroup" : "top", clock.elapsed(), int(l.outcome));
            QVERIFY(l.records.isEmpty());
            QVERIFY2(clock.elapsed() < 2500, QByteArray::number(clock.elapsed()));
        }

        // A silent host costs the deadline, each time it is asked, and
        // nothing more: no call is left running to hold up the next.
        for (int i = 0; i < 2; ++i) {
            clock.restart();
            QCOMPARE(smb.enumerate(&silent).outcome, NetListing::Outcome::NoAnswer);
            qInfo("silent host, 1500 ms deadline: gave up after %lld ms", clock.elapsed());
            QVERIFY2(clock.elapsed() >= 1400 && clock.elapsed() < 2500,
                     QByteArray::number(clock.elapsed()));
        }
        clock.restart();
        QVERIFY(!smb.opensAsDirectory("\\\\10.203.1.9\\javno"));
        QVERIFY2(clock.elapsed() < 2500, QByteArray::number(clock.elapsed()));
    }
};

QTEST_GUILESS_MAIN(TestLabUnreachable)
#include "tst_lab_isolated_unreachable.moc"
