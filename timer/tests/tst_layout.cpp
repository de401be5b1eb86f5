// Every caption shows whole in the fonts that stand in for Tahoma.
#include "fakes.h"

#include <QFontMetricsF>
#include <QTest>

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void captionsShowWhole();
};

static bool fitsIn(const QFont &font, const QRect &box, int flags, const QString &text)
{
    const QRectF r = QFontMetricsF(font).boundingRect(QRectF(box), flags, text);
    return r.width() <= box.width() && r.height() <= box.height();
}

void TestLayout::captionsShowWhole()
{
    Rig rig;
    Form1 *f = rig.create();
    for (QLabel *l : f->findChildren<QLabel *>()) {
        const QString text = l == f->Minuta ? "= 59 min. 59 s" : l->text();
        const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        QVERIFY2(fitsIn(l->font(), l->contentsRect(), flags, text), qPrintable(l->objectName()));
        QVERIFY(l->font().pointSizeF() >= 7);
    }
    QFont bold = f->Label3->font();
    bold.setBold(true);
    QVERIFY(fitsIn(bold, f->Label3->contentsRect(), Qt::AlignHCenter, "Tajmer odbrojava."));
    const int wrap = Qt::AlignHCenter | Qt::TextWordWrap;
    for (const QString caption :
         {"Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.",
          "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio."}) {
        f->btnIskljuci->setText(caption);
        QVERIFY(
            fitsIn(f->btnIskljuci->captionFont(), f->btnIskljuci->captionRect(), wrap, caption));
    }
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
