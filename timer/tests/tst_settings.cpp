// The remembered values (read at load, written only at close) and the choice
// of the serial port.
#include "fakes.h"
#include "inisettingsstore.h"
#include "qtserialline.h"
#include "serialports.h"

#include <QDir>
#include <QTemporaryDir>
#include <fcntl.h>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void loadAndClose_data();
    void loadAndClose();
    void iniFileAndUnwritableFile();
    void portFallbackOnceAndTypedText();
    void portNumberNamesDeviceAndRealLine();
};

static const QString kNoPort = "critical Ne postoji slobodan serijski port pod tim brojem.";

static Values all(const QString &flag, const QString &period, const QString &port)
{
    return {{"Pamti Zadato Vreme", flag},
            {"Zadato Vreme", period},
            {"Pamti Port", flag},
            {"Port", port},
            {"Zvuk", flag}};
}

void TestSettings::loadAndClose_data()
{
    QTest::addColumn<Values>("stored");
    QTest::addColumn<QString>("shown"); // ticked boxes, period, port, port messages
    QTest::addColumn<Values>("afterClose");
    const Values none = all("DA", "", "1");
    QTest::newRow("no key") << Values() << "111  1 0" << none;
    QTest::newRow("DA") << all("DA", "120", "3") << "111 120 3 0" << all("DA", "120", "3");
    // Unticked boxes leave the stored period and port untouched.
    QTest::newRow("NE") << all("NE", "120", "3") << "000  1 0" << all("NE", "120", "3");
    QTest::newRow("da is missing") << all("da", "120", "3") << "111  1 0" << none;
    QTest::newRow("no Port") << Values{{"Pamti Port", "DA"}} << "111  1 1" << none;
    QTest::newRow("bad Port") << Values{{"Pamti Port", "DA"}, {"Port", "x"}} << "111  1 1" << none;
}

void TestSettings::loadAndClose()
{
    QFETCH(Values, stored);
    QFETCH(QString, shown);
    QFETCH(Values, afterClose);
    Rig rig(stored);
    Form1 *f = rig.f;
    QCOMPARE(QString("%1%2%3 %4 %5 %6")
                 .arg(f->Pamti_vreme->isChecked())
                 .arg(f->Pamti_port->isChecked())
                 .arg(f->chkZvuk->isChecked())
                 .arg(f->Zadato1->text(), f->PortCombo->currentText())
                 .arg(rig.journal.count(kNoPort)),
             shown);
    QCOMPARE(QString::number(rig.port), f->PortCombo->currentText());
    QVERIFY(rig.entries("write").isEmpty() && !rig.on);
    QVERIFY(f->close());
    QCOMPARE(rig.values, afterClose);
}

void TestSettings::iniFileAndUnwritableFile()
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath("a.ini"));
    QVERIFY(!store.read("Port") && store.write("Port", "") && store.read("Port") == QString());
    QVERIFY(store.write("Port", "1, 2") && store.read("Port") == QString("1, 2"));

    // A folder where the file should be: nothing can be written, and the
    // close still switches the load off.
    QVERIFY(QDir().mkpath(dir.filePath("b.ini")));
    IniSettingsStore broken(dir.filePath("b.ini"));
    Rig rig({}, &broken);
    rig.f->btnIskljuciClick();
    QVERIFY(rig.on && rig.f->close() && !rig.on);
    QCOMPARE(rig.entries("warning").size(), 1);
}

void TestSettings::portFallbackOnceAndTypedText()
{
    Rig rig;
    Form1 *f = rig.f;
    for (const auto &missing : {QSet<int>{7}, QSet<int>{1, 7}}) {
        rig.missing = missing;
        rig.journal.clear();
        f->PortCombo->setCurrentIndex(6); // "7"
        f->portComboClick();
        const QString first = missing.contains(1) ? "open 1 failed" : "open 1"; // no loop
        QCOMPARE(rig.journal, (QStringList{"close", "open 7 failed", kNoPort, first}));
        QCOMPARE(f->PortCombo->currentText(), QString("1"));
    }
    f->btnIskljuciClick(); // no port to switch: the window says off
    QCOMPARE(f->btnIskljuci->pictureName(), QString("lightoff"));

    // Typing alone selects nothing; the text is stored for the next start.
    rig.missing.clear();
    f->portComboClick();
    QTest::keyClicks(f->PortCombo->lineEdit(), "\b3");
    QCOMPARE(rig.port, 1);
    QVERIFY(f->close());
    QCOMPARE(Rig(rig.values).port, 3);
}

void TestSettings::portNumberNamesDeviceAndRealLine()
{
    QTemporaryDir sys;
    for (const QString entry :
         {"console/active=tty0 ttyS0", "ttyS0/type=4", "ttyS1/type=0", "ttyS10/type=4",
          "ttyS2/type=4", "ttyUSB1/", "ttyUSB0/", "ttyACM0/", "tty1/"}) {
        QDir().mkpath(sys.filePath(entry.section('/', 0, 0)));
        QFile file(sys.filePath(entry.section('=', 0, 0)));
        if (entry.contains('=') && file.open(QIODevice::WriteOnly))
            file.write(entry.section('=', 1).toUtf8() + "\n");
    }
    // The console (ttyS0) and a port without a UART (ttyS1) are left out.
    QCOMPARE(
        serialports::fromSysfs(sys.path(), "/dev"),
        (QStringList{"/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"}));
    QCOMPARE(serialports::fromEnvironment("/dev/ttyUSB3::/tmp/pty"),
             (QStringList{"/dev/ttyUSB3", "/tmp/pty"}));

    // The real line, on a pseudo-terminal only: never a real serial device.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    QtSerialLine line([&] { return QStringList{ptsname(master)}; });
    QString error;
    QVERIFY(!line.open(2, &error) && line.open(1, &error));
    QVERIFY(!line.setRts(true) && !line.rts()); // a pty has no modem lines
    line.close();
    QVERIFY(!line.isOpen() && line.open(1, &error)); // released by the close
    ::close(master);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
