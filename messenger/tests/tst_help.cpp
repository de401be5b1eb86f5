// The guide panel: where it and the main window go on opening and closing,
// its text, and that both ways of closing it put everything back.
#include "clickablelabel.h"
#include "helpplacement.h"
#include "offscreenscreen.h"
#include "uputstvo.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QWindow>

#include <QtTest>

namespace
{

// A fake screen of 1920 x 1080 pixels in twips, and the outer sizes of the
// main window and the panel.
constexpr TwipSize Wide{28800, 16200};
constexpr float W = 7095 + 60, H = 8055 + 450, P = 5205 + 60;

// "what: left,top widthxheight", so that a failing row names itself.
QString show(const char *what, const TwipRect &r)
{
    return QString::asprintf("%s: %.2f,%.2f %.2fx%.2f", what, r.left, r.top, r.width, r.height);
}

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void placementOnAFakeScreen()
    {
        const float c = (Wide.width - W) / 2; // centred
        const struct {
            const char *what;
            bool opening;
            float left, top; // the main window before
            TwipSize screen;
            float toLeft, toTop; // and after
        } rows[] = {
            {"centred", true, c, 3000, Wide, c - P / 2, 3000},
            {"back from centred", false, c - P / 2, 3000, Wide, c, 3000},
            {"near the left edge", true, 1000, 3000, Wide, 50, 3000},
            {"at the left threshold", true, 1 + P / 2, 3000, Wide, 1, 3000},
            {"near the right edge", true, 20000, 3000, Wide, Wide.width - W - P - 50, 3000},
            {"narrower than both", true, 2460, 300, {12000, 9000}, 12000 - W - P - 50, 300},
            {"top above the screen", true, 10000, -400, Wide, 10000 - P / 2, 50},
            {"opening low stays low", true, 10000, 15000, Wide, 10000 - P / 2, 15000},
            {"top above, closing", false, 10000, 0.5f, Wide, 10000 + P / 2, 50},
            {"below the bottom", false, 10000, 9000, Wide, 10000 + P / 2, (Wide.height - H) / 2},
            {"just fits", false, 10000, Wide.height - H, Wide, 10000 + P / 2, Wide.height - H},
            {"past the right edge", false, 22000, 3000, Wide, Wide.width - W - 50, 3000},
            {"off the left stays", false, -5000, 3000, Wide, -5000 + P / 2, 3000},
        };
        for (const auto &row : rows) {
            const TwipRect from{row.left, row.top, W, H}, to{row.toLeft, row.toTop, W, H};
            if (!row.opening) {
                QCOMPARE(show(row.what, placeHelpClosing(from, P, row.screen)), show(row.what, to));
                continue;
            }
            const HelpOpening o = placeHelpOpening(from, P, row.screen);
            QCOMPARE(show(row.what, o.main), show(row.what, to));
            QCOMPARE(show(row.what, o.panel), show(row.what, {to.left + W, to.top, P, H}));
        }
    }

    void panelOpensBesideAndClosesBackWithTheGuide()
    {
        WindowFixture fx;
        frmNWCheck main(fx.net, fx.launcher, fx.boxes, {});
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QRect before = main.frameGeometry();
        QVERIFY(before.width() > main.width()); // the fake screen gives frames

        main.Pomoc_Click();
        Uputstvo *panel = main.helpPanel();
        QVERIFY(panel && QTest::qWaitForWindowExposed(panel));
        QCOMPARE(main.Pomoc->text(), QStringLiteral("<< Kratko uputstvo"));
        // Moved left by half the panel's outer width; the panel beside it.
        const QRect m = main.frameGeometry(), p = panel->frameGeometry();
        QCOMPARE(p.width(), 5205 / 15 + before.width() - main.width());
        QVERIFY(qAbs((before.left() - m.left()) * 2 - p.width()) <= 1);
        QCOMPARE(QList<int>({p.left(), p.top(), p.height()}),
                 QList<int>({m.right() + 1, m.top(), m.height()}));

        // Paragraphs apart, but 104 and 105 follow 102 and 106 after a blank.
        const struct {
            int id, bytes;
            const char *first, *last;
        } pieces[] = {{101, 116, "Vesnal je jednostavna", "lokalne mreže. "},
                      {102, 620, "Primalac ne mora", "(gotovo) istovremeno."},
                      {104, 66, "Klik na taster 'PRIMAOCI", "LISTE primalaca."},
                      {103, 465, "Poruka u principu", "polja za unos."},
                      {106, 116, "Pri unosu sadržaja", "Ctrl+C, Ctrl+V."},
                      {105, 143, "Kod primaoca se", "datum i vreme. "},
                      {107, 232, "Samo pri prvom", "nezavisno od njih."}};
        QByteArray guide;
        for (const auto &piece : pieces) {
            const QByteArray s = Uputstvo::guideString(piece.id).toUtf8();
            QVERIFY2(s.size() == piece.bytes && s.startsWith(piece.first) && s.endsWith(piece.last),
                     qPrintable(QString::number(piece.id)));
            guide += (guide.isEmpty() ? "" : piece.id == 104 || piece.id == 105 ? " " : "\n\n") + s;
        }
        QCOMPARE(panel->Label1->text().toUtf8(), guide);
        QCOMPARE(QCryptographicHash::hash(guide, QCryptographicHash::Sha256).toHex(),
                 "58c57906c3b0a5987d21c258828bdc3e77aa5bfb302942779d3e4173f3da9691");
        QCOMPARE(panel->Label1->textFormat(), Qt::PlainText);
        QVERIFY(panel->Label1->heightForWidth(337) <= 505); // the guide fits its label

        // The toggle destroys it and puts all back, 100 times without drift.
        QPointer<Uputstvo> gone = panel;
        for (int i = 0; i < 100; ++i) {
            main.Pomoc_Click();
            QVERIFY(!main.helpPanel() && gone.isNull());
            QCOMPARE(main.Pomoc->text(), QStringLiteral("Kratko uputstvo >>"));
            QCOMPARE(main.frameGeometry(), before);
            main.Pomoc_Click();
            QCOMPARE(main.frameGeometry(), m);
            gone = main.helpPanel();
        }

        // The window system's close request (its title bar) acts as the toggle.
        QVERIFY(QTest::qWaitForWindowExposed(gone));
        gone->windowHandle()->close();
        QTRY_VERIFY(gone.isNull());
        QCOMPARE(main.Pomoc->text(), QStringLiteral("Kratko uputstvo >>"));
        QCOMPARE(main.frameGeometry(), before);
        main.Pomoc_Click();
        QCOMPARE(main.frameGeometry(), m);
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    if (!useFramedOffscreenScreen(dir.path()))
        return 2;
    QApplication app(argc, argv);
    HelpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help.moc"
