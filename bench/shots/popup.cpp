// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the windows of received messages as vesnal-popup shows them: one
// message (vesnal-popup.png), the list of many with refusals above it and a
// muted sender (vesnal-list.png, made by a real agent on a temporary
// spool), and the reply to the first (vesnal-reply.png, the computer at
// the sender's address answering as PC-02); into the folder given as the
// argument, or into docs/.
#include "offscreenscreen.h"
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

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace
{

// `window` with a grey frame, as the other pictures in docs/ have it.
bool save(QWidget &window, const QString &path)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    const QPixmap inside = window.grab();
    QImage image(inside.size() + QSize(8, 8), QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter(&image).drawPixmap(4, 4, inside);
    if (!image.save(path)) {
        std::fprintf(stderr, "bench_popup_shot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
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

int main(int argc, char **argv)
{
    qputenv("TZ", "Europe/Belgrade"); // the refusals' times as the records' ones
    QTemporaryDir tmp;
    if (!useFramedOffscreenScreen(tmp.path()))
        return 2;
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SHOTS_DOCS_DIR);

    const QDateTime at(QDate(2026, 12, 7), QTime(10, 15, 3), Qt::OffsetFromUTC, 3600);
    const SpoolRecord record{
        at, "PC_02", "rx-01",
        QStringLiteral("Sastanak kolegijuma pomeren je na petak u 10 časova, u maloj sali na "
                       "drugom spratu.\nMolim sve šefove službi da donesu izveštaje za "
                       "novembar.\n\nĐorđe"),
        "10.203.0.2"};
    PopupWindow window(QStringLiteral("20261207T091503.000Z-1-1"), record);
    if (!save(window, dir + QStringLiteral("/vesnal-popup.png")))
        return 1;

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
    if (!save(*list, dir + QStringLiteral("/vesnal-list.png")))
        return 1;

    ReplySender::Options options;
    options.query = [](const QHostAddress &) { return new AnsweringPc02; };
    ReplyWindow reply(record, new ReplySender(record, options));
    QTest::qWait(50); // the answer
    reply.editor()->setPlainText(QStringLiteral("Stižem, izveštaj je spreman.\nMarko"));
    return save(reply, dir + QStringLiteral("/vesnal-reply.png")) ? 0 : 1;
}
