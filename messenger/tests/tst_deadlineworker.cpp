#include "deadlineworker.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

class TestDeadlineWorker : public QObject
{
    Q_OBJECT
private slots:
    void anOverrunCostsItsDeadlineOnce()
    {
        auto release = std::make_shared<std::atomic<bool>>(false);
        auto wrote = std::make_shared<std::atomic<int>>(0);
        DeadlineWorker worker;
        QElapsedTimer clock;
        clock.start();
        // The job waits far beyond its deadline (bounded to 10 s).
        QVERIFY(!worker.run(
            [=] {
                for (int i = 0; i < 1000 && !*release; ++i)
                    std::this_thread::sleep_for(10ms);
                *wrote = 1;
            },
            200ms));
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= 190 && waited < 2000, QByteArray::number(waited));
        QVERIFY(worker.busy());

        // While it still runs, further calls are refused at once.
        clock.restart();
        auto ran = std::make_shared<bool>(false);
        QVERIFY(!worker.run([=] { *ran = true; }, 5s));
        QVERIFY(clock.elapsed() < 100);
        QVERIFY(!*ran);

        // Once it has returned, the worker serves again.
        *release = true;
        QTRY_VERIFY_WITH_TIMEOUT(!worker.busy(), 5000);
        QCOMPARE(wrote->load(), 1);
        QVERIFY(worker.run([=] { *ran = true; }, 5s));
        QVERIFY(*ran);
    }

    void cleanUpRunsOnTheThreadAfterTheLastJob()
    {
        auto order = std::make_shared<std::vector<int>>();
        {
            DeadlineWorker worker([order] { order->push_back(2); });
            QVERIFY(worker.run([order] { order->push_back(1); }, 1s));
        }
        // The destructor waits for a clean-up that is not held up.
        QCOMPARE(*order, (std::vector<int>{1, 2}));

        // With a job stuck, destruction does not wait for it; the clean-up
        // follows once the job is done.
        auto release = std::make_shared<std::atomic<bool>>(false);
        auto cleaned = std::make_shared<std::atomic<bool>>(false);
        QElapsedTimer clock;
        clock.start();
        {
            DeadlineWorker worker([cleaned] { *cleaned = true; });
            QVERIFY(!worker.run(
                [release] {
                    for (int i = 0; i < 1000 && !*release; ++i)
                        std::this_thread::sleep_for(10ms);
                },
                50ms));
        }
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(!*cleaned);
        *release = true;
        QTRY_VERIFY_WITH_TIMEOUT(cleaned->load(), 5000);
    }
};

QTEST_GUILESS_MAIN(TestDeadlineWorker)
#include "tst_deadlineworker.moc"
