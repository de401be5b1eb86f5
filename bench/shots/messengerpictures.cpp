// SPDX-License-Identifier: GPL-3.0-or-later
// The messenger over a small made-up network: at start, with a message of
// more than 128 characters, with the guide beside it, and with the report of
// recipients a message did not reach.
#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "maincontrols.h"
#include "pictures.h"
#include "recordinglauncher.h"
#include "window/frmnwcheck.h"
#include "window/messageboxes.h"
#include "window/uputstvo.h"

#include <QMessageBox>
#include <QPainter>
#include <QTest>

namespace
{

// Both windows drawn where they stand on the screen, the frames in grey.
QImage grabSideBySide(const QList<QWidget *> &windows)
{
    QRect all;
    for (QWidget *w : windows)
        all |= w->frameGeometry();
    QImage image(all.size(), QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter p(&image);
    for (QWidget *w : windows)
        p.drawPixmap(w->geometry().topLeft() - all.topLeft(), w->grab());
    return image;
}

// The modal boxes answered at once; the report drawn for real.
struct ReportOnlyBoxes : FakeMessageBoxes {
    void notify(QWidget *parent, Icon icon, const QString &text) override
    {
        QtMessageBoxes().notify(parent, icon, text);
    }
};

QMessageBox *openReport()
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(top); box && box->isVisible())
            return box;
    return nullptr;
}

// The window shown, and its first activation given time to list the tree.
bool showListed(frmNWCheck &w)
{
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return false;
    QTest::qWait(100);
    return true;
}

// The tree opened and three computers in the list, without the about line,
// which goes when the window's timer ticks: it ticks now, with no other
// event let through meanwhile.
void pickThree(const MainControls &c)
{
    QTimerEvent tick(c.Timer1->timerId());
    QCoreApplication::sendEvent(c.Timer1, &tick);
    c.tvwNetwork->expandAll();
    for (const char *name : {"PC-01", "PC-03", "RACUNOVODSTVO"})
        c.recipients.add(QString::fromUtf8(name));
}

} // namespace

QMap<QString, QImage> messengerPictures()
{
    QMap<QString, QImage> pictures;

    FakeNetwork network;
    network.add("", "SMB", NetDisplay::Network);
    network.add("SMB", "RADNAGRUPA", NetDisplay::Domain);
    for (const char *pc : {"\\\\PC-01", "\\\\PC-02", "\\\\PC-03", "\\\\RACUNOVODSTVO"})
        network.add("RADNAGRUPA", pc, NetDisplay::Server);
    network.add("SMB", "SKLADISTE", NetDisplay::Domain);
    network.add("SKLADISTE", "\\\\MAGACIN", NetDisplay::Server);
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;

    frmNWCheck main(network, launcher, boxes, {});
    if (!showListed(main))
        return {};
    pictures.insert(QStringLiteral("vesnal-main.png"), grabSideBySide({&main}));
    const MainControls c(main);
    pickThree(c);
    c.List1->setFocus(); // which shows the count
    c.RichTextBox1->setPlainText(QStringLiteral(
        "Sastanak kolegijuma pomeren je na petak u 10 časova, u maloj sali na drugom spratu. "
        "Molim sve šefove službi da ponesu izveštaje o radu za prethodni mesec i planove za "
        "sledeći."));
    QCoreApplication::processEvents();
    pictures.insert(QStringLiteral("vesnal-message.png"), grabSideBySide({&main}));

    QTest::mouseClick(c.Pomoc, Qt::LeftButton);
    Uputstvo *panel = main.findChild<Uputstvo *>();
    if (!panel || !QTest::qWaitForWindowExposed(panel))
        return {};
    pictures.insert(QStringLiteral("vesnal-help.png"), grabSideBySide({&main, panel}));
    QTest::mouseClick(c.Pomoc, Qt::LeftButton);

    // A send whose helpers report back: PC-01 took it, the others did not.
    RecordingLauncher reporting;
    ReportOnlyBoxes reportBoxes;
    frmNWCheck sent(network, reporting, reportBoxes, {});
    if (!showListed(sent))
        return {};
    const MainControls sc(sent);
    pickThree(sc);
    sc.ToLocalGroup->click();
    sc.RichTextBox1->setPlainText(QStringLiteral("Sastanak je pomeren na petak u 10 časova."));
    sc.Send->click();
    reporting.end(0, 0);
    reporting.end(1, 1, {QStringLiteral("no-smb1 PC-03: cli_message returned")});
    reporting.end(2, 1, {QStringLiteral("timeout RACUNOVODSTVO 30: no answer")});
    reporting.end(3, 1, {QStringLiteral("not-found PC-77: Connection to PC-77 failed")});
    QMessageBox *report = openReport();
    if (!report || !QTest::qWaitForWindowExposed(report))
        return {};
    pictures.insert(QStringLiteral("vesnal-report.png"), grabSideBySide({&sent, report}));
    return pictures;
}
