// The window as created, before it is loaded, and captions that show whole.
#include "fakes.h"
#include "fitfont.h"
#include "icons.h"

#include <QFontMetricsF>
#include <QTest>

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void stateBeforeLoad();
    void placesAndTabOrder();
    void captionsShowWhole();
    void pictures();
};

void TestLayout::stateBeforeLoad()
{
    Rig rig;
    Form1 *f = rig.create();
    QCOMPARE(f->windowTitle(), QString("Tempral v0.5"));
    QVERIFY(f->Minuta->isHidden() && f->Shape4->isHidden());
    QVERIFY(!f->Shape3->isHidden());
    QCOMPARE(f->Shape3->penStyle(), Qt::DotLine);
    QCOMPARE(f->Timer1->interval(), 0);
    QCOMPARE(f->Timer2->interval(), 0);
    for (QCheckBox *c : {f->Pamti_vreme, f->Pamti_port, f->chkZvuk}) {
        QVERIFY(!c->isChecked());
        QVERIFY(c->text().isEmpty());
    }
    QVERIFY(f->Zadato1->text().isEmpty() && f->Ostalo1->text().isEmpty());
    QVERIFY(f->PortCombo->currentText().isEmpty());
    QCOMPARE(f->Label3->text(), QString("Tajmer stoji."));
    QStringList entries;
    for (int i = 0; i < f->PortCombo->count(); ++i)
        entries << f->PortCombo->itemText(i);
    QCOMPARE(entries, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
    QCOMPARE(f->Zadato1->maxLength(), 4);
    QVERIFY(f->Ostalo1->isReadOnly());
    QVERIFY(rig.journal.isEmpty()); // nothing touched before the load
}

void TestLayout::placesAndTabOrder()
{
    Rig rig;
    Form1 *f = rig.create();
    QCOMPARE(f->minimumSize(), QSize(403, 290));
    QCOMPARE(f->maximumSize(), QSize(403, 290));
    QCOMPARE(f->Zadato1->geometry(), QRect(24, 56, 73, 29));
    QCOMPARE(f->btnIskljuci->geometry(), QRect(24, 144, 121, 107));
    QCOMPARE(f->Shape3->geometry(), QRect(19, 139, 132, 118));
    QCOMPARE(f->Label6->geometry(), QRect(346, 93, 65, 17));
    QWidget *w = f->Zadato1;
    QList<QWidget *> chain;
    for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus) || w->parentWidget() != f)
            w = w->nextInFocusChain();
        chain << w;
    }
    QCOMPARE(chain, (QList<QWidget *>{f->Zadato1, f->PortCombo, f->Pamti_vreme, f->Pamti_port,
                                      f->btnIskljuci, f->btnPokreniT, f->chkZvuk}));
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
    QVERIFY(fitsIn(f->btnPokreniT->captionFont(), f->btnPokreniT->captionRect(), wrap,
                   "POKRENI TAJMER"));
}

void TestLayout::pictures()
{
    for (const char *name : {"APPICON", "redtimer", "LightOn", "lightoff"}) {
        const QIcon icon = tempralIcon(name);
        QVERIFY2(!icon.isNull(), name);
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    }
    QVERIFY(tempralIcon("nothing").isNull());
    // The red stopwatch differs from the plain one in its corner.
    const QImage plain = tempralIcon("appicon").pixmap(32).toImage();
    const QImage red = tempralIcon("redtimer").pixmap(32).toImage();
    QCOMPARE(plain.pixelColor(1, 16).alpha(), 0);
    QVERIFY(red.pixelColor(1, 16).red() > 200);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
