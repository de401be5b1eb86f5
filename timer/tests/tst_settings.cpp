// Remembered values (read at load, written only at close) and the port choice.
#include "fakes.h"
#include "inisettingsstore.h"
#include "qtserialline.h"
#include "serialports.h"

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
    Values v{{"Zadato Vreme", period}, {"Port", port}};
    for (const char *key : {"Pamti Zadato Vreme", "Pamti Port", "Zvuk"})
        v[key] = flag;
    return v;
}

void TestSettings::loadAndClose_data()
{
    QTest::addColumn<Values>("stored");
    QTest::addColumn<QString>("shown"); // ticked boxes, period, port shown/opened, messages
    QTest::addColumn<Values>("afterClose");
    const Values none = all("DA", "", "1");
    QTest::newRow("no key") << Values() << "111  1/1 0" << none;
    QTest::newRow("DA") << all("DA", "120", "3") << "111 120 3/3 0" << all("DA", "120", "3");
    // Unticked boxes leave the stored period and port untouched.
    QTest::newRow("NE") << all("NE", "120", "3") << "000  1/1 0" << all("NE", "120", "3");
    QTest::newRow("da is missing") << all("da", "120", "3") << "111  1/1 0" << none;
    QTest::newRow("no Port") << Values{{"Pamti Port", "DA"}} << "111  1/1 1" << none;
    QTest::newRow("bad Port") << Values{{"Pamti Port", "DA"}, {"Port", "x"}} << "111  1/1 1"
                              << none;
}

void TestSettings::loadAndClose()
{
    QFETCH(Values, stored);
    QFETCH(QString, shown);
    QFETCH(Values, afterClose);
    Rig rig(stored);
    Form1 *f = &rig.form;
    const auto ticked = [](QCheckBox *box) { return QString::number(box->isChecked()); };
    QCOMPARE(ticked(f->Pamti_vreme) + ticked(f->Pamti_port) + ticked(f->chkZvuk) + " " +
                 f->Zadato1->text() + " " + f->PortCombo->currentText() + "/" +
                 QString::number(rig.port) + " " + QString::number(rig.journal.count(kNoPort)),
             shown);
    QVERIFY(rig.journal.filter("write ").isEmpty() && !rig.on);
    QVERIFY(f->close());
    QCOMPARE(rig.values, afterClose);
}

void TestSettings::iniFileAndUnwritableFile()
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath("a.ini"));
    QVERIFY(!store.read("Port") && store.write("Port", "") && store.read("Port") == QString());

    // A folder as the file: nothing can be written; the close still switches off.
    IniSettingsStore broken(dir.path());
    Rig rig({}, &broken);
    rig.form.btnIskljuciClick();
    QVERIFY(rig.on && rig.form.close() && !rig.on);
    QCOMPARE(rig.journal.filter("warning ").size(), 1);
}

void TestSettings::portFallbackOnceAndTypedText()
{
    Rig rig;
    for (const auto &missing : {QSet<int>{7}, QSet<int>{1, 7}}) {
        rig.missing = missing;
        rig.journal.clear();
        rig.form.PortCombo->setCurrentIndex(6); // "7"
        rig.form.portComboClick();
        const QString first = missing.contains(1) ? "open 1 failed" : "open 1"; // no loop
        QCOMPARE(rig.journal, (QStringList{"close", "open 7 failed", kNoPort, first}));
        QCOMPARE(rig.form.PortCombo->currentText(), QString("1"));
    }
    rig.form.btnIskljuciClick(); // no port to switch: the window says off
    QCOMPARE(rig.form.btnIskljuci->pictureName(), QString("lightoff"));

    // Typing alone selects nothing; the text is stored for the next start.
    rig.missing.clear();
    rig.form.portComboClick();
    QTest::keyClicks(rig.form.PortCombo->lineEdit(), "\b3");
    QCOMPARE(rig.port, 1);
    QVERIFY(rig.form.close());
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
