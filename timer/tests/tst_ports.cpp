// Choosing the serial port: fallback to the first entry, the number read
// from the text, which device a number names, and the real line on a pty.
#include "fakes.h"
#include "numbers.h"
#include "picturebutton.h"
#include "qtserialline.h"
#include "serialports.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

class TestPorts : public QObject
{
    Q_OBJECT
private slots:
    void missingPortFallsBackOnce();
    void noEndlessLoopWhenFirstPortFails();
    void typedTextUsedAtNextSelectionAndStored();
    void portNumberFromText();
    void numberNamesDevice();
    void realLineOnPty();
};

static const QString kNoPort = "critical Ne postoji slobodan serijski port pod tim brojem.";

void TestPorts::missingPortFallsBackOnce()
{
    Rig rig;
    rig.line.portCount = 2;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->PortCombo->setCurrentIndex(1);
    f->portComboClick();
    QCOMPARE(rig.line.port(), 2);
    rig.journal.clear();
    f->PortCombo->setCurrentIndex(6); // "7"
    f->portComboClick();
    QCOMPARE(rig.journal, (QStringList{"close", "open 7 failed", kNoPort, "open 1"}));
    QCOMPARE(f->PortCombo->currentIndex(), 0);
    QCOMPARE(f->PortCombo->currentText(), QString("1"));
    QVERIFY(!rig.line.rts());
}

void TestPorts::noEndlessLoopWhenFirstPortFails()
{
    Rig rig;
    rig.line.missing = {1, 7};
    Form1 *f = rig.start();
    QVERIFY(f);
    // At load and at the first activation port 1 is tried; each shows one box.
    QCOMPARE(rig.entries("critical").size(), 2);
    QVERIFY(!rig.line.isOpen());
    rig.journal.clear();
    f->PortCombo->setCurrentIndex(6);
    f->portComboClick();
    QCOMPARE(rig.journal, (QStringList{"open 7 failed", kNoPort, "open 1 failed"}));
    QVERIFY(!rig.line.isOpen());
    // With the port closed the switch cannot switch, and says so.
    f->btnIskljuciClick();
    QVERIFY(!rig.line.rts());
    QCOMPARE(f->btnIskljuci->text(),
             QString("Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio."));
}

void TestPorts::typedTextUsedAtNextSelectionAndStored()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    f->PortCombo->lineEdit()->clear();
    QTest::keyClicks(f->PortCombo->lineEdit(), "3");
    QCOMPARE(rig.line.port(), 1); // typing alone selects nothing
    QVERIFY(f->close());
    QCOMPARE(rig.settings.values.value("Port"), QString("3"));

    Rig next;
    next.settings.values = rig.settings.values;
    QVERIFY(next.start());
    QCOMPARE(next.line.port(), 3);
    QVERIFY(next.entries("critical").isEmpty());

    // A stored text that is no number: one message, then port 1.
    Rig bad;
    bad.settings.values = {{"Pamti Port", "DA"}, {"Port", "COM3"}};
    QVERIFY(bad.start());
    QCOMPARE(bad.entries("critical").size(), 1);
    QCOMPARE(bad.line.port(), 1);
}

void TestPorts::portNumberFromText()
{
    int n = 0;
    QVERIFY(numbers::portNumber("3", &n) && n == 3);
    QVERIFY(numbers::portNumber(" 12 ", &n) && n == 12);
    QVERIFY(numbers::portNumber("2.6", &n) && n == 3);
    for (const char *bad : {"", "abc", "3a", "70000"})
        QVERIFY2(!numbers::portNumber(bad, &n), bad);
}

static void put(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void TestPorts::numberNamesDevice()
{
    QTemporaryDir sys;
    const QString tty = sys.path();
    put(tty + "/console/active", "tty0 ttyS0\n");
    put(tty + "/ttyS0/type", "4\n"); // the console: left out
    put(tty + "/ttyS1/type", "0\n"); // no UART behind it
    put(tty + "/ttyS10/type", "4\n");
    put(tty + "/ttyS2/type", "4\n");
    for (const char *name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "tty1", "ttyprintk"})
        QVERIFY(QDir().mkpath(tty + "/" + name));
    QCOMPARE(
        serialports::fromSysfs(tty, "/dev"),
        (QStringList{"/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"}));
    QCOMPARE(serialports::fromEnvironment("/dev/ttyUSB3::/tmp/pty"),
             (QStringList{"/dev/ttyUSB3", "/tmp/pty"}));
}

void TestPorts::realLineOnPty()
{
    // Only a pseudo-terminal: never a real serial device of this machine.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const QString slave = QString::fromLocal8Bit(ptsname(master));
    QtSerialLine line([&] { return QStringList{slave}; });
    QString error;
    QVERIFY(!line.open(2, &error));
    QVERIFY(error.contains("no serial port number 2"));
    QVERIFY2(line.open(1, &error), qPrintable(error));
    QVERIFY(line.isOpen());
    // A pty has no modem lines: RTS is refused and reads as off.
    QVERIFY(!line.setRts(true));
    QVERIFY(!line.rts());
    line.close();
    QVERIFY(!line.isOpen());
    QVERIFY(!line.setRts(true));
    QVERIFY2(line.open(1, &error), qPrintable(error));
    line.close();
    ::close(master);
}

QTEST_MAIN(TestPorts)
#include "tst_ports.moc"
