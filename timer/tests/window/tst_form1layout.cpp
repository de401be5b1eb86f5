// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it stands when created, before the load step: every
// control's kind, name, text, tool tip, font, place, colours, tab order and
// visibility, as the layout was drawn (places in twips); and the boxes'
// titles and icons.
#include "fakes.h"
#include "widgets/icons.h"
#include "widgets/twips.h"

namespace
{
struct Row {
    const char *name, *kind, *text, *toolTip;
    double points; // 0: the default font (the check boxes show no text)
    bool bold;
    int left, top, width, height;
};

const Row kRows[] = {
    {"Zadato1", "QLineEdit", "", "Ne vise od 3600 sekundi.", 12, true, 360, 840, 1095, 435},
    {"PortCombo", "QComboBox", "",
     "Odaberi slobodan i dostupan serijski port koji ce se koristiti.", 9, true, 4920, 915, 615,
     330},
    {"Pamti_vreme", "QCheckBox", "", "", 0, false, 360, 1400, 255, 255},
    {"Pamti_port", "QCheckBox", "", "", 0, false, 4920, 1400, 255, 255},
    {"btnIskljuci", "PictureButton",
     "Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.",
     "VAZNO: program ne zna da li je potrosac zaista pod napajanjem, vec sudi samo po tome da li "
     "je postavljeno odgovarajuce naponsko/logicko stanje na pinu RTS konektora odabranog "
     "serijskog porta.",
     9.75, false, 360, 2160, 1815, 1600},
    {"btnPokreniT", "PictureButton", "POKRENI TAJMER", "", 9.75, true, 3360, 2280, 1815, 975},
    {"Label5", "QLabel", "Pamti", "", 9, false, 650, 1400, 975, 255},
    {"Ostalo1", "QLineEdit", "", "", 12, true, 2280, 840, 1095, 435},
    {"Label1", "QLabel", "Zadato vreme: (sekundi)", "", 9, true, 255, 265, 1455, 495},
    {"Label2", "QLabel", "Ostalo:", "", 9, true, 2520, 480, 975, 255},
    {"Label3", "QLabel", "Tajmer stoji.", "", 9.75, false, 2880, 3600, 2775, 375},
    {"Label4", "QLabel", "Serijski port:", "", 9, true, 4920, 330, 735, 495},
    {"Label6", "QLabel", "Pamti", "", 9, false, 5195, 1400, 975, 255},
    {"Minuta", "QLabel", "", "", 9, false, 2210, 1320, 1225, 255},
    {"chkZvuk", "QCheckBox", "", "", 0, false, 960, 3960, 255, 255},
    {"Label7", "QLabel", "Zvuk", "", 9, false, 1250, 3960, 975, 255},
    {"Shape1", "OutlineShape", "", "", 0, false, 15, 15, 6015, 4320},
    {"Shape2", "OutlineShape", "", "", 0, false, 4680, 240, 1095, 1500},
    {"Shape3", "OutlineShape", "", "", 0, false, 285, 2090, 1975, 1765},
    {"Shape4", "OutlineShape", "", "", 0, false, 2085, 240, 1520, 1500},
};

QString textOf(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    return {};
}
} // namespace

struct TestForm1Layout : QObject {
    Q_OBJECT
private slots:
    void controlsAsDrawn()
    {
        Fakes fakes;
        Form1 form(fakes, fakes, fakes, fakes);
        QCOMPARE(form.windowTitle(), QString("Tempral v0.5"));
        QCOMPARE(form.size(), twipsRect(0, 0, 6045, 4350).size());
        QVERIFY(form.minimumSize() == form.maximumSize() &&
                !(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.iconName(), QString("appicon"));
        QCOMPARE(form.palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Button));
        QVERIFY(fakes.journal.isEmpty()); // no port is opened before the load step

        // Every named control of the window is in the table, and as drawn
        // there. Sizes are exact: with the fonts that scripts/deps.sh
        // installs, every caption fits as drawn.
        QStringList named;
        for (const QWidget *w : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            named << w->objectName();
        QCOMPARE(named.size(), int(std::size(kRows)));
        for (const Row &row : kRows) {
            const auto *w = form.findChild<QWidget *>(row.name);
            QVERIFY2(w && named.contains(row.name), row.name);
            QString seen;
            QDebug(&seen).nospace().noquote()
                << w->metaObject()->className() << " [" << textOf(w) << "] [" << w->toolTip()
                << "] " << (row.points ? w->font().family() : "-") << " "
                << (row.points ? w->font().pointSizeF() : 0) << " " << w->font().bold() << " "
                << w->geometry() << " " << w->isEnabled();
            QString drawn;
            QDebug(&drawn).nospace().noquote()
                << row.kind << " [" << row.text << "] [" << row.toolTip << "] "
                << (row.points ? "Tahoma" : "-") << " " << row.points << " "
                << (row.points ? row.bold : w->font().bold()) << " "
                << twipsRect(row.left, row.top, row.width, row.height) << " " << true;
            QCOMPARE(seen, drawn);
            const bool hidden =
                QByteArray(row.name) == "Minuta" || QByteArray(row.name) == "Shape4";
            QVERIFY2(w->isHidden() == hidden, row.name);
        }

        // Frames: colour, line style (1 solid, 3 dotted), width.
        QStringList frames;
        for (const OutlineShape *s : {form.Shape1, form.Shape2, form.Shape3, form.Shape4})
            frames << QString("%1 %2 %3")
                          .arg(s->borderColour().name())
                          .arg(s->borderStyle())
                          .arg(s->borderWidth());
        QCOMPARE(frames, (QStringList{"#c00000 1 1", "#00c000 1 1", "#ff0000 3 1", "#ff0000 1 2"}));

        // Colours, pictures and the controls' own properties.
        QCOMPARE(form.PortCombo->palette().color(QPalette::Base), QColor(224, 224, 224));
        QCOMPARE(form.Ostalo1->palette().color(QPalette::Base), QColor(255, 255, 255));
        QCOMPARE(form.btnIskljuci->face(), QColor(192, 192, 192));
        QCOMPARE(form.btnPokreniT->face(), QApplication::palette().color(QPalette::Button));
        QCOMPARE(form.btnIskljuci->pictureName() + " " + form.btnPokreniT->pictureName(),
                 QString("lightoff appicon"));
        QVERIFY(form.Zadato1->maxLength() == 4 && !form.Zadato1->isReadOnly());
        QVERIFY(form.Ostalo1->isReadOnly());
        for (const QLineEdit *e : {form.Zadato1, form.Ostalo1})
            QVERIFY(e->alignment() & Qt::AlignRight);
        for (const QLabel *l : {form.Label1, form.Label3, form.Minuta})
            QVERIFY2(l->alignment() & Qt::AlignHCenter, qPrintable(l->objectName()));
        QVERIFY(form.Label1->wordWrap() && form.Label4->wordWrap());
        for (const QCheckBox *c : {form.Pamti_vreme, form.Pamti_port, form.chkZvuk})
            QVERIFY(!c->isChecked());
        QStringList entries;
        for (int i = 0; i < form.PortCombo->count(); ++i)
            entries << form.PortCombo->itemText(i) + "=" + form.PortCombo->itemData(i).toString();
        QCOMPARE(entries.join(' '), QString("1=0 2=0 3=0 4=0 5=0 6=0 7=0 8=0"));
        QVERIFY(form.PortCombo->isEditable() && form.PortCombo->currentIndex() == -1);
        for (const TickTimer *t : {form.Timer1, form.Timer2})
            QVERIFY(t->interval() == 0 && t->isEnabled());

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

    void boxesCarryTitleAndIcon()
    {
        QtMessageBoxes boxes;
        QWidget parent;
        QStringList seen;
        const auto answer = [&] {
            QTimer::singleShot(0, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                seen << QString("%1 %2: %3 (%4 button)")
                            .arg(box->icon())
                            .arg(box->windowTitle(), box->text())
                            .arg(box->buttons().size());
                box->done(0);
            });
        };
        answer();
        boxes.critical(&parent, "Tempral v0.5", "a");
        answer();
        boxes.warning(&parent, "Tempral v0.5", "b");
        QCOMPARE(seen,
                 (QStringList{QString("%1 Tempral v0.5: a (1 button)").arg(QMessageBox::Critical),
                              QString("%1 Tempral v0.5: b (1 button)").arg(QMessageBox::Warning)}));
    }
};

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
