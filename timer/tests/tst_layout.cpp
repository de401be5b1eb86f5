// The window as created, before it is loaded, and captions that show whole.
#include "fakes.h"

#include <QFontMetricsF>
#include <QTest>

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void stateBeforeLoad();
    void captionsShowWhole();
};

void TestLayout::stateBeforeLoad()
{
    Rig rig;
    Form1 *f = rig.create();
    QCOMPARE(f->windowTitle(), QString("Tempral v0.5"));
    QCOMPARE(f->minimumSize(), QSize(403, 290));
    QCOMPARE(f->maximumSize(), QSize(403, 290));
    QCOMPARE(f->btnIskljuci->geometry(), QRect(24, 144, 121, 107));
    QVERIFY(f->Minuta->isHidden() && f->Shape4->isHidden() && !f->Shape3->isHidden());
    QCOMPARE(f->Shape3->penStyle(), Qt::DotLine);
    QCOMPARE(f->Timer1->interval(), 0);
    for (QCheckBox *c : {f->Pamti_vreme, f->Pamti_port, f->chkZvuk})
        QVERIFY(!c->isChecked() && c->text().isEmpty());
    QVERIFY(f->Zadato1->text().isEmpty() && f->PortCombo->currentText().isEmpty());
    QStringList entries;
    for (int i = 0; i < f->PortCombo->count(); ++i)
        entries << f->PortCombo->itemText(i);
    QCOMPARE(entries, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
    QCOMPARE(f->Zadato1->maxLength(), 4);
    QVERIFY(rig.journal.isEmpty()); // nothing touched before the load
}

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
