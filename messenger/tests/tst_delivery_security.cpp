// Hostile texts and names through the whole path: the launcher, the real
// vesnal-net, and a recording smbclient first on PATH. Nothing may run, no
// text may become an smbclient argument, and the text must arrive byte for
// byte on smbclient's standard input.
#include "deliverylauncher.h"
#include "tst_delivery_support.h"

#include <QProcess>
#include <QtTest>

namespace
{
const QString Helper = QStringLiteral(VESNAL_BINARY_DIR "/vesnal-net");
}

class TestDeliverySecurity : public QObject
{
    Q_OBJECT

    FakeSmbclient m_smb;
    QByteArray m_oldPath;
    DeliveryLauncher m_launcher{QFileInfo(Helper).absolutePath()};

    QString marker(const char *name) const { return m_smb.dir.filePath(QLatin1String(name)); }
    void noMarkers() const
    {
        for (const char *m : {"semicolon", "dollar", "backtick", "quote", "pipe", "name"})
            QVERIFY2(!QFile::exists(marker(m)), m);
    }
    // Sends `rest` through the launcher; smbclient's run n must get `name`
    // and `text`.
    void expectDelivery(const QString &rest, int n, const QString &name, const QString &text)
    {
        QVERIFY(m_launcher.start("net send " + rest) > 0);
        QCOMPARE(m_smb.argv(n), FakeSmbclient::fixedArgs(name));
        QCOMPARE(m_smb.input(n), text.toUtf8());
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(Helper).isExecutable(), "vesnal-net must be built first");
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_smb.dir.path()) + ':' + m_oldPath);
        qunsetenv("VESNAL_SMBCLIENT");
        qunsetenv("VESNAL_CODEPAGE");
        qputenv("VESNAL_NETBIOS_NAME", "PC-02");
    }
    void cleanupTestCase() { qputenv("PATH", m_oldPath); }

    void hostileTextsArriveAsPlainText()
    {
        const QString m = m_smb.dir.path();
        const QStringList texts = {"; touch " + m + "/semicolon",
                                   "$(touch " + m + "/dollar)",
                                   "`touch " + m + "/backtick`",
                                   "\"q\" 'single' \"; touch " + m + "/quote; \"",
                                   "--option=client min protocol=NT1 -s /etc/passwd",
                                   "-U root%secret",
                                   "line one\nline two\r\n|| touch " + m + "/pipe &",
                                   "  blanks around  "};
        for (int i = 0; i < texts.size(); ++i)
            expectDelivery("PC-01 " + texts[i], i + 1, "PC-01", texts[i]);
        // "MY PC" reaches the command as two words: name and text.
        expectDelivery("MY PC -rf $(x) hello", texts.size() + 1, "MY", "PC -rf $(x) hello");
        // "$" and "(" are legal in NetBIOS names: one plain argument.
        expectDelivery("$(touch " + marker("name") + ") hi", texts.size() + 2, "$(TOUCH",
                       marker("name") + ") hi");
        noMarkers();
    }

    void optionLikeNamesNeverReachSmbclient()
    {
        const int before = m_smb.calls();
        for (const QString rest : {"-M PC-01 hi", "--option=log file=/tmp/x hi", "-U x",
                                   "PC;touch hi", "../../etc hi"}) {
            QProcess helper;
            helper.start(Helper, {"send", rest});
            QVERIFY(helper.waitForFinished(10000));
            QCOMPARE(helper.exitCode(), 2);
            const QString err = QString::fromUtf8(helper.readAllStandardError());
            QVERIFY2(err.startsWith("vesnal-net: bad computer name \"" + rest.section(' ', 0, 0)),
                     qPrintable(err));
        }
        QCOMPARE(m_smb.calls(), before);
    }
};

QTEST_GUILESS_MAIN(TestDeliverySecurity)
#include "tst_delivery_security.moc"
