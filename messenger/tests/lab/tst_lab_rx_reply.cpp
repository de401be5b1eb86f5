// SPDX-License-Identifier: GPL-3.0-or-later
// A reply over real Samba, run in RX-01's namespace: PC-02 (the client
// namespace, where nmbd and smbd answer as PC-02) sends to RX-01, whose
// smbd stores the message through vesnal-receive; RX-01's agent shows it
// from "PC_02", and its "Odgovori" asks 10.203.0.2 for its name and sends
// there. The reply must land whole in PC-02's inbox. Prints the time from
// the click on "Pošalji" to the arrival.
#include "inbox.h"
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/replysender.h"
#include "popup/replywindow.h"
#include "popup/shownstate.h"
#include "receiver/spool.h"
#include "widgets/cappedtextedit.h"

#include <QtTest>
#include <QtWidgets>

class TestLabRxReply : public QObject
{
    Q_OBJECT
private slots:
    void rx01AnswersPc02ByItsAddress()
    {
        const QString lab = qEnvironmentVariable("VESNAL_LAB_DIR");
        QTemporaryDir state;
        ShownState shown(state.filePath("shown"));
        QString why; // what earlier tests in the same lab left is read
        QVERIFY(shown.mark(Spool(lab + "/spool").ids().value_or(QStringList()), &why));
        PopupAgent agent(lab + "/spool", shown, {.reply = {.helperDir = VESNAL_BINARY_DIR}});
        agent.start();

        QProcess send;
        send.start(qEnvironmentVariable("VESNAL_LAB_SCRIPT"),
                   {"run", lab, "cli", VESNAL_BINARY_DIR "/vesnal-net", "send",
                    "RX-01 Pitanje sa PC-02: čćđšž?"});
        QVERIFY(send.waitForFinished(30000) && send.exitCode() == 0);
        QTRY_COMPARE_WITH_TIMEOUT(agent.openWindows().size(), 1, 10000);
        PopupWindow *popup = agent.openWindows().first();
        QVERIFY(popup->textBox()->toPlainText().startsWith("Poruka od PC_02 za RX-01"));

        QTest::mouseClick(popup->replyButton(), Qt::LeftButton);
        ReplyWindow *reply = agent.openReply(popup->id());
        QTRY_COMPARE_WITH_TIMEOUT(reply->statusLabel()->text(),
                                  "Odgovor ide računaru PC-02 (10.203.0.2).", 5000);
        const QString text = QStringLiteral("Odgovor sa RX-01: ČĆĐŠŽ čćđšž,\nu dva reda.");
        reply->editor()->setPlainText(text);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(reply->sendButton(), Qt::LeftButton);
        const QString file = arrived(text, "PC-02.RX_01-*.msg");
        const qint64 ms = clock.elapsed();
        QVERIFY2(!file.isEmpty(), "the reply did not arrive whole in PC-02's inbox");
        qInfo("click on Pošalji to arrival at PC-02: %lld ms", ms);
        QTRY_COMPARE_WITH_TIMEOUT(reply->statusLabel()->text(),
                                  "Odgovor je isporučen računaru PC-02 (10.203.0.2).", 10000);
    }
};

QTEST_MAIN(TestLabRxReply)
#include "tst_lab_rx_reply.moc"
