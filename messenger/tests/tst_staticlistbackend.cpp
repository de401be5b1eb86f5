#include "staticlistbackend.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QString Provider = "Spisak računara";

QStringList names(const std::optional<QList<NetRecord>> &records)
{
    QStringList out;
    for (const auto &r : records.value_or(QList<NetRecord>{}))
        out.append(r.remoteName);
    return out;
}

QStringList computerNames(const StaticListBackend::Group &group)
{
    QStringList out;
    for (const auto &c : group.computers)
        out.append(c.name);
    return out;
}

} // namespace

class TestStaticList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QByteArray &content)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QString("mreza-%1.txt").arg(++n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }

private slots:
    void groupsCommentsAndComputers()
    {
        const auto groups = StaticListBackend::parse("# lista\n\n[RADNAGRUPA]\n"
                                                     "PC-01   Računar u kancelariji  \n"
                                                     "  PC-02\n# PC-03 commented out\n"
                                                     "[DRUGA]\r\nSERVER\tštampa # i još\r\n");
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].name, QString("RADNAGRUPA"));
        QCOMPARE(computerNames(groups[0]), (QStringList{"PC-01", "PC-02"}));
        QCOMPARE(groups[0].computers[0].comment, QString("Računar u kancelariji"));
        QCOMPARE(groups[0].computers[1].comment, QString());
        QCOMPARE(groups[1].name, QString("DRUGA"));
        QCOMPARE(groups[1].computers[0].comment, QString("štampa # i još"));
    }

    void malformedLinesAreSkipped()
    {
        const auto groups = StaticListBackend::parse(
            "ORPHAN before any group\n[A]\nGOOD1\n-OPTION\nPC*1\nPC\\1\nSIXTEEN-LETTERS1\n"
            "[BAD GROUP]\nLOST1\n[UNCLOSED\nLOST2\n[]\nLOST3\n[a]\ngood1\nGOOD2\n");
        // "[a]" is the same group as "[A]", and "good1" the same computer.
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].name, QString("A"));
        QCOMPARE(computerNames(groups[0]), (QStringList{"GOOD1", "GOOD2"}));
    }

    void netbiosNameRules()
    {
        // Č takes two bytes: "RAČUNAR-ČETIR" is 15 bytes, one letter more is 17.
        for (const char *good : {"PC-01", "FIFTEEN-LETTER1", "RAČUNAR-ČETIR"})
            QVERIFY2(StaticListBackend::isValidName(QString::fromUtf8(good)), good);
        for (const char *bad : {"", "SIXTEEN-LETTERS1", "RAČUNAR-ČETIRI", "-h", "PC\x01"})
            QVERIFY2(!StaticListBackend::isValidName(QString::fromUtf8(bad)), bad);
        QVERIFY(!StaticListBackend::isValidName(QString(1000, 'X')));
        for (const char c : QByteArray("\\/:*?\"<>| \t"))
            QVERIFY2(!StaticListBackend::isValidName(QString("PC") + QLatin1Char(c)),
                     QByteArray(1, c).constData());
    }

    void missingFileStillListsThisComputer()
    {
        StaticListBackend list(m_dir.filePath("none.txt"), Provider, "PC-09", "KUCA");
        const auto top = list.list(nullptr);
        QCOMPARE(names(top), QStringList{Provider + "\\KUCA"});
        QCOMPARE(top->first().displayType, NetDisplay::Domain);
        QCOMPARE(top->first().usage, NetUsage::Container);
        const auto computers = list.list(&top->first());
        QCOMPARE(names(computers), QStringList{Provider + "\\KUCA\\\\PC-09"});
        QCOMPARE(computers->first().displayType, NetDisplay::Server);
    }

    void thisComputerIsAddedOnce()
    {
        // Listed already (in other letter case): not added again.
        auto groups =
            StaticListBackend(writeFile("[kuca]\npc-09 moj\nPC-10\n"), Provider, "PC-09", "KUCA")
                .groups();
        QCOMPARE(groups.size(), 1);
        QCOMPARE(computerNames(groups[0]), (QStringList{"pc-09", "PC-10"}));

        // Own group present without it: appended at its end.
        groups =
            StaticListBackend(writeFile("[OSTALI]\nX1\n[KUCA]\nPC-10\n"), Provider, "PC-09", "KUCA")
                .groups();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(computerNames(groups[1]), (QStringList{"PC-10", "PC-09"}));

        // Listed only in another group: it still shows in its own.
        groups =
            StaticListBackend(writeFile("[OSTALI]\nPC-09\n"), Provider, "PC-09", "KUCA").groups();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[1].name, QString("KUCA"));
    }

    void listingByLevel()
    {
        StaticListBackend list(writeFile("\xEF\xBB\xBF[RADNAGRUPA]\nPC-01 prvi\nPC-02\n"), Provider,
                               "PC-09", "KUCA");
        const auto top = list.list(nullptr);
        QCOMPARE(names(top), (QStringList{Provider + "\\RADNAGRUPA", Provider + "\\KUCA"}));
        const auto servers = list.list(&top->first());
        QCOMPARE(names(servers), (QStringList{Provider + "\\RADNAGRUPA\\\\PC-01",
                                              Provider + "\\RADNAGRUPA\\\\PC-02"}));
        QCOMPARE(servers->first().comment, QString("prvi"));

        // Below a computer: nothing. A group that is not in the list, or a
        // record of some other back end: could not open.
        const auto below = list.list(&servers->first());
        QVERIFY(below && below->isEmpty());
        NetRecord gone = top->first();
        gone.remoteName = Provider + "\\NEMA";
        QVERIFY(!list.list(&gone));
        NetRecord foreign = top->first();
        foreign.remoteName = "RADNAGRUPA";
        QVERIFY(!list.list(&foreign));
        QVERIFY(!list.opensAsDirectory("\\\\PC-01\\javno"));
    }
};

QTEST_GUILESS_MAIN(TestStaticList)
#include "tst_staticlistbackend.moc"
