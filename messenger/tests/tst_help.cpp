#include "clickablelabel.h"
#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "frmnwcheck.h"
#include "helpplacement.h"
#include "recordinglauncher.h"
#include "uputstvo.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

namespace
{

// The guide strings as the program must carry them, byte for byte.
const struct {
    int id;
    const char *text;
} Guide[] = {
    {101, "Vesnal je jednostavna aplikacija namenjena slanju kratkih tekstualnih poruka "
          "medju korisnicima iste lokalne mreže. "},
    {102, "Primalac ne mora imati Vesnal, jer ceo posao prijema obavlja sam operativni "
          "sistem, pod uslovom da je u njemu startovana usluga Messenger Service, što se "
          "može proveriti u Administrative Tools. (NE radi se o Windows Messenger-u.) Da "
          "bi se poruka poslala, na stablu koje prikazuje strukturu mreže potrebno je "
          "obeležiti željenog primaoca poruke, pa klikom na taster '>' uneti ga u listu "
          "primalaca (desno). Može se i direktno ukucati naziv primaoca u belo polje gore "
          "desno, pa potom pritisnuti Enter. Može se obeležiti i naziv grupe. Taster '>>' "
          "namenjen je za slanje iste poruke svima u mreži (gotovo) istovremeno."},
    {103, "Poruka u principu može biti duga najviše 896 znakova i mora biti kucana "
          "latinicom, a šalje se klikom na taster 'POŠALJI'. Izuzetno, poruka koja se "
          "šalje upotrebom tastera 'Mojoj grupi / mom domenu' - ne može biti duža od 128 "
          "znakova. Program adresiranu poruku predaje mreži, ali ne može znati kada je "
          "poruka primljena i zapažena na strani primaoca. Klikom na taster 'PORUKA:' "
          "trenutni sadržaj poruke se briše, a kursor se postavlja na vrh polja za unos."},
    {104, "Klik na taster 'PRIMAOCI PORUKE:' briše sadržaj LISTE primalaca."},
    {105, "Kod primaoca se poruka pojavljuje u malom okviru preko svih otvorenih prozora. "
          "Prikazuje se sadržaj poruke, ko je pošiljalac, datum i vreme. "},
    {106, "Pri unosu sadržaja poruke mogu se koristiti radnje cut, copy, paste - upotrebom "
          "standardnih Ctrl+X, Ctrl+C, Ctrl+V."},
    {107, "Samo pri prvom pokretanju neka Vesnal.exe bude u istom folderu sa svojim .ocx "
          "datotekama, da bi ih program kopirao u sistemski folder, ako ih tamo nema od "
          "ranije. Kasnije se Vesnal.exe može i premestiti bilo gde, nezavisno od njih."},
};

QByteArray guide(int id)
{
    for (const auto &g : Guide)
        if (g.id == id) return QByteArray(g.text);
    return {};
}

// The whole guide: five paragraphs with an empty line between each two.
QByteArray expectedGuide()
{
    const QByteArray br = "\n\n";
    return guide(101) + br + guide(102) + " " + guide(104) + br + guide(103) + br + guide(106) +
           " " + guide(105) + br + guide(107);
}

// A wide fake screen in twips: 1920 x 1080 pixels.
constexpr TwipSize Wide{28800, 16200};
// The main window's outer size as the tests use it (client plus a frame).
constexpr float MainW = 7095 + 60, MainH = 8055 + 450, PanelW = 5205 + 60;

void compareRect(const TwipRect &r, float left, float top, float width, float height)
{
    QCOMPARE(r.left, left);
    QCOMPARE(r.top, top);
    QCOMPARE(r.width, width);
    QCOMPARE(r.height, height);
}

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

    FakeNetwork network;
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;

    // Both windows drawn into one picture where they stand on the screen,
    // their frames in grey.
    static QImage grabSideBySide(const QList<QWidget *> &windows)
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

    std::unique_ptr<frmNWCheck> showMain()
    {
        auto w = std::make_unique<frmNWCheck>(network, launcher, boxes, QStringList());
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        QCoreApplication::processEvents();
        return w;
    }

private slots:
    void openingMovesLeftAndPlacesPanelBeside()
    {
        // Centred on a wide screen: left by half the panel, panel flush right.
        const TwipRect centred{(Wide.width - MainW) / 2, 3000, MainW, MainH};
        HelpOpening o = placeHelpOpening(centred, PanelW, Wide);
        compareRect(o.main, centred.left - PanelW / 2, 3000, MainW, MainH);
        compareRect(o.panel, o.main.left + MainW, 3000, PanelW, MainH);
        // ... and closing brings it back exactly.
        compareRect(placeHelpClosing(o.main, PanelW, Wide), centred.left, 3000, MainW, MainH);

        // Near the left edge: the main window stops 50 twips in, the panel follows.
        o = placeHelpOpening({1000, 3000, MainW, MainH}, PanelW, Wide);
        QCOMPARE(o.main.left, 50.0f);
        QCOMPARE(o.panel.left, 50.0f + MainW);
        // Exactly at the threshold of 1 twip nothing is clamped.
        o = placeHelpOpening({1 + PanelW / 2, 3000, MainW, MainH}, PanelW, Wide);
        QCOMPARE(o.main.left, 1.0f);

        // Near the right edge: the panel ends 50 twips short of the screen's edge.
        o = placeHelpOpening({Wide.width - MainW - 100, 3000, MainW, MainH}, PanelW, Wide);
        QCOMPARE(o.panel.left + o.panel.width, Wide.width - 50);
        QCOMPARE(o.main.left, Wide.width - (MainW + PanelW + 50));

        // On a screen narrower than both windows the right-edge rule wins over
        // the left clamp and the main window starts off screen.
        const TwipSize narrow{12000, 9000};
        o = placeHelpOpening({2460, 300, MainW, MainH}, PanelW, narrow);
        QCOMPARE(o.main.left, 12000 - (MainW + PanelW + 50));
        QVERIFY(o.main.left < 0);

        // Top above the screen (or at 0.5) becomes 50; the panel takes it too.
        o = placeHelpOpening({10000, -400, MainW, MainH}, PanelW, Wide);
        QCOMPARE(o.main.top, 50.0f);
        QCOMPARE(o.panel.top, 50.0f);
        QCOMPARE(placeHelpOpening({10000, 0.5f, MainW, MainH}, PanelW, Wide).main.top, 50.0f);
        // Opening has no bottom rule: a window low on the screen stays low.
        QCOMPARE(placeHelpOpening({10000, 15000, MainW, MainH}, PanelW, Wide).main.top, 15000.0f);
    }

    void closingAppliesItsEdgeRules()
    {
        // Reaching below the bottom: centred vertically.
        TwipRect r = placeHelpClosing({10000, 9000, MainW, MainH}, PanelW, Wide);
        QCOMPARE(r.top, (Wide.height - MainH) / 2);
        QCOMPARE(r.left, 10000 + PanelW / 2);
        // Just fitting at the bottom is left alone.
        r = placeHelpClosing({10000, Wide.height - MainH, MainW, MainH}, PanelW, Wide);
        QCOMPARE(r.top, Wide.height - MainH);

        // Reaching past the right edge: its right edge 50 twips short.
        r = placeHelpClosing({Wide.width - MainW - 1000, 3000, MainW, MainH}, PanelW, Wide);
        QCOMPARE(r.left + r.width, Wide.width - 50);

        // Top above the screen becomes 50 here too.
        QCOMPARE(placeHelpClosing({10000, -5, MainW, MainH}, PanelW, Wide).top, 50.0f);

        // Closing has no left clamp: a window pushed off the left stays partly off.
        r = placeHelpClosing({-5000, 3000, MainW, MainH}, PanelW, Wide);
        QCOMPARE(r.left, -5000 + PanelW / 2);
    }

    void guideStringsAreExact()
    {
        for (const auto &g : Guide) {
            QFile f(QStringLiteral(":/vesnal/help/%1.txt").arg(g.id));
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
            QCOMPARE(f.readAll(), QByteArray(g.text));
            QCOMPARE(Uputstvo::guideString(g.id).toUtf8(), QByteArray(g.text));
        }
        // Two of them end with one blank, none with a line break.
        QVERIFY(guide(101).endsWith("e. "));
        QVERIFY(guide(105).endsWith("e. "));
        QVERIFY(Uputstvo::guideString(108).isNull());
    }

    void panelIsBuiltAndPlacedBesideTheMainWindow()
    {
        auto main = showMain();
        QVERIFY(main);
        const QRect before = main->frameGeometry();
        const int frameW = before.width() - main->width();
        QVERIFY(frameW > 0); // the fake screen gives windows a frame

        main->Pomoc_Click();
        Uputstvo *panel = main->helpPanel();
        QVERIFY(panel);
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        QCOMPARE(main->Pomoc->text(), QStringLiteral("<< Kratko uputstvo"));

        // The window itself as designed.
        QCOMPARE(panel->windowTitle(), QStringLiteral("Kratko uputstvo"));
        QCOMPARE(panel->width(), 5205 / 15);
        QCOMPARE(panel->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(panel->font().pointSizeF(), 9.0);
        QCOMPARE(panel->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::HighlightedText));
        QVERIFY(!panel->windowIcon().isNull());
        QCOMPARE(panel->minimumSize(), panel->maximumSize());
        QCOMPARE(panel->Label1->geometry(), QRect(8, 8, 337, 505));
        // The whole guide, wrapped at the label's width, fits the label: the
        // fonts here are wider than those the layout was drawn with.
        QVERIFY(panel->Label1->wordWrap());
        QVERIFY2(panel->Label1->heightForWidth(337) <= 505,
                 qPrintable(QString::number(panel->Label1->heightForWidth(337))));

        // Main window moved left by half the panel's outer width (rounded to
        // a pixel); the panel touches it with the same top and outer height.
        const QRect m = main->frameGeometry();
        const QRect p = panel->frameGeometry();
        const int panelOuter = 5205 / 15 + frameW;
        QCOMPARE(p.width(), panelOuter);
        QVERIFY(qAbs((before.left() - m.left()) * 2 - panelOuter) <= 1);
        QCOMPARE(m.top(), before.top());
        QCOMPARE(p.left(), m.right() + 1);
        QCOMPARE(p.top(), m.top());
        QCOMPARE(p.height(), m.height());

        // The guide text, assembled in its order with empty lines between
        // the five paragraphs.
        QCOMPARE(panel->Label1->text().toUtf8(), expectedGuide());
        QCOMPARE(panel->Label1->text().split(QStringLiteral("\n\n")).size(), 5);
        QCOMPARE(panel->Label1->textFormat(), Qt::PlainText);

        // Toggling again hides and destroys it and puts everything back.
        QPointer<Uputstvo> gone = panel;
        main->Pomoc_Click();
        QVERIFY(gone.isNull());
        QVERIFY(!main->helpPanel());
        QCOMPARE(main->Pomoc->text(), QStringLiteral("Kratko uputstvo >>"));
        QCOMPARE(main->frameGeometry(), before);
    }

    void manyCyclesNeitherDriftNorGrow()
    {
        auto main = showMain();
        QVERIFY(main);
        const QRect before = main->frameGeometry();
        QRect openedAt;
        for (int i = 0; i < 100; ++i) {
            main->Pomoc_Click();
            QVERIFY(main->helpPanel());
            QCOMPARE(main->helpPanel()->Label1->text().toUtf8(), expectedGuide());
            if (i == 0) openedAt = main->frameGeometry();
            QCOMPARE(main->frameGeometry(), openedAt);
            main->Pomoc_Click();
            QVERIFY(!main->helpPanel());
            QCOMPARE(main->frameGeometry(), before);
        }
    }

    void ownCloseCommandActsLikeTheToggle()
    {
        auto main = showMain();
        QVERIFY(main);
        const QRect before = main->frameGeometry();
        main->Pomoc_Click();
        QPointer<Uputstvo> panel = main->helpPanel();
        QVERIFY(panel);
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        QVERIFY(main->frameGeometry() != before);

        // The close request of the window system, as its title bar sends it.
        panel->windowHandle()->close();
        QTRY_VERIFY(panel.isNull());
        QCOMPARE(main->Pomoc->text(), QStringLiteral("Kratko uputstvo >>"));
        QCOMPARE(main->frameGeometry(), before);

        // The next click opens a fresh panel, placed as the first one was.
        main->Pomoc_Click();
        QVERIFY(main->helpPanel());
        QVERIFY(main->helpPanel()->isVisible());
        main->Pomoc_Click();
        QCOMPARE(main->frameGeometry(), before);
    }

    // The main window with a message over 128 characters, then with the
    // guide beside it. With VESNAL_SCREENSHOT_DIR set the pictures are kept
    // there (the docs show them).
    void picturesOfBothWindows()
    {
        network.add("", "SMB", NetDisplay::Network);
        network.add("SMB", "RADNAGRUPA", NetDisplay::Domain);
        for (const char *pc : {"\\\\PC-01", "\\\\PC-02", "\\\\PC-03", "\\\\RACUNOVODSTVO"})
            network.add("RADNAGRUPA", pc, NetDisplay::Server);
        network.add("SMB", "SKLADISTE", NetDisplay::Domain);
        network.add("SKLADISTE", "\\\\MAGACIN", NetDisplay::Server);
        auto main = showMain();
        QVERIFY(main);
        main->Timer1_Timer();
        main->tvwNetwork->expandAll();
        for (const char *name : {"PC-01", "PC-03", "RACUNOVODSTVO"})
            main->AddRecipient(QString::fromUtf8(name));
        main->RichTextBox1->setPlainText(QStringLiteral(
            "Sastanak kolegijuma pomeren je na petak u 10 časova, u maloj sali na drugom spratu. "
            "Molim sve šefove službi da ponesu izveštaje o radu za prethodni mesec i planove za "
            "sledeći."));
        QCOMPARE(main->Length->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        QTemporaryDir scratch;
        QString dir = qEnvironmentVariable("VESNAL_SCREENSHOT_DIR");
        if (dir.isEmpty()) dir = scratch.path();
        QVERIFY(grabSideBySide({main.get()}).save(dir + QStringLiteral("/vesnal-message.png")));

        main->Pomoc_Click();
        Uputstvo *panel = main->helpPanel();
        QVERIFY(panel);
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        const QImage help = grabSideBySide({main.get(), panel});
        QCOMPARE(help.width(), main->frameGeometry().width() + panel->frameGeometry().width());
        QCOMPARE(help.height(), main->frameGeometry().height());
        QVERIFY(help.save(dir + QStringLiteral("/vesnal-help.png")));
    }
};

int main(int argc, char **argv)
{
    // A 1920 x 1080 offscreen screen whose windows have frames, so that the
    // outer geometry differs from the client area as on a desktop.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly)) return 2;
    f.write(R"({"windowFrameMargins": true, "screens": [{"name": "wide", "x": 0, "y": 0,
               "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96,
               "dpr": 1}]})");
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());

    QApplication app(argc, argv);
    HelpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help.moc"
