// SPDX-License-Identifier: GPL-3.0-or-later
// The windows of received messages as vesnal-popup shows them: one message,
// the list of many with refusals above it and a muted sender (made by a real
// agent on a temporary spool), and the reply to the first (the computer at
// the sender's address answering as PC-02).
#include "pictures.h"
#include "platform/openfolder.h"
#include "popup/listwindow.h"
#include "popup/nodestatus.h"
#include "popup/popupagent.h"
#include "popup/popupwindow.h"
#include "popup/replysender.h"
#include "popup/replywindow.h"
#include "popup/shownstate.h"
#include "receiver/spoolstate.h"
#include "widgets/cappedtextedit.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

// `window` with a grey frame, as the other pictures in docs/ have it; a
// null image when it cannot be shown.
QImage framed(QWidget &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return {};
    const QPixmap inside = window.grab();
    QImage image(inside.size() + QSize(8, 8), QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter(&image).drawPixmap(4, 4, inside);
    return image;
}

// The computer at the address, as its name service would answer.
class AnsweringPc02 : public NameQuery
{
public:
    void start() override
    {
        QTimer::singleShot(0, this, [this] { emit answered({{"PC-02", 0, false, true}}); });
    }
};

} // namespace

QMap<QString, QImage> popupPictures()
{
    qputenv("TZ", "Europe/Belgrade"); // the refusals' times as the records' ones
    QTemporaryDir tmp;
    QMap<QString, QImage> pictures;

    const QDateTime at(QDate(2026, 12, 7), QTime(10, 15, 3), Qt::OffsetFromUTC, 3600);
    const SpoolRecord record{
        at, "PC_02", "rx-01",
        QStringLiteral("Sastanak kolegijuma pomeren je na petak u 10 časova, u maloj sali na "
                       "drugom spratu.\nMolim sve šefove službi da donesu izveštaje za "
                       "novembar.\n\nĐorđe"),
        "10.203.0.2"};
    PopupWindow window(QStringLiteral("20261207T091503.000Z-1-1"), record);
    pictures.insert(QStringLiteral("vesnal-popup.png"), framed(window));

    // Messages from three computers, and what one of them sent too fast.
    const QString spool = tmp.filePath(QStringLiteral("spool"));
    QDir().mkpath(spool);
    const QList<std::pair<QString, QString>> messages{
        {"PC_02", record.text},
        {"RACUNOVODSTVO", QStringLiteral("Plate su uplaćene.")},
        {"PC_07", QStringLiteral("Ko je ostavio kafu na štampaču?")},
        {"PC_07", QStringLiteral("Ko je ostavio kafu na štampaču??")},
        {"PC_07", QStringLiteral("HITNO: ko je ostavio kafu na štampaču???")},
        {"SEKRETARIJAT", QStringLiteral("Danas u 14 časova nestaje struje na pola sata. "
                                        "Sačuvajte sve što radite.")}};
    QString why;
    for (int i = 0; i < messages.size(); ++i) {
        const QDateTime t = at.addSecs(97 * i);
        Spool(spool).store({t, messages[i].first, "rx-01", messages[i].second, "10.203.0.2"}, t,
                           &why);
    }
    SpoolState state;
    for (int i = 0; i < 340; ++i)
        state.refuse(Refusal::TooFast, "PC_07", "192.168.1.37", at.addSecs(300 + i / 2));
    state.save(OpenFolder(spool), at, &why);
    ShownState shown(tmp.filePath(QStringLiteral("shown")));
    PopupAgent agent(spool, shown);
    agent.start();
    agent.showList(false);
    agent.choices().setMuted(QStringLiteral("PC_07"), true);
    ListWindow *list = agent.listWindow();
    list->selectRow(3);
    pictures.insert(QStringLiteral("vesnal-list.png"), framed(*list));

    ReplySender::Options options;
    options.query = [](const QHostAddress &) { return new AnsweringPc02; };
    ReplyWindow reply(record, new ReplySender(record, options));
    QTest::qWait(50); // the answer
    reply.editor()->setPlainText(QStringLiteral("Stižem, izveštaj je spreman.\nMarko"));
    pictures.insert(QStringLiteral("vesnal-reply.png"), framed(reply));
    return pictures;
}
