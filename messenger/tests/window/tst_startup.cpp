// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the control-file copy rule, the "/H" switch, the about line,
// and what showing and activating the window do.
#include "widgets/linemark.h"
#include "window/controlfiles.h"
#include "windowfixture.h"

#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void controlFilesAreCopiedOnlyWhenMissing()
    {
        QTemporaryDir program, system;
        auto write = [](const QString &path, const QByteArray &content) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        };
        write(program.filePath("mscomctl.ocx"), "new");
        write(program.filePath("RICHTX32.OCX"), "editor");
        write(system.filePath("mscomctl.ocx"), "old");
        ControlFiles::copyMissing(program.path(), system.path());
        QFile kept(system.filePath("mscomctl.ocx"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old")); // never overwritten
        QVERIFY(QFile::exists(system.filePath("RICHTX32.OCX")));
        QTemporaryDir none; // missing from both folders: nothing, silently
        ControlFiles::copyMissing(none.path(), none.path());
        QVERIFY(QDir(none.path()).isEmpty());
    }

    void slashHMinimisesAfterThePassesOnEveryActivation()
    {
        const QList<QPair<QStringList, bool>> cases = {
            {{"/h"}, true}, {{"/H"}, true}, {{"/H", "x"}, false}, {{"/HX"}, false}, {{}, false}};
        for (const auto &[args, minimised] : cases) {
            WindowFixture f;
            WindowFixture::addDefaultNetwork(f.net);
            frmNWCheck &w = f.make(args, false);
            w.show();
            QVERIFY(!w.isMinimized());
            w.Form_Activate();
            QCOMPARE(bool(w.windowState() & Qt::WindowMinimized), minimised);
            QCOMPARE(f.childTexts("RADNAGRUPA"), (QStringList{"PC-01", "PC-02"}));
            w.setWindowState(Qt::WindowNoState);
            w.Form_Activate();
            QCOMPARE(bool(w.windowState() & Qt::WindowMinimized), minimised);
        }
    }

    void showingLoadsAndActivatesOnceThenTheAboutLineGoes()
    {
        WindowFixture f;
        WindowFixture::addDefaultNetwork(f.net);
        f.window = std::make_unique<frmNWCheck>(f.net, f.launcher, f.boxes, QStringList());
        frmNWCheck &w = *f.window;
        QVERIFY(f.showActive());
        QTRY_COMPARE(f.childTexts("RADNAGRUPA"), (QStringList{"PC-01", "PC-02"}));
        QTRY_VERIFY(w.Manual->hasFocus());
        w.Form_Load(); // a second load adds nothing
        QCOMPARE(w.tvwNetwork->topLevelItemCount(), 1);
        QCOMPARE(f.net.listings(""), 1);
        QVERIFY(w.Label2->text().startsWith("Vesnal" + QString(24, ' ')));
        QVERIFY(w.Label2->isVisible() && w.Line1->isVisible());
        QCOMPARE(w.Timer1.interval(), 5000);
        const QRect editor = w.RichTextBox1->geometry();
        QTest::qWait(4700);
        QVERIFY(w.Label2->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!w.Label2->isVisible() && !w.Line1->isVisible(), 1500);
        QVERIFY(!w.Timer1.isActive());
        QCOMPARE(w.RichTextBox1->geometry(), editor);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
