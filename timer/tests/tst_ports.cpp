// Choosing the serial port, which device a number names, and the real line.
#include "fakes.h"
#include "qtserialline.h"
#include "serialports.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

class TestPorts : public QObject
{
    Q_OBJECT
private slots:
    void fallbackToFirstEntry();
    void typedTextUsedAtNextSelectionAndStored();
    void numberNamesDevice();
    void realLineOnPty();
};

static const QString kNoPort = "critical Ne postoji slobodan serijski port pod tim brojem.";

void TestPorts::fallbackToFirstEntry()
{
    Rig rig;
    rig.line.portCount = 2;
    Form1 *f = rig.start();
    QVERIFY(f);
    rig.journal.clear();
    f->PortCombo->setCurrentIndex(6); // "7"
    f->portComboClick();
    QCOMPARE(rig.journal, (QStringList{"close", "open 7 failed", kNoPort, "open 1"}));
    QCOMPARE(f->PortCombo->currentText(), QString("1"));

    // When port 1 fails too: one message, the port stays closed, no loop.
    rig.line.missing = {1};
    rig.journal.clear();
    f->PortCombo->setCurrentIndex(6);
    f->portComboClick();
    QCOMPARE(rig.journal, (QStringList{"close", "open 7 failed", kNoPort, "open 1 failed"}));
    f->btnIskljuciClick(); // nothing to switch: the window says off
    QVERIFY(!rig.line.rts());
    QCOMPARE(f->btnIskljuci->pictureName(), QString("lightoff"));
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

    // A stored text that is no number: one message, then port 1.
    Rig bad;
    bad.settings.values = {{"Pamti Port", "DA"}, {"Port", "COM3"}};
    QVERIFY(bad.start());
    QCOMPARE(bad.entries("critical").size(), 1);
    QCOMPARE(bad.line.port(), 1);
}

void TestPorts::numberNamesDevice()
{
    QTemporaryDir sys;
    const auto put = [&](const QString &name, const QByteArray &content) {
        QDir().mkpath(sys.filePath(name));
        QFile f(sys.filePath(name + "/" + (name == "console" ? "active" : "type")));
        if (!content.isEmpty() && f.open(QIODevice::WriteOnly)) f.write(content);
    };
    put("console", "tty0 ttyS0\n");
    put("ttyS0", "4\n"); // the console: left out
    put("ttyS1", "0\n"); // no UART behind it
    put("ttyS10", "4\n");
    put("ttyS2", "4\n");
    for (const char *name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "tty1"})
        put(name, {});
    QCOMPARE(
        serialports::fromSysfs(sys.path(), "/dev"),
        (QStringList{"/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"}));
    QCOMPARE(serialports::fromEnvironment("/dev/ttyUSB3::/tmp/pty"),
             (QStringList{"/dev/ttyUSB3", "/tmp/pty"}));
}

void TestPorts::realLineOnPty()
{
    // Only a pseudo-terminal: never a real serial device of this machine.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const QString slave = QString::fromLocal8Bit(ptsname(master));
    QtSerialLine line([&] { return QStringList{slave}; });
    QString error;
    QVERIFY(!line.open(2, &error));
    QVERIFY2(line.open(1, &error), qPrintable(error));
    // A pty has no modem lines: RTS is refused and reads as off.
    QVERIFY(!line.setRts(true));
    QVERIFY(!line.rts());
    line.close();
    QVERIFY(!line.isOpen() && !line.setRts(true));
    QVERIFY2(line.open(1, &error), qPrintable(error)); // released by the close
    ::close(master);
}

QTEST_MAIN(TestPorts)
#include "tst_ports.moc"
