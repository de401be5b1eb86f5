// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it is drawn: the same as the screenshots in docs/, and the
// rules of its layout that hold whatever the pictures show.
#include "shots.h"
#include "windowpicture.h"

struct TestForm1Layout : QObject {
    Q_OBJECT
private slots:
    void looksAsTheScreenshots()
    {
        // After a deliberate change of the look, draw the pictures anew:
        //   cmake --build build --target tempral_screenshots
        //   build/bench/timer/tempral_screenshots docs
        const QMap<QString, QImage> shots = tempralShots();
        for (auto shot = shots.begin(); shot != shots.end(); ++shot)
            QCOMPARE(pictureDifference(shot.value(), TEMPRAL_DOCS "/" + shot.key()), QString());
    }

    void controlsApartCaptionsWholeTabOrderToolTips()
    {
        // As created, the window carries the caption and icon it shows when
        // stopped, and it keeps its size.
        Fakes fakes;
        const Form1 created(fakes, fakes, fakes, fakes);
        Rig rig;
        QCOMPARE(created.windowTitle() + " " + created.iconName(),
                 rig.form.windowTitle() + " " + rig.form.iconName());
        QCOMPARE(rig.form.minimumSize(), rig.form.maximumSize());

        QStringList overlapping; // frames surround controls as they are meant to
        const QList<QWidget *> controls =
            rig.form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (const QWidget *a : controls)
            for (const QWidget *b : controls)
                if (a < b && !qobject_cast<const OutlineShape *>(a) &&
                    !qobject_cast<const OutlineShape *>(b) &&
                    a->geometry().intersects(b->geometry()))
                    overlapping << a->objectName() + "/" + b->objectName();
        QCOMPARE(overlapping.join(' '), QString());

        // Every caption shows whole, the longest minutes and both switch
        // captions too.
        const auto fits = [](const QFont &font, const QRect &box, int flags, const QString &text) {
            return QRectF(box).contains(QFontMetricsF(font).boundingRect(QRectF(box), flags, text));
        };
        for (QLabel *l : rig.form.findChildren<QLabel *>()) {
            const QString text = l == rig.Minuta ? "= 59 min. 59 s" : l->text();
            const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
            QVERIFY2(fits(l->font(), l->contentsRect(), flags, text), qPrintable(l->objectName()));
        }
        for (const char *caption :
             {"Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.",
              "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio."}) {
            rig.btnIskljuci->setText(caption);
            QVERIFY(fits(rig.btnIskljuci->captionFont(), rig.btnIskljuci->captionRect(),
                         Qt::AlignHCenter | Qt::TextWordWrap, caption));
        }

        // Tab order; labels, frames and the display-only Ostalo1 are left out.
        QStringList order;
        QWidget *w = rig.Zadato1;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == &rig.form)
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != rig.Zadato1);
        QCOMPARE(order.join(' '), QString("Zadato1 PortCombo Pamti_vreme Pamti_port btnIskljuci "
                                          "btnPokreniT chkZvuk"));

        // No picture shows the tool tips.
        const std::pair<QWidget *, QString> tips[] = {
            {rig.Zadato1, "Ne vise od 3600 sekundi."},
            {rig.PortCombo, "Odaberi slobodan i dostupan serijski port koji ce se koristiti."},
            {rig.btnIskljuci,
             "VAZNO: program ne zna da li je potrosac zaista pod napajanjem, vec sudi samo po tome "
             "da li je postavljeno odgovarajuce naponsko/logicko stanje na pinu RTS konektora "
             "odabranog serijskog porta."}};
        for (const auto &[control, tip] : tips)
            QCOMPARE(control->toolTip(), tip);
    }
};

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
