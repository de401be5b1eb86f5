// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the messenger over a small made-up network: at start, with a message
// of more than 128 characters, with the guide beside it, and with the report
// of recipients a message did not reach; saves the pictures (vesnal-main.png,
// vesnal-message.png, vesnal-help.png, vesnal-report.png) into the folder
// given as the argument, or into docs/.
#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "maincontrols.h"
#include "offscreenscreen.h"
#include "recordinglauncher.h"
#include "window/frmnwcheck.h"
#include "window/messageboxes.h"
#include "window/uputstvo.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

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

bool save(const QImage &image, const QString &path)
{
    if (image.save(path)) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "bench_shots: cannot write %s\n", qPrintable(path));
    return false;
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

// The about line goes when the window's timer ticks; it ticks now, with no
// other event let through meanwhile.
void hideAboutLine(const MainControls &c)
{
    QTimerEvent tick(c.Timer1->timerId());
    QCoreApplication::sendEvent(c.Timer1, &tick);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir tmp;
    if (!useFramedOffscreenScreen(tmp.path()))
        return 2;
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SHOTS_DOCS_DIR);

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
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return 1;
    QTest::qWait(100); // the first activation lists the tree
    if (!save(grabSideBySide({&main}), dir + QStringLiteral("/vesnal-main.png")))
        return 1;
    const MainControls c(main);
    hideAboutLine(c);
    c.tvwNetwork->expandAll();
    for (const char *name : {"PC-01", "PC-03", "RACUNOVODSTVO"})
        c.recipients.add(QString::fromUtf8(name));
    c.List1->setFocus(); // which shows the count
    c.RichTextBox1->setPlainText(QStringLiteral(
        "Sastanak kolegijuma pomeren je na petak u 10 časova, u maloj sali na drugom spratu. "
        "Molim sve šefove službi da ponesu izveštaje o radu za prethodni mesec i planove za "
        "sledeći."));
    QCoreApplication::processEvents();
    if (!save(grabSideBySide({&main}), dir + QStringLiteral("/vesnal-message.png")))
        return 1;

    QTest::mouseClick(c.Pomoc, Qt::LeftButton);
    Uputstvo *panel = main.findChild<Uputstvo *>();
    if (!panel || !QTest::qWaitForWindowExposed(panel))
        return 1;
    if (!save(grabSideBySide({&main, panel}), dir + QStringLiteral("/vesnal-help.png")))
        return 1;
    QTest::mouseClick(c.Pomoc, Qt::LeftButton);

    // A send whose helpers report back: PC-01 took it, the others did not.
    RecordingLauncher reporting;
    ReportOnlyBoxes reportBoxes;
    frmNWCheck sent(network, reporting, reportBoxes, {});
    sent.show();
    if (!QTest::qWaitForWindowExposed(&sent))
        return 1;
    QTest::qWait(100);
    const MainControls sc(sent);
    hideAboutLine(sc);
    sc.tvwNetwork->expandAll();
    for (const char *name : {"PC-01", "PC-03", "RACUNOVODSTVO"})
        sc.recipients.add(QString::fromUtf8(name));
    sc.ToLocalGroup->click();
    sc.RichTextBox1->setPlainText(QStringLiteral("Sastanak je pomeren na petak u 10 časova."));
    sc.Send->click();
    reporting.end(0, 0);
    reporting.end(1, 1, {QStringLiteral("no-smb1 PC-03: cli_message returned")});
    reporting.end(2, 1, {QStringLiteral("timeout RACUNOVODSTVO 30: no answer")});
    reporting.end(3, 1, {QStringLiteral("not-found PC-77: Connection to PC-77 failed")});
    QMessageBox *report = openReport();
    if (!report || !QTest::qWaitForWindowExposed(report))
        return 1;
    return save(grabSideBySide({&sent, report}), dir + QStringLiteral("/vesnal-report.png")) ? 0
                                                                                             : 1;
}
