// The five remembered values: read at load, written only at close.
#include "fakes.h"
#include "inisettingsstore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void flagsAtLoad_data();
    void flagsAtLoad();
    void periodNotRememberedLeavesStoredValue();
    void rememberedPortMissingShowsMessageOnce();
    void valuesWrittenOnlyAtClose();
    void iniFile();
};

void TestSettings::flagsAtLoad_data()
{
    QTest::addColumn<QString>("flag"); // empty: no key at all
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("port");
    QTest::newRow("no key") << QString() << true << "" << 1;
    QTest::newRow("DA") << "DA" << true << "120" << 3;
    QTest::newRow("NE") << "NE" << false << "" << 1;
    QTest::newRow("da counts as missing") << "da" << true << "" << 1;
}

void TestSettings::flagsAtLoad()
{
    QFETCH(QString, flag);
    QFETCH(bool, checked);
    QFETCH(QString, period);
    QFETCH(int, port);
    Rig rig;
    if (!flag.isNull())
        rig.settings.values = {{"Pamti Zadato Vreme", flag},
                               {"Zadato Vreme", "120"},
                               {"Pamti Port", flag},
                               {"Port", "3"},
                               {"Zvuk", flag}};
    Form1 *f = rig.start();
    QVERIFY(f);
    QCOMPARE(f->Pamti_vreme->isChecked(), checked);
    QCOMPARE(f->Pamti_port->isChecked(), checked);
    QCOMPARE(f->chkZvuk->isChecked(), checked);
    QCOMPARE(f->Zadato1->text(), period);
    QCOMPARE(f->PortCombo->currentText(), QString::number(port));
    QCOMPARE(rig.line.port(), port);
    QVERIFY(!rig.line.rts());
    QVERIFY(rig.entries("critical").isEmpty());
    QVERIFY(rig.entries("write").isEmpty());
}

void TestSettings::periodNotRememberedLeavesStoredValue()
{
    Rig rig;
    rig.settings.values = {{"Pamti Zadato Vreme", "NE"}, {"Zadato Vreme", "120"}};
    Form1 *f = rig.start();
    QVERIFY(f);
    QTest::keyClicks(f->Zadato1, "77");
    QVERIFY(f->close());
    QCOMPARE(rig.settings.values.value("Zadato Vreme"), QString("120"));
    QCOMPARE(rig.settings.values.value("Pamti Zadato Vreme"), QString("NE"));
}

void TestSettings::rememberedPortMissingShowsMessageOnce()
{
    Rig rig;
    rig.settings.values = {{"Pamti Port", "DA"}};
    Form1 *f = rig.start();
    QVERIFY(f);
    QCOMPARE(rig.entries("critical"),
             QStringList{"critical Ne postoji slobodan serijski port pod tim brojem."});
    QCOMPARE(rig.boxes.lastTitle, QString("Tempral v0.5"));
    QCOMPARE(f->PortCombo->currentText(), QString("1"));
    QCOMPARE(rig.line.port(), 1);
}

void TestSettings::valuesWrittenOnlyAtClose()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    QTest::keyClicks(f->Zadato1, "45");
    f->PortCombo->setCurrentIndex(2); // "3", as chosen from the list
    f->portComboClick();
    f->chkZvuk->setChecked(false);
    QVERIFY(rig.entries("write").isEmpty());
    QVERIFY(f->close());
    QCOMPARE(rig.entries("write"),
             (QStringList{"write Zadato Vreme=45", "write Pamti Zadato Vreme=DA", "write Port=3",
                          "write Pamti Port=DA", "write Zvuk=NE"}));

    // Unchecked boxes store "NE" and leave their values alone; an empty
    // period is stored as the empty text.
    Rig next;
    next.settings.values = rig.settings.values;
    Form1 *g = next.start();
    QVERIFY(g);
    QCOMPARE(next.line.port(), 3);
    g->Pamti_port->setChecked(false);
    g->Zadato1->clear();
    QVERIFY(g->close());
    QCOMPARE(next.entries("write"),
             (QStringList{"write Zadato Vreme=", "write Pamti Zadato Vreme=DA",
                          "write Pamti Port=NE", "write Zvuk=NE"}));
    QCOMPARE(next.settings.values.value("Port"), QString("3"));
}

void TestSettings::iniFile()
{
    QCOMPARE(IniSettingsStore::userFileName(),
             QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Tempral v0.5.ini"));
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath("a.ini"));
    QCOMPARE(store.read("Zadato Vreme"), std::nullopt);
    QVERIFY(store.write("Zadato Vreme", "") && store.write("Port", "1, 2"));
    QCOMPARE(store.read("Zadato Vreme"), std::optional<QString>(""));
    QCOMPARE(store.read("Port"), std::optional<QString>("1, 2"));

    // A folder where the file should be: nothing can be read or written, and
    // the close still switches the load off.
    QVERIFY(QDir().mkpath(dir.filePath("b.ini")));
    IniSettingsStore broken(dir.filePath("b.ini"));
    QVERIFY(!broken.write("Zvuk", "DA"));
    Rig rig;
    Form1 *f = rig.start(&broken);
    QVERIFY(f);
    f->btnIskljuciClick();
    QVERIFY(rig.line.rts());
    QVERIFY(f->close());
    QVERIFY(!rig.line.rts());
    QCOMPARE(rig.entries("warning").size(), 1);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
