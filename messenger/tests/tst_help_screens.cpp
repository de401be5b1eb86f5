#include "clickablelabel.h"
#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "frmnwcheck.h"
#include "recordinglauncher.h"
#include "uputstvo.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

// Renders the main window with a message and with the guide beside it, as a
// user sees them, and checks what the pictures show. With
// VESNAL_SCREENSHOT_DIR set the pictures are kept there (the docs use them).
class HelpScreensTest : public QObject
{
    Q_OBJECT

    FakeNetwork network;
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;
    QTemporaryDir scratch;

    QString outDir() const
    {
        const QString dir = qEnvironmentVariable("VESNAL_SCREENSHOT_DIR");
        return dir.isEmpty() ? scratch.path() : dir;
    }

    // Both windows drawn into one picture where they stand on the screen.
    static QImage grabSideBySide(const QList<QWidget *> &windows)
    {
        QRect all;
        for (QWidget *w : windows)
            all |= w->frameGeometry();
        QImage image(all.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        for (QWidget *w : windows) {
            const QPoint at = w->geometry().topLeft() - all.topLeft();
            p.drawPixmap(at, w->grab());
            p.setPen(QColor(96, 96, 96));
            p.drawRect(QRect(at, w->size()).adjusted(0, 0, -1, -1));
        }
        return image;
    }

private slots:
    void initTestCase()
    {
        network.add("", "SMB", NetDisplay::Network);
        network.add("SMB", "RADNAGRUPA", NetDisplay::Domain);
        for (const char *pc : {"\\\\PC-01", "\\\\PC-02", "\\\\PC-03", "\\\\RACUNOVODSTVO"})
            network.add("RADNAGRUPA", pc, NetDisplay::Server);
        network.add("SMB", "SKLADISTE", NetDisplay::Domain);
        network.add("SKLADISTE", "\\\\MAGACIN", NetDisplay::Server);
    }

    void guideFitsItsLabelAndPictures()
    {
        frmNWCheck main(network, launcher, boxes, QStringList());
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCoreApplication::processEvents();
        main.Timer1_Timer();
        main.tvwNetwork->expandAll();
        for (const char *name : {"PC-01", "PC-03", "RACUNOVODSTVO"})
            main.AddRecipient(QString::fromUtf8(name));
        main.RichTextBox1->setPlainText(QStringLiteral(
            "Sastanak kolegijuma pomeren je na petak u 10 časova, u maloj sali na drugom spratu. "
            "Molim sve šefove službi da ponesu izveštaje o radu za prethodni mesec i planove za "
            "sledeći."));
        QCOMPARE(main.Length->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        const QImage message = grabSideBySide({&main});
        QVERIFY(message.save(outDir() + QStringLiteral("/vesnal-message.png")));

        main.Pomoc_Click();
        Uputstvo *panel = main.helpPanel();
        QVERIFY(panel);
        QVERIFY(QTest::qWaitForWindowExposed(panel));

        // The whole guide, wrapped at the label's width, must fit the label:
        // the fonts here are wider than the ones the layout was drawn with.
        QLabel *label = panel->Label1;
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                 qPrintable(QStringLiteral("guide needs %1 px, label has %2")
                                .arg(label->heightForWidth(label->width()))
                                .arg(label->height())));
        QVERIFY(label->geometry().bottom() < panel->height());

        const QImage help = grabSideBySide({&main, panel});
        QCOMPARE(help.width(), main.width() + panel->width());
        QCOMPARE(help.height(), main.height());
        QVERIFY(help.save(outDir() + QStringLiteral("/vesnal-help.png")));
        // The panel is white where the guide does not write.
        QCOMPARE(help.pixelColor(main.width() + panel->width() - 3, 3), QColor(Qt::white));
    }
};

int main(int argc, char **argv)
{
    // A screen wide enough for both windows, so neither is pushed by an edge.
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("screen.json")));
    if (!f.open(QIODevice::WriteOnly)) return 2;
    f.write(
        R"({"windowFrameMargins": false, "screens": [{"name": "shot", "x": 0, "y": 0, "width": 1280, "height": 800,
               "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + f.fileName().toLocal8Bit());

    QApplication app(argc, argv);
    HelpScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help_screens.moc"
