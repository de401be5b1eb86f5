// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it stands when created, before the load step: every
// control's kind, name, text, tool tip, font, place, colours, tab order and
// visibility, as the layout was drawn.
#include "fakes.h"

namespace
{
// Name, kind, font ("-": not shown), place in pixels (the drawn twips / 15,
// each edge rounded; with the fonts that scripts/deps.sh installs every
// caption fits the size drawn), what is peculiar to the kind, [text] and
// [tool tip]. Frames: colour, line style (1 solid, 3 dotted) and width.
const QStringList kDrawn = {
    "Zadato1 QLineEdit Tahoma 12 bold 24,56 73x29 right #ffffff [] [Ne vise od 3600 sekundi.]",
    "PortCombo QComboBox Tahoma 9 bold 328,61 41x22 editable #e0e0e0 [] "
    "[Odaberi slobodan i dostupan serijski port koji ce se koristiti.]",
    "Pamti_vreme QCheckBox - 24,93 17x17 [] []",
    "Pamti_port QCheckBox - 328,93 17x17 [] []",
    "btnIskljuci PictureButton Tahoma 9.75 24,144 121x107 lightoff #c0c0c0 "
    "[Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.] "
    "[VAZNO: program ne zna da li je potrosac zaista pod napajanjem, vec sudi samo po tome da li "
    "je postavljeno odgovarajuce naponsko/logicko stanje na pinu RTS konektora odabranog "
    "serijskog porta.]",
    "btnPokreniT PictureButton Tahoma 9.75 bold 224,152 121x65 appicon [POKRENI TAJMER] []",
    "Label5 QLabel Tahoma 9 43,93 65x17 [Pamti] []",
    "Ostalo1 QLineEdit Tahoma 12 bold 152,56 73x29 right read-only #ffffff [] []",
    "Label1 QLabel Tahoma 9 bold 17,18 97x33 centred wrapped [Zadato vreme: (sekundi)] []",
    "Label2 QLabel Tahoma 9 bold 168,32 65x17 [Ostalo:] []",
    "Label3 QLabel Tahoma 9.75 192,240 185x25 centred [Tajmer stoji.] []",
    "Label4 QLabel Tahoma 9 bold 328,22 49x33 wrapped [Serijski port:] []",
    "Label6 QLabel Tahoma 9 346,93 65x17 [Pamti] []",
    "Minuta QLabel Tahoma 9 147,88 82x17 hidden centred [] []",
    "chkZvuk QCheckBox - 64,264 17x17 [] []",
    "Label7 QLabel Tahoma 9 83,264 65x17 [Zvuk] []",
    "Shape1 OutlineShape - 1,1 401x288 #c00000 1 1 [] []",
    "Shape2 OutlineShape - 312,16 73x100 #00c000 1 1 [] []",
    "Shape3 OutlineShape - 19,139 132x118 #ff0000 3 1 [] []",
    "Shape4 OutlineShape - 139,16 101x100 hidden #ff0000 1 2 [] []",
};

QString asDrawn(const QWidget *w)
{
    const QFont f = w->font();
    const QRect g = w->geometry();
    QStringList words{w->objectName(), w->metaObject()->className()};
    if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const OutlineShape *>(w))
        words << "-";
    else
        words << f.family() + " " + QString::number(f.pointSizeF()) + (f.bold() ? " bold" : "");
    words << QString("%1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    const auto add = [&](bool holds, const QString &word) {
        if (holds)
            words << word;
    };
    add(w->isHidden(), "hidden");
    add(!w->isEnabled(), "disabled");
    const auto *label = qobject_cast<const QLabel *>(w);
    const auto *edit = qobject_cast<const QLineEdit *>(w);
    const auto *combo = qobject_cast<const QComboBox *>(w);
    const Qt::Alignment align = label  ? label->alignment()
                                : edit ? edit->alignment()
                                       : Qt::Alignment();
    add(align & Qt::AlignRight, "right");
    add(align & Qt::AlignHCenter, "centred");
    add(label && label->wordWrap(), "wrapped");
    add(edit && edit->isReadOnly(), "read-only");
    add(combo && combo->isEditable(), "editable");
    add(edit || combo, w->palette().color(QPalette::Base).name());
    if (auto *b = qobject_cast<const PictureButton *>(w)) {
        words << b->pictureName();
        add(b->face() != QApplication::palette().color(QPalette::Button), b->face().name());
    }
    if (auto *box = qobject_cast<const QCheckBox *>(w))
        add(box->isChecked(), "ticked");
    if (auto *s = qobject_cast<const OutlineShape *>(w))
        words << s->borderColour().name() + " " + QString::number(s->borderStyle()) + " " +
                     QString::number(s->borderWidth());
    return words.join(' ') + " [" + w->property(combo ? "currentText" : "text").toString() + "] [" +
           w->toolTip() + "]";
}
} // namespace

struct TestForm1Layout : QObject {
    Q_OBJECT
private slots:
    void controlsAsDrawn()
    {
        Fakes fakes;
        Form1 form(fakes, fakes, fakes, fakes);
        QCOMPARE(form.windowTitle() + " " + form.iconName(), QString("Tempral v0.5 appicon"));
        QVERIFY(form.size() == QSize(403, 290) && form.minimumSize() == form.maximumSize() &&
                !(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Button));
        QVERIFY(fakes.journal.isEmpty()); // no port is opened before the load step

        QStringList seen, drawn = kDrawn;
        for (const QWidget *w : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            seen << asDrawn(w);
        seen.sort();
        drawn.sort();
        QCOMPARE(seen, drawn);

        QStringList entries; // text=data
        for (int i = 0; i < form.PortCombo->count(); ++i)
            entries << form.PortCombo->itemText(i) + "=" + form.PortCombo->itemData(i).toString();
        QCOMPARE(entries.join(' '), QString("1=0 2=0 3=0 4=0 5=0 6=0 7=0 8=0"));
        QVERIFY(form.PortCombo->currentIndex() == -1);

        // Tab order; labels, frames and the display-only Ostalo1 are left out.
        QStringList order;
        QWidget *w = form.Zadato1;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == &form)
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != form.Zadato1);
        QCOMPARE(order.join(' '), QString("Zadato1 PortCombo Pamti_vreme Pamti_port btnIskljuci "
                                          "btnPokreniT chkZvuk"));
    }
};

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
