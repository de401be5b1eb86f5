#include "staticlistbackend.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QString Provider = QStringLiteral("Spisak računara");

QStringList names(const QList<NetRecord> &records)
{
    QStringList out;
    for (const auto &r : records)
        out.append(r.remoteName);
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
        const QString path = m_dir.filePath(QStringLiteral("mreza-%1.txt").arg(++n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }

private slots:
    void groupsCommentsAndComputers()
    {
        const auto groups =
            StaticListBackend::parse(QStringLiteral("# lista\n"
                                                    "\n"
                                                    "[RADNAGRUPA]\n"
                                                    "PC-01   Računar u kancelariji  \n"
                                                    "  PC-02\n"
                                                    "# PC-03 commented out\n"
                                                    "[DRUGA]\r\n"
                                                    "SERVER\tštampa # i još\r\n"));
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].name, QStringLiteral("RADNAGRUPA"));
        QCOMPARE(groups[0].computers.size(), 2);
        QCOMPARE(groups[0].computers[0].name, QStringLiteral("PC-01"));
        QCOMPARE(groups[0].computers[0].comment, QStringLiteral("Računar u kancelariji"));
        QCOMPARE(groups[0].computers[1].name, QStringLiteral("PC-02"));
        QCOMPARE(groups[0].computers[1].comment, QString());
        QCOMPARE(groups[1].name, QStringLiteral("DRUGA"));
        QCOMPARE(groups[1].computers.size(), 1);
        QCOMPARE(groups[1].computers[0].comment, QStringLiteral("štampa # i još"));
    }

    void malformedLinesAreSkipped()
    {
        const auto groups = StaticListBackend::parse(QStringLiteral("ORPHAN before any group\n"
                                                                    "[A]\n"
                                                                    "GOOD1\n"
                                                                    "-OPTION\n"
                                                                    "PC*1\n"
                                                                    "PC\\1\n"
                                                                    "SIXTEEN-LETTERS1\n"
                                                                    "[BAD GROUP]\n"
                                                                    "LOST1\n"
                                                                    "[UNCLOSED\n"
                                                                    "LOST2\n"
                                                                    "[]\n"
                                                                    "LOST3\n"
                                                                    "[a]\n"
                                                                    "good1\n"
                                                                    "GOOD2\n"));
        // "[a]" is the same group as "[A]", and "good1" the same computer.
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].name, QStringLiteral("A"));
        QStringList computers;
        for (const auto &c : groups[0].computers)
            computers.append(c.name);
        QCOMPARE(computers, (QStringList{QStringLiteral("GOOD1"), QStringLiteral("GOOD2")}));
    }

    void netbiosNameRules()
    {
        QVERIFY(StaticListBackend::isValidName(QStringLiteral("PC-01")));
        QVERIFY(StaticListBackend::isValidName(QStringLiteral("FIFTEEN-LETTER1")));
        QVERIFY(!StaticListBackend::isValidName(QStringLiteral("SIXTEEN-LETTERS1")));
        // Č takes two bytes: 13 letters are 15 bytes, 14 letters too many.
        QVERIFY(StaticListBackend::isValidName(QStringLiteral("RAČUNAR-ČETIR")));
        QVERIFY(!StaticListBackend::isValidName(QStringLiteral("RAČUNAR-ČETIRI")));
        QVERIFY(!StaticListBackend::isValidName(QString()));
        QVERIFY(!StaticListBackend::isValidName(QStringLiteral("-h")));
        QVERIFY(!StaticListBackend::isValidName(QString(1000, QLatin1Char('X'))));
        for (const char c : QByteArray("\\/:*?\"<>| \t"))
            if (c)
                QVERIFY2(!StaticListBackend::isValidName(QStringLiteral("PC") + QLatin1Char(c)),
                         QByteArray(1, c).constData());
        QVERIFY(!StaticListBackend::isValidName(QStringLiteral("PC\x01")));
    }

    void missingFileStillListsThisComputer()
    {
        StaticListBackend list(m_dir.filePath(QStringLiteral("none.txt")), Provider,
                               QStringLiteral("PC-09"), QStringLiteral("KUCA"));
        const auto top = list.list(nullptr);
        QVERIFY(top);
        QCOMPARE(names(*top), QStringList{Provider + QStringLiteral("\\KUCA")});
        QCOMPARE(top->first().displayType, NetDisplay::Domain);
        QCOMPARE(top->first().usage, NetUsage::Container);
        const auto computers = list.list(&top->first());
        QVERIFY(computers);
        QCOMPARE(names(*computers), QStringList{Provider + QStringLiteral("\\KUCA\\\\PC-09")});
        QCOMPARE(computers->first().displayType, NetDisplay::Server);
    }

    void thisComputerIsAddedOnce()
    {
        // Listed already (in other letter case): not added again.
        StaticListBackend listed(writeFile("[kuca]\npc-09 moj\nPC-10\n"), Provider,
                                 QStringLiteral("PC-09"), QStringLiteral("KUCA"));
        auto groups = listed.groups();
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].computers.size(), 2);
        QCOMPARE(groups[0].computers[0].comment, QStringLiteral("moj"));

        // Own group present without it: appended at its end.
        StaticListBackend inGroup(writeFile("[OSTALI]\nX1\n[KUCA]\nPC-10\n"), Provider,
                                  QStringLiteral("PC-09"), QStringLiteral("KUCA"));
        groups = inGroup.groups();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[1].computers.size(), 2);
        QCOMPARE(groups[1].computers[1].name, QStringLiteral("PC-09"));

        // Listed only in another group: it still shows in its own.
        StaticListBackend elsewhere(writeFile("[OSTALI]\nPC-09\n"), Provider,
                                    QStringLiteral("PC-09"), QStringLiteral("KUCA"));
        groups = elsewhere.groups();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[1].name, QStringLiteral("KUCA"));
    }

    void listingByLevel()
    {
        StaticListBackend list(writeFile("\xEF\xBB\xBF[RADNAGRUPA]\nPC-01 prvi\nPC-02\n"), Provider,
                               QStringLiteral("PC-09"), QStringLiteral("KUCA"));
        const auto top = list.list(nullptr);
        QVERIFY(top);
        QCOMPARE(names(*top), (QStringList{Provider + QStringLiteral("\\RADNAGRUPA"),
                                           Provider + QStringLiteral("\\KUCA")}));
        const auto servers = list.list(&top->first());
        QVERIFY(servers);
        QCOMPARE(servers->size(), 2);
        QCOMPARE(servers->first().remoteName, Provider + QStringLiteral("\\RADNAGRUPA\\\\PC-01"));
        QCOMPARE(servers->first().comment, QStringLiteral("prvi"));

        // Below a computer: nothing. A group that is not in the list, or a
        // record of some other back end: could not open.
        const auto below = list.list(&servers->first());
        QVERIFY(below && below->isEmpty());
        NetRecord gone = top->first();
        gone.remoteName = Provider + QStringLiteral("\\NEMA");
        QVERIFY(!list.list(&gone));
        NetRecord foreign = top->first();
        foreign.remoteName = QStringLiteral("RADNAGRUPA");
        QVERIFY(!list.list(&foreign));
        QVERIFY(!list.opensAsDirectory(QStringLiteral("\\\\PC-01\\javno")));
    }
};

QTEST_GUILESS_MAIN(TestStaticList)
#include "tst_staticlistbackend.moc"
