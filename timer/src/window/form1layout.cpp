// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of Form1 as they stand before the window is loaded: kinds,
// texts, tool tips, fonts, places and colours. Places are given in twips,
// as the layout was drawn.
#include "window/form1.h"

#include "core/period.h"
#include "core/ticktimer.h"
#include "widgets/captionlabel.h"
#include "widgets/fitfont.h"
#include "widgets/icons.h"
#include "widgets/outlineshape.h"
#include "widgets/picturebutton.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace
{

QFont tahoma(double points, bool bold)
{
    // Tahoma is rarely installed on Linux; Liberation Sans comes closest in
    // width, and DejaVu Sans is everywhere.
    static const bool substituted = [] {
        QFont::insertSubstitutions("Tahoma", {"Liberation Sans", "DejaVu Sans"});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont f("Tahoma");
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QFont font, QRect place,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop, bool wrap = false)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    l->setGeometry(place);
    l->setAlignment(align);
    l->setWordWrap(wrap);
    return l;
}

QCheckBox *box(QWidget *parent, const char *name, QRect place)
{
    // Only the box shows; the control is no larger than its box.
    auto *c = new QCheckBox(parent);
    c->setObjectName(name);
    c->setGeometry(place);
    return c;
}

} // namespace

void Form1::buildLayout(const TickTimer::Clock &clock)
{
    setObjectName("Form1");
    setWindowTitle("Tempral v" TEMPRAL_VERSION);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsRect(0, 0, 6045, 4350).size());
    setIcon("appicon");

    // The frames lie beneath the controls.
    Shape1 = new OutlineShape(QColor(192, 0, 0), 1, 1, this);
    Shape1->setObjectName("Shape1");
    Shape1->setGeometry(twipsRect(15, 15, 6015, 4320));
    Shape2 = new OutlineShape(QColor(0, 192, 0), 1, 1, this);
    Shape2->setObjectName("Shape2");
    Shape2->setGeometry(twipsRect(4680, 240, 1095, 1500));
    Shape3 = new OutlineShape(QColor(255, 0, 0), 3, 1, this);
    Shape3->setObjectName("Shape3");
    Shape3->setGeometry(twipsRect(285, 2090, 1975, 1765));
    Shape4 = new OutlineShape(QColor(255, 0, 0), 1, 2, this);
    Shape4->setObjectName("Shape4");
    Shape4->setGeometry(twipsRect(2085, 240, 1520, 1500));
    Shape4->hide();

    Zadato1 = new QLineEdit(this);
    Zadato1->setObjectName("Zadato1");
    Zadato1->setToolTip("Ne vise od 3600 sekundi.");
    Zadato1->setFont(tahoma(12, true));
    Zadato1->setGeometry(twipsRect(360, 840, 1095, 435));
    Zadato1->setMaxLength(period::kLength);
    Zadato1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    PortCombo = new QComboBox(this);
    PortCombo->setObjectName("PortCombo");
    PortCombo->setEditable(true);
    PortCombo->setInsertPolicy(QComboBox::NoInsert);
    PortCombo->setToolTip("Odaberi slobodan i dostupan serijski port koji ce se koristiti.");
    PortCombo->setFont(tahoma(9, true));
    PortCombo->setGeometry(twipsRect(4920, 915, 615, 330));
    for (int i = 1; i <= 8; ++i)
        PortCombo->addItem(QString::number(i), 0);
    PortCombo->setCurrentIndex(-1);
    PortCombo->setEditText(QString());
    QPalette comboPalette = PortCombo->palette();
    comboPalette.setColor(QPalette::Base, QColor(224, 224, 224));
    comboPalette.setColor(QPalette::Button, QColor(224, 224, 224));
    PortCombo->setPalette(comboPalette);

    Pamti_vreme = box(this, "Pamti_vreme", twipsRect(360, 1400, 255, 255));
    Pamti_port = box(this, "Pamti_port", twipsRect(4920, 1400, 255, 255));

    btnIskljuci = new PictureButton(this);
    btnIskljuci->setObjectName("btnIskljuci");
    btnIskljuci->setText("Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga TRAJNO ukljucio.");
    btnIskljuci->setToolTip("VAZNO: program ne zna da li je potrosac zaista pod napajanjem, vec "
                            "sudi samo po tome da li je postavljeno odgovarajuce "
                            "naponsko/logicko stanje na pinu RTS konektora odabranog "
                            "serijskog porta.");
    btnIskljuci->setFont(tahoma(9.75, false));
    btnIskljuci->setGeometry(twipsRect(360, 2160, 1815, 1600));
    btnIskljuci->setFace(QColor(192, 192, 192));
    btnIskljuci->setPicture("lightoff");

    btnPokreniT = new PictureButton(this);
    btnPokreniT->setObjectName("btnPokreniT");
    btnPokreniT->setText("POKRENI TAJMER");
    btnPokreniT->setFont(tahoma(9.75, true));
    btnPokreniT->setGeometry(twipsRect(3360, 2280, 1815, 975));
    btnPokreniT->setPicture("appicon");

    const QFont small = tahoma(9, false), smallBold = tahoma(9, true);
    Label5 = label(this, "Label5", "Pamti", small, twipsRect(650, 1400, 975, 255));

    Ostalo1 = new QLineEdit(this);
    Ostalo1->setObjectName("Ostalo1");
    Ostalo1->setReadOnly(true);
    // Reached by clicking only: it hands the focus on at once, so in the Tab
    // chain it would keep the controls after it out of reach.
    Ostalo1->setFocusPolicy(Qt::ClickFocus);
    Ostalo1->setFont(tahoma(12, true));
    Ostalo1->setGeometry(twipsRect(2280, 840, 1095, 435));
    Ostalo1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setOstaloColour(Qt::white);

    const auto centred = Qt::AlignHCenter | Qt::AlignTop;
    Label1 = label(this, "Label1", "Zadato vreme: (sekundi)", smallBold,
                   twipsRect(255, 265, 1455, 495), centred, true);
    Label2 = label(this, "Label2", "Ostalo:", smallBold, twipsRect(2520, 480, 975, 255));
    Label3 = label(this, "Label3", "Tajmer stoji.", tahoma(9.75, false),
                   twipsRect(2880, 3600, 2775, 375), centred);
    Label4 = label(this, "Label4", "Serijski port:", smallBold, twipsRect(4920, 330, 735, 495),
                   Qt::AlignLeft | Qt::AlignTop, true);
    Label6 = label(this, "Label6", "Pamti", small, twipsRect(5195, 1400, 975, 255));
    Minuta = label(this, "Minuta", QString(), small, twipsRect(2210, 1320, 1225, 255), centred);
    Minuta->hide();

    chkZvuk = box(this, "chkZvuk", twipsRect(960, 3960, 255, 255));
    Label7 = label(this, "Label7", "Zvuk", small, twipsRect(1250, 3960, 975, 255));

    // Every caption must show whole in the fonts that stand in for Tahoma.
    fitLabel(Label1);
    fitLabel(Label4);
    fitLabel(Minuta, {"= 59 min. 59 s"});
    QFont bold3 = Label3->font();
    bold3.setBold(true);
    Label3->setFont(bold3);
    fitLabel(Label3, {"Tajmer odbrojava."});
    bold3 = Label3->font();
    bold3.setBold(false);
    Label3->setFont(bold3);

    for (QWidget *w : {Zadato1, Ostalo1}) {
        QFont f = w->font();
        f = fitFont(f, QSize(w->width() - 8, w->height()), Qt::AlignRight, {"8888"});
        w->setFont(f);
    }

    // The labels beside the boxes are their captions; fields and boxes carry
    // the names a screen reader says.
    makeCaption(Label5, Pamti_vreme);
    makeCaption(Label6, Pamti_port);
    makeCaption(Label7, chkZvuk);
    Label4->setBuddy(PortCombo);
    Zadato1->setAccessibleName("Zadato vreme u sekundama");
    Ostalo1->setAccessibleName("Preostalo vreme");
    PortCombo->setAccessibleName("Serijski port");
    PortCombo->lineEdit()->setAccessibleName("Serijski port");
    Pamti_vreme->setAccessibleName("Pamti zadato vreme");
    Pamti_port->setAccessibleName("Pamti port");
    chkZvuk->setAccessibleName("Zvuk");

    setTabOrder(Zadato1, PortCombo);
    setTabOrder(PortCombo, Pamti_vreme);
    setTabOrder(Pamti_vreme, Pamti_port);
    setTabOrder(Pamti_port, btnIskljuci);
    setTabOrder(btnIskljuci, btnPokreniT);
    setTabOrder(btnPokreniT, chkZvuk);

    Timer2 = new TickTimer(this, clock);
    Timer2->setObjectName("Timer2");
}
