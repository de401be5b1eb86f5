// The five remembered values: read at load, written only at close.
#include "fakes.h"
#include "inisettingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void firstRunWithoutKey();
    void flags_data();
    void flags();
    void periodNotRememberedLeavesStoredValue();
    void rememberedPortMissingShowsMessageOnce();
    void valuesWrittenOnlyAtClose();
    void iniFileKeepsMissingApartFromEmpty();
    void unusableSettingsFileStillClosesWithLoadOff();
};

void TestSettings::firstRunWithoutKey()
{
    Rig rig;
    Form1 *f = rig.start();
    QVERIFY(f);
    QVERIFY(f->Pamti_vreme->isChecked());
    QVERIFY(f->Pamti_port->isChecked());
    QVERIFY(f->chkZvuk->isChecked());
    QCOMPARE(f->Zadato1->text(), QString());
    QCOMPARE(f->PortCombo->currentText(), QString("1"));
    QCOMPARE(rig.line.port(), 1);
    QVERIFY(!rig.line.rts());
    QVERIFY(rig.entries("critical").isEmpty());
    QVERIFY(rig.entries("write").isEmpty());
}

void TestSettings::flags_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("port");
    QTest::newRow("DA") << "DA" << true << "120" << 3;
    QTest::newRow("NE") << "NE" << false << "" << 1;
    // Only the exact upper-case words count; anything else is missing.
    QTest::newRow("da") << "da" << true << "" << 1;
    QTest::newRow("empty") << "" << true << "" << 1;
}

void TestSettings::flags()
{
    QFETCH(QString, flag);
    QFETCH(bool, checked);
    QFETCH(QString, period);
    QFETCH(int, port);
    Rig rig;
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
}

void TestSettings::periodNotRememberedLeavesStoredValue()
{
    Rig rig;
    rig.settings.values = {{"Pamti Zadato Vreme", "NE"}, {"Zadato Vreme", "120"}};
    Form1 *f = rig.start();
    QVERIFY(f);
    QCOMPARE(f->Zadato1->text(), QString());
    QVERIFY(!f->Pamti_vreme->isChecked());
    QTest::keyClicks(f->Zadato1, "77");
    QVERIFY(f->close());
    QCOMPARE(rig.settings.values.value("Zadato Vreme"), QString("120"));
    QCOMPARE(rig.settings.values.value("Pamti Zadato Vreme"), QString("NE"));
    QVERIFY(rig.entries("write Zadato Vreme").isEmpty());
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
    QVERIFY(f->Pamti_port->isChecked());
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

    // The next start takes them up again and opens port 3.
    Rig next;
    next.settings.values = rig.settings.values;
    Form1 *g = next.start();
    QVERIFY(g);
    QCOMPARE(g->Zadato1->text(), QString("45"));
    QCOMPARE(next.line.port(), 3);
    QVERIFY(!g->chkZvuk->isChecked());

    // Unchecked boxes store "NE" and leave the values alone; an empty period
    // is stored as the empty text.
    g->Pamti_port->setChecked(false);
    g->Zadato1->clear();
    QVERIFY(g->close());
    QCOMPARE(next.entries("write"),
             (QStringList{"write Zadato Vreme=", "write Pamti Zadato Vreme=DA",
                          "write Pamti Port=NE", "write Zvuk=NE"}));
    QCOMPARE(next.settings.values.value("Port"), QString("3"));
}

void TestSettings::iniFileKeepsMissingApartFromEmpty()
{
    QCOMPARE(IniSettingsStore::userFileName(),
             QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Tempral v0.5.ini"));
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath("Tempral v0.5.ini"));
    QCOMPARE(store.read("Zadato Vreme"), std::nullopt);
    QVERIFY(store.write("Zadato Vreme", ""));
    QVERIFY(store.write("Port", "1, 2"));
    QVERIFY(store.write("Pamti Port", "DA"));
    QCOMPARE(store.read("Zadato Vreme"), std::optional<QString>(""));
    QCOMPARE(store.read("Port"), std::optional<QString>("1, 2"));
    QCOMPARE(store.read("Pamti Port"), std::optional<QString>("DA"));
    QCOMPARE(store.read("Zvuk"), std::nullopt);
    // A hand-edited list comes back as its text.
    QFile file(store.fileName());
    QVERIFY(file.open(QIODevice::Append));
    file.write("Zvuk=D,A\n");
    file.close();
    QCOMPARE(store.read("Zvuk"), std::optional<QString>("D,A"));
}

void TestSettings::unusableSettingsFileStillClosesWithLoadOff()
{
    // A folder where the file should be: nothing can be read or written.
    QTemporaryDir dir;
    const QString path = dir.filePath("Tempral v0.5.ini");
    QVERIFY(QDir().mkpath(path));
    IniSettingsStore store(path);
    QCOMPARE(store.read("Zvuk"), std::nullopt);
    QVERIFY(!store.write("Zvuk", "DA"));

    Rig rig;
    rig.form = std::make_unique<Form1>(rig.line, store, rig.beeper, rig.boxes);
    Form1 *f = rig.start();
    QVERIFY(f);
    QVERIFY(f->Pamti_vreme->isChecked());
    f->btnIskljuciClick();
    QVERIFY(rig.line.rts());
    QVERIFY(f->close());
    QVERIFY(!rig.line.rts());
    QCOMPARE(rig.entries("warning").size(), 1);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
