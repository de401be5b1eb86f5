#include "localidentity.h"

#include <QtTest>

class TestLocalIdentity : public QObject {
    Q_OBJECT
private slots:
    void workgroupIsReadFromSmbConf()
    {
        QCOMPARE(LocalIdentity::workgroupFromSmbConf("[global]\n   Workgroup = RADNAGRUPA \n"),
                 QString("RADNAGRUPA"));
        QCOMPARE(LocalIdentity::workgroupFromSmbConf("[global]\n# workgroup = X\n"), QString());
    }
    void netbiosNameIsUpperCaseAndAtMost15Bytes()
    {
        qputenv("VESNAL_NETBIOS_NAME", "radni-stol-u-kancelariji");
        QCOMPARE(LocalIdentity::netbiosName(), QString("RADNI-STOL-U-KA"));
        qunsetenv("VESNAL_NETBIOS_NAME");
    }
};

QTEST_GUILESS_MAIN(TestLocalIdentity)
#include "tst_localidentity.moc"
