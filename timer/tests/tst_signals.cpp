// Ending the program by SIGTERM, SIGINT or SIGHUP switches the load off and
// stores the settings, without box or tone. Runs the timer's own main logic
// as a process, on a line that records RTS changes to a file.
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

class TestSignals : public QObject
{
    Q_OBJECT
private slots:
    void endsWithLoadOff_data();
    void endsWithLoadOff();
};

static QStringList readRecord(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void TestSignals::endsWithLoadOff_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QStringList>("mode");
    QTest::newRow("SIGTERM, load on") << int(SIGTERM) << QStringList{"on"};
    QTest::newRow("SIGINT, load on") << int(SIGINT) << QStringList{"on"};
    QTest::newRow("SIGHUP, counting") << int(SIGHUP) << QStringList{"count", "30"};
}

void TestSignals::endsWithLoadOff()
{
    QFETCH(int, signalNumber);
    QFETCH(QStringList, mode);
    QTemporaryDir dir;
    const QString recordPath = dir.filePath("record");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(TEMPRAL_SIGNAL_CHILD, QStringList{recordPath} + mode);
    QVERIFY(child.waitForStarted(5000));

    QDeadlineTimer deadline(15000);
    while (!readRecord(recordPath).contains("ready") && !deadline.hasExpired() &&
           child.state() == QProcess::Running)
        QTest::qWait(20);
    QStringList before = readRecord(recordPath);
    QVERIFY2(before.contains("ready"), qPrintable(before.join(" | ")));
    QCOMPARE(before.filter("rts").last(), QString("rts 1"));

    ::kill(pid_t(child.processId()), signalNumber);
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 128 + signalNumber);

    const QStringList record = readRecord(recordPath);
    const QStringList after = record.mid(record.indexOf("ready") + 1);
    QCOMPARE(after.filter("rts"), QStringList{"rts 0"});
    QVERIFY2(after.filter("beep").isEmpty() && after.filter("box").isEmpty(),
             qPrintable(after.join(" | ")));
    QCOMPARE(after.last(), QString("exit %1").arg(128 + signalNumber));

    QSettings stored(dir.filePath("Tempral v0.5.ini"), QSettings::IniFormat);
    QCOMPARE(stored.value("Pamti Zadato Vreme").toString(), QString("DA"));
    QCOMPARE(stored.value("Zadato Vreme").toString(), mode.value(1));
    QCOMPARE(stored.value("Pamti Port").toString(), QString("DA"));
    QCOMPARE(stored.value("Port").toString(), QString("1"));
    QCOMPARE(stored.value("Zvuk").toString(), QString("DA"));
}

QTEST_GUILESS_MAIN(TestSignals)
#include "tst_signals.moc"
