// SPDX-License-Identifier: GPL-3.0-or-later
// The receiving side end to end: vesnal-net sends from PC-02, RX-01's smbd
// runs the built vesnal-receive into the lab's spool, and an agent running
// here on that spool shows the popup. Prints the time from the start of
// vesnal-net to the popup.
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/shownstate.h"

#include <QtTest>
#include <QtWidgets>
#include <algorithm>

class TestLabReceive : public QObject
{
    Q_OBJECT
private slots:
    void aMessageToRx01PopsUp()
    {
        const QString helper = VESNAL_BINARY_DIR "/vesnal-net";
        const QString spool = qEnvironmentVariable("VESNAL_LAB_DIR") + "/spool";
        QVERIFY2(QFileInfo(helper).isExecutable() && QDir(spool).exists(),
                 "helper or spool missing");
        const QRegularExpression heading("^Poruka od PC_02 za RX-01, (\\d\\d\\.\\d\\d\\.\\d{4}\\. "
                                         "u \\d\\d:\\d\\d:\\d\\d)\\n\\n");
        QTemporaryDir state;
        ShownState shown(state.filePath("shown"));
        PopupAgent agent(spool, shown, {10, 600000}); // no rescans: the file notice must do
        QList<PopupWindow *> appeared;
        QElapsedTimer clock;
        QList<qint64> times, helperTimes;
        connect(&agent, &PopupAgent::windowShown, this, [&](PopupWindow *w) {
            times.append(clock.elapsed());
            appeared.append(w);
        });
        agent.start();
        while (!agent.openWindows().isEmpty()) // from an earlier run in the same lab
            QTest::mouseClick(agent.openWindows().first()->okButton(), Qt::LeftButton);
        appeared.clear();
        times.clear();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VESNAL_CODEPAGE", "CP852"); // what RX-01 reads
        for (const QString &text :
             {QStringLiteral("Zdravo iz Beograda: čćđšž ČĆĐŠŽ, sastanak je u 10 časova."),
              QStringLiteral("Druga poruka,\nu dva reda"), QStringLiteral("Treća"),
              QStringLiteral("Četvrta"), QStringLiteral("Peta")}) {
            QProcess send;
            send.setProcessEnvironment(env);
            const qsizetype before = appeared.size();
            clock.start();
            send.start(helper, {"send", "RX-01 " + text});
            QVERIFY(send.waitForFinished(30000));
            helperTimes.append(clock.elapsed());
            QCOMPARE(send.exitCode(), 0);
            QVERIFY(send.readAllStandardError().isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(appeared.size() > before, 10000);
            QCOMPARE(appeared.size(), before + 1); // one message, one window

            PopupWindow *w = appeared.last();
            const QString all = w->textBox()->toPlainText();
            const auto match = heading.match(all);
            QVERIFY2(match.hasMatch(), qPrintable(all));
            QCOMPARE(all.mid(match.capturedLength()), text);
            const QDateTime when =
                QDateTime::fromString(match.captured(1), "dd.MM.yyyy. 'u' HH:mm:ss");
            QVERIFY(qAbs(when.secsTo(QDateTime::currentDateTime())) < 10);
            QCOMPARE(w->windowTitle(), "Vesnal – primljena poruka");
            QTest::mouseClick(w->okButton(), Qt::LeftButton);
            QVERIFY(agent.openWindows().isEmpty());
        }
        const auto sorted = [](QList<qint64> &list) { // sorts in place
            std::sort(list.begin(), list.end());
            QStringList ms;
            for (const qint64 t : list)
                ms << QString::number(t);
            return ms.join(' ');
        };
        qInfo("vesnal-net start to popup, ms: %s", qPrintable(sorted(times)));
        qInfo("of which vesnal-net's own run, ms: %s", qPrintable(sorted(helperTimes)));
        QVERIFY2(times[times.size() / 2] < 3000, "the popup takes seconds to come");
    }
};

QTEST_MAIN(TestLabReceive)
#include "tst_lab_receive.moc"
