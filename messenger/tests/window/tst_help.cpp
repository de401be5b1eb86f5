// SPDX-License-Identifier: GPL-3.0-or-later
// The guide panel: placement on opening and closing, its text, both ways of closing it.
#include "offscreenscreen.h"
#include "widgets/clickablelabel.h"
#include "window/uputstvo.h"
#include "windowfixture.h"

#include <QWindow>
#include <QtTest>

namespace
{

// A 1920 x 1080 screen in twips; outer sizes of the main window and the panel.
constexpr TwipSize Wide{28800, 16200};
constexpr float W = 7095 + 60, H = 8055 + 450, P = 5205 + 60;

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
        const auto row = [](const char *what, bool opens, float left, float top, TwipSize screen,
                            float toLeft, float toTop) {
            const TwipRect from{left, top, W, H}, to{toLeft, toTop, W, H};
            const HelpOpening o = placeHelpOpening(from, P, screen);
            QCOMPARE(show(what, opens ? o.main : placeHelpClosing(from, P, screen)),
                     show(what, to));
            if (opens)
                QCOMPARE(show(what, o.panel), show(what, {to.left + W, to.top, P, H}));
        };
        row("centred", true, c, 3000, Wide, c - P / 2, 3000);
        row("back from centred", false, c - P / 2, 3000, Wide, c, 3000);
        row("near the left edge", true, 1000, 3000, Wide, 50, 3000);
        row("at the left threshold", true, 1 + P / 2, 3000, Wide, 1, 3000);
        row("near the right edge", true, 20000, 3000, Wide, Wide.width - W - P - 50, 3000);
        row("narrower than both", true, 2460, 300, {12000, 9000}, 12000 - W - P - 50, 300);
        row("top above the screen", true, 10000, -400, Wide, 10000 - P / 2, 50);
        row("opening low stays low", true, 10000, 15000, Wide, 10000 - P / 2, 15000);
        row("top above, closing", false, 10000, 0.5f, Wide, 10000 + P / 2, 50);
        row("below the bottom", false, 10000, 9000, Wide, 10000 + P / 2, (Wide.height - H) / 2);
        row("just fits", false, 10000, Wide.height - H, Wide, 10000 + P / 2, Wide.height - H);
        row("past the right edge", false, 22000, 3000, Wide, Wide.width - W - 50, 3000);
        row("off the left stays", false, -5000, 3000, Wide, -5000 + P / 2, 3000);
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

        // Paragraphs apart but 104, 105 run on; a piece that is off names itself.
        const auto piece = [](int id, int bytes, const char *first, const char *last) {
            const QByteArray s = Uputstvo::guideString(id).toUtf8();
            const bool ok = s.size() == bytes && s.startsWith(first) && s.endsWith(last);
            return ok ? s : "<piece " + QByteArray::number(id) + " differs>";
        };
        const QByteArray guide =
            piece(101, 116, "Vesnal je jednostavna", "lokalne mreže. ") + "\n\n" +
            piece(102, 620, "Primalac ne mora", "(gotovo) istovremeno.") + " " +
            piece(104, 66, "Klik na taster 'PRIMAOCI", "LISTE primalaca.") + "\n\n" +
            piece(103, 465, "Poruka u principu", "polja za unos.") + "\n\n" +
            piece(106, 116, "Pri unosu sadržaja", "Ctrl+C, Ctrl+V.") + " " +
            piece(105, 143, "Kod primaoca se", "datum i vreme. ") + "\n\n" +
            piece(107, 232, "Samo pri prvom", "nezavisno od njih.");
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
