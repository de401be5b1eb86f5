// SPDX-License-Identifier: GPL-3.0-or-later
// The receiving side end to end: vesnal-net sends from PC-02, RX-01's smbd
// runs the built vesnal-receive into the lab's spool, and an agent running
// here on that spool shows the popup. Prints the time from the start of
// vesnal-net to the popup. Then a flood from PC-03 that RX-01 holds back,
// while PC-02's message still gets through.
#include "popup/listwindow.h"
#include "popup/messagelist.h"
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/shownstate.h"
#include "receiver/spoolstate.h"

#include <QtTest>
#include <QtWidgets>
#include <algorithm>

class TestLabReceive : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("VESNAL_CODEPAGE", "CP852"); } // what RX-01 reads for vesnal-net

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
        PopupAgent agent(
            spool, shown,
            {.listAbove = 10, .pollMs = 600000}); // no rescans: the file notice must do
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

        for (const QString &text :
             {QStringLiteral("Zdravo iz Beograda: čćđšž ČĆĐŠŽ, sastanak je u 10 časova."),
              QStringLiteral("Druga poruka,\nu dva reda"), QStringLiteral("Treća"),
              QStringLiteral("Četvrta"), QStringLiteral("Peta")}) {
            QProcess send;
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
        std::sort(times.begin(), times.end());
        qInfo() << "vesnal-net start to popup, ms:" << times
                << "of which vesnal-net's own run:" << helperTimes;
        QVERIFY2(times[times.size() / 2] < 3000, "the popup takes seconds to come");
    }

    void aFloodIsHeldBackAndAnotherSenderGetsThrough()
    {
        const QString lab = qEnvironmentVariable("VESNAL_LAB_DIR");
        const QString spool = lab + "/spool";
        const int sent = 2000;
        QTemporaryDir state;
        ShownState shown(state.filePath("shown"));
        PopupAgent agent(spool, shown);
        agent.start();
        const auto refused = [&] {
            QString why;
            qint64 n = 0;
            for (const Refusal &r : SpoolState::read(spool, &why).value_or(SpoolState()).refusals)
                n += r.sender == "PC_03" ? r.count : 0;
            return n;
        };
        // PC-03 (from PC-01's address, 10.203.0.1) sends as fast as four
        // smbclients at a time can: every run must hand its message over.
        QProcess flood;
        flood.setProcessChannelMode(QProcess::MergedChannels);
        flood.start("sh",
                    {"-c", "seq " + QString::number(sent) +
                               " | xargs -P4 -I{} sh -c 'echo poplava {} | ip netns exec "
                               "vesnal-lab-srv smbclient -M RX-01 -I 10.203.0.11 -N -U PC-03 "
                               "-s \"$HOME/.smb/smb.conf\" >/dev/null 2>&1 || echo failed {}'"});
        QTRY_VERIFY_WITH_TIMEOUT(refused() > 100 || flood.state() == QProcess::NotRunning, 120000);
        QProcess send;
        send.start(VESNAL_BINARY_DIR "/vesnal-net", {"send", "RX-01 Poruka usred poplave"});
        QVERIFY(send.waitForFinished(30000) && send.exitCode() == 0);
        QVERIFY2(flood.state() == QProcess::Running, "the flood was over before PC-02 sent");
        QVERIFY(flood.waitForFinished(600000));
        QCOMPARE(flood.readAll(), QByteArray());

        // Stored + refused = sent; the spool's counts are the spool's; smbd's
        // folder of message files is empty.
        const Spool s(spool);
        qint64 stored = 0, bytes = 0;
        bool got = false;
        for (const QString &id : s.ids().value_or(QStringList())) {
            QString why;
            const auto record = s.load(id, &why);
            QVERIFY2(record, qPrintable(why));
            stored += record->sender == "PC_03";
            got = got || (record->sender == "PC_02" && record->text == "Poruka usred poplave");
            bytes += QFileInfo(spool + '/' + id + ".msg").size();
        }
        qInfo("PC-03 sent %d: %lld stored, %lld refused", sent, stored, refused());
        QCOMPARE(stored + refused(), sent);
        QVERIFY(got && stored <= 21);
        QString why;
        const auto counted = SpoolState::read(spool, &why);
        QVERIFY2(counted, qPrintable(why));
        QCOMPARE(QString::number(counted->records) + ' ' + QString::number(counted->bytes),
                 QString::number(s.ids()->size()) + ' ' + QString::number(bytes));
        QCOMPARE(QDir(lab + "/hosts/RX-01/tmp").entryList(QDir::Files | QDir::Hidden),
                 QStringList());

        // Shown: the list holds PC-02's message, and says what was refused.
        QTRY_VERIFY_WITH_TIMEOUT(agent.listWindow() && agent.listWindow()->isVisible(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(agent.listWindow()->refusalsLabel()->text().startsWith(
                                     QStringLiteral("PC_03 (10.203.0.1): %1 poruk").arg(refused())),
                                 5000);
        const MessageList &list = agent.messages();
        bool listed = false;
        for (int row = 0; row < list.rowCount(); ++row)
            listed = listed || (list.at(row).sender == "PC_02" &&
                                list.at(row).firstLine == "Poruka usred poplave");
        QVERIFY(listed);
    }
};

QTEST_MAIN(TestLabReceive)
#include "tst_lab_receive.moc"
