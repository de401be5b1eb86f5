// The SMB back end's addresses and its mapping of directory entries to
// records; nothing here touches the network.
#include "smbbackend.h"

#include <QTest>

#include <libsmbclient.h>

class TestSmbBackend : public QObject
{
    Q_OBJECT
private slots:
    void urls()
    {
        QCOMPARE(SmbBackend::urlFor(""), QString("smb://"));
        QCOMPARE(SmbBackend::urlFor("RADNAGRUPA"), QString("smb://RADNAGRUPA"));
        QCOMPARE(SmbBackend::urlFor("\\\\PC-01"), QString("smb://PC-01"));
        QCOMPARE(SmbBackend::urlFor("\\\\PC-01\\Moji dokumenti\\a%b?c/d"),
                 QString("smb://PC-01/Moji%20dokumenti/a%25b%3Fc%2Fd"));
        QCOMPARE(SmbBackend::urlFor("\\\\PC-01\\šare"), QString("smb://PC-01/%C5%A1are"));
    }

    void entries()
    {
        struct Case {
            const char *parent;
            unsigned type;
            const char *name;
            quint32 display;
            const char *remote;
        };
        const Case shown[] = {
            {"", SMBC_WORKGROUP, "RADNAGRUPA", NetDisplay::Domain, "RADNAGRUPA"},
            {"RADNAGRUPA", SMBC_SERVER, "PC-01", NetDisplay::Server, "\\\\PC-01"},
            {"\\\\PC-01", SMBC_FILE_SHARE, "javno", NetDisplay::Share, "\\\\PC-01\\javno"},
            {"\\\\PC-01", SMBC_FILE_SHARE, "C$", NetDisplay::ShareAdmin, "\\\\PC-01\\C$"},
            {"\\\\PC-01\\javno", SMBC_DIR, "f", NetDisplay::Directory, "\\\\PC-01\\javno\\f"},
        };
        for (const Case &c : shown) {
            const auto r = SmbBackend::recordFor(c.parent, c.type, c.name, "komentar");
            QVERIFY2(r, c.name);
            QCOMPARE(r->displayType, c.display);
            QCOMPARE(r->remoteName, QString(c.remote));
            QCOMPARE(r->comment, QString("komentar"));
        }
        // Printers, IPC$, files, "." and ".." and nameless entries are left out.
        const std::pair<unsigned, const char *> hidden[] = {
            {SMBC_PRINTER_SHARE, "lp"}, {SMBC_IPC_SHARE, "IPC$"}, {SMBC_FILE, "a.txt"},
            {SMBC_DIR, ".."},           {SMBC_DIR, "."},          {SMBC_FILE_SHARE, ""}};
        for (const auto &[type, name] : hidden)
            QVERIFY2(!SmbBackend::recordFor("\\\\PC-01", type, name, {}), name);
    }

    void onlyPathsWithAShareAreProbed()
    {
        // These never reach the network: there is no share in the path.
        SmbBackend smb(500);
        QVERIFY(!smb.opensAsDirectory(""));
        QVERIFY(!smb.opensAsDirectory("\\\\PC-01"));
        QVERIFY(!smb.opensAsDirectory("\\\\\\\\"));
    }
};

QTEST_GUILESS_MAIN(TestSmbBackend)
#include "tst_smbbackend.moc"
