// Start-up: the control-file copy rule, the "/H" switch, the about line,
// and what activation does.
#include "controlfiles.h"
#include "linemark.h"
#include "windowfixture.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
void write(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}
QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void controlFilesAreCopiedOnlyWhenMissing()
    {
        QTemporaryDir program, system;
        write(program.filePath("mscomctl.ocx"), "new tree");
        write(program.filePath("RICHTX32.OCX"), "new editor");
        write(system.filePath("mscomctl.ocx"), "old tree");
        ControlFiles::copyMissing(program.path(), system.path());
        QCOMPARE(read(system.filePath("mscomctl.ocx")), QByteArray("old tree")); // never overwritten
        QCOMPARE(read(system.filePath("RICHTX32.OCX")), QByteArray("new editor"));

        // Missing in both folders: nothing happens, silently.
        QTemporaryDir emptyProgram, system2;
        ControlFiles::copyMissing(emptyProgram.path(), system2.path());
        QCOMPARE(QDir(system2.path()).entryList(QDir::Files), QStringList());
        // No system folder (this platform): nothing is written anywhere.
        ControlFiles::copyMissing(program.path(), QString());
        QVERIFY(ControlFiles::systemFolder().isEmpty());
    }

    void slashHMinimisesAfterThePassesInAnyCase()
    {
        for (const QStringList &args : {QStringList{"/h"}, QStringList{"/H"}}) {
            WindowFixture f;
            WindowFixture::addDefaultNetwork(f.net);
            frmNWCheck &w = f.make(args, false);
            w.show();
            QVERIFY(!w.isMinimized());
            w.Form_Activate();
            QVERIFY(w.windowState() & Qt::WindowMinimized);
            QCOMPARE(f.childTexts("RADNAGRUPA"), (QStringList{"PC-01", "PC-02"}));
            // Minimised again on a later activation.
            w.setWindowState(Qt::WindowNoState);
            w.Form_Activate();
            QVERIFY(w.windowState() & Qt::WindowMinimized);
        }
        for (const QStringList &args : {QStringList{"/H", "x"}, QStringList{"/HX"},
                                        QStringList{"-h"}, QStringList{}}) {
            WindowFixture f;
            frmNWCheck &w = f.make(args, false);
            w.show();
            w.Form_Activate();
            QVERIFY2(!(w.windowState() & Qt::WindowMinimized), qPrintable(args.join(' ')));
        }
    }

    void activationPutsFocusIntoTheNameBox()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        frmNWCheck &w = f.make({}, false);
        QVERIFY(f.showActive());
        w.List1->setFocus();
        w.Form_Activate();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.Manual));
    }

    void aboutLineGoesAfterFiveSecondsForGood()
    {
        WindowFixture f;
        frmNWCheck &w = f.make({}, false);
        w.show();
        QVERIFY(w.Label2->isVisible());
        QVERIFY(w.Line1->isVisible());
        QVERIFY(w.Label2->text().startsWith("Vesnal" + QString(24, ' ')));
        QVERIFY(w.Label2->text().contains("2003-2008"));
        QCOMPARE(w.Timer1.interval(), 5000);
        QVERIFY(w.Timer1.isActive());
        const QRect editorBefore = w.RichTextBox1->geometry();
        QTest::qWait(4700);
        QVERIFY(w.Label2->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!w.Label2->isVisible(), 1500);
        QVERIFY(!w.Line1->isVisible());
        QVERIFY(!w.Timer1.isActive());
        QCOMPARE(w.RichTextBox1->geometry(), editorBefore);
    }

    void showingLoadsOnceAndActivatesOnce()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.window = std::make_unique<frmNWCheck>(f.net, f.launcher, f.boxes, QStringList());
        frmNWCheck &w = *f.window;
        w.show();
        QTRY_COMPARE(f.childTexts("RADNAGRUPA"), (QStringList{"PC-01", "PC-02"}));
        w.Form_Load(); // a second load adds nothing
        QCOMPARE(w.tvwNetwork->topLevelItemCount(), 1);
        QCOMPARE(f.net.listings(""), 1);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
