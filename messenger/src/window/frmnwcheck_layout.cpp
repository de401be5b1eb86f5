// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls: kind, name, caption, tool tip, font, place
// and colours, and their tab order.
#include "widgets/cappedtextedit.h"
#include "widgets/clickablelabel.h"
#include "widgets/fitfont.h"
#include "widgets/fonts.h"
#include "widgets/linemark.h"
#include "widgets/twips.h"
#include "widgets/wrapbutton.h"
#include "window/frmnwcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>
#include <QTreeView>

namespace
{

template <typename W>
W *place(W *widget, const char *name, const QRect &geometry, const QFont &f,
         const QString &toolTip = QString())
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    widget->setFont(f);
    if (!toolTip.isEmpty())
        widget->setToolTip(toolTip);
    return widget;
}

void setColour(QWidget *w, QPalette::ColorRole role, QColor colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

} // namespace

void frmNWCheck::buildLayout()
{
    setObjectName(QStringLiteral("frmNWCheck"));
    setWindowTitle(QStringLiteral("Vesnal for Windows 2000 & XP  v" VESNAL_VERSION "ß"));
    setFixedSize(twipsToPixels(7095), twipsToPixels(8055));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(layoutFont(QStringLiteral("Arial"), 8.25));

    const QFont tahoma = layoutFont(QStringLiteral("Tahoma"), 8.25);
    const QFont tahomaBold = layoutFont(QStringLiteral("Tahoma"), 8.25, true);
    const QFont arialLarge = layoutFont(QStringLiteral("Arial"), 15.75);

    Manual = place(new QLineEdit(this), "Manual", twipsRect(4545, 440, 2460, 315), tahoma,
                   QStringLiteral("Uneti naziv primaoca, zatim <Enter>"));

    auto *editor = new CappedTextEdit(MessageDraft::MaxLength, this);
    RichTextBox1 = place(editor, "RichTextBox1", twipsRect(75, 6300, 6945, 1545),
                         layoutFont(QStringLiteral("Tahoma"), 9),
                         QStringLiteral("Poruka - najviše 896 ili 128 znakova. Vidi uputstvo."));
    editor->setTabChangesFocus(true);
    setColour(RichTextBox1, QPalette::Base, QColor(128, 255, 128));

    Send =
        place(new QToolButton(this), "Send", twipsRect(3000, 5595, 1680, 645),
              layoutFont(QStringLiteral("Tahoma"), 9.75, true), QStringLiteral("POŠALJI PORUKU"));
    Send->setText(QStringLiteral("P O Š A LJ I"));
    Send->setIcon(QIcon(QStringLiteral(":/vesnal/send.svg")));
    Send->setIconSize(QSize(19, 21));
    Send->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Send->setFocusPolicy(Qt::StrongFocus);
    Send->setAutoFillBackground(true);
    setColour(Send, QPalette::Button, QColor(224, 224, 224));

    ResetList =
        place(new QPushButton(QStringLiteral("PRIMAOCI PORUKE:"), this), "ResetList",
              twipsRect(4560, 85, 2445, 285), tahomaBold, QStringLiteral("Nova lista primalaca"));
    AddItem = place(new QPushButton(QStringLiteral(">"), this), "AddItem",
                    twipsRect(3735, 1335, 735, 495), arialLarge,
                    QStringLiteral("Stavi u listu primalaca"));
    ToAll = place(
        new QPushButton(QStringLiteral(">>"), this), "ToAll", twipsRect(3735, 2040, 735, 430),
        layoutFont(QStringLiteral("Arial"), 15.75, false, true), QStringLiteral("SVIMA U MREŽI"));
    RemoveItem = place(new QPushButton(QStringLiteral("<"), this), "RemoveItem",
                       twipsRect(3735, 2700, 735, 495), arialLarge,
                       QStringLiteral("Ukloni iz liste primalaca"));
    ToLocalGroup = place(new WrapButton(QStringLiteral("Mojoj grupi / mom domenu"), this),
                         "ToLocalGroup", twipsRect(3675, 3850, 800, 1095), tahoma,
                         QStringLiteral("Poruka za sve u lokalnoj grupi (workgroup) ili domenu "
                                        "(ako postoji domain controller)"));

    tvwNetwork = place(new QTreeView(this), "tvwNetwork", twipsRect(90, 120, 3525, 5265), tahoma,
                       QStringLiteral("Struktura mreže"));
    tvwNetwork->setModel(&nodes);
    tvwNetwork->setHeaderHidden(true);
    tvwNetwork->setIconSize(QSize(16, 16));
    tvwNetwork->setUniformRowHeights(true);
    tvwNetwork->setEditTriggers(QAbstractItemView::NoEditTriggers);

    List1 = place(new QListView(this), "List1", twipsRect(4530, 840, 2490, 4545), tahoma,
                  QStringLiteral("Spisak (lista) primalaca poruke"));
    List1->setModel(&m_recipients);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // The layout's list box has no horizontal scroll bar: long entries are
    // cut at its edge.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setTextElideMode(Qt::ElideNone);
    setColour(List1, QPalette::Base, QColor(255, 255, 128));

    ResetMessage =
        place(new QPushButton(QStringLiteral("PORUKA:"), this), "ResetMessage",
              twipsRect(165, 5835, 1260, 405), tahomaBold, QStringLiteral("Nova poruka"));

    // The count is shown, never edited: sending reads it for its check.
    Total = place(new QLineEdit(this), "Total", twipsRect(6300, 5520, 705, 315), tahoma,
                  QStringLiteral("Ukupan broj primalaca"));
    Total->setReadOnly(true);
    Total->setAlignment(Qt::AlignRight);
    Total->setFocusPolicy(Qt::NoFocus);

    Length = place(new QLabel(this), "Length", twipsRect(2580, 7830, 1650, 210), this->font());
    Length->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    showLengthText();
    showLengthMark();

    Latinica = place(new QLabel(QStringLiteral("Latinicom!"), this), "Latinica",
                     twipsRect(120, 7830, 2175, 255), tahomaBold);
    showEditing();

    Pomoc = place(new ClickableLabel(QStringLiteral("Kratko uputstvo >>"), this), "Pomoc",
                  twipsRect(5250, 7830, 1815, 255), tahomaBold);
    Pomoc->setCursor(Qt::PointingHandCursor);
    fitLabel(Pomoc); // both of its captions are the same letters

    // The product name, then enough blanks to push the notice onto a
    // second line of the label; the notice itself never breaks.
    Label2 = place(new QLabel(QStringLiteral("Vesnal") + QString(24, QLatin1Char(' ')) +
                                  QStringLiteral("©\u00A02003-2008\u00A0Vesnal\u00A0tim "),
                              this),
                   "Label2", twipsRect(4920, 5835, 1935, 495), this->font());
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setAttribute(Qt::WA_TranslucentBackground);
    fitLabel(Label2);

    Line1 = new LineMark(this, QPointF(6615, 6090), QPointF(6646, 6060));
    Line1->setObjectName(QStringLiteral("Line1"));
    Timer1.setObjectName(QStringLiteral("Timer1"));

    for (QLabel *label : {Length, Latinica, static_cast<QLabel *>(Pomoc), Label2})
        label->setFocusPolicy(Qt::NoFocus);

    // What a screen reader says where the caption does not tell what the
    // control is, is spelled out letter by letter, or is a symbol.
    Manual->setAccessibleName(QStringLiteral("Naziv primaoca"));
    RichTextBox1->setAccessibleName(QStringLiteral("Poruka"));
    Send->setAccessibleName(QStringLiteral("Pošalji poruku"));
    AddItem->setAccessibleName(QStringLiteral("Stavi u listu primalaca"));
    ToAll->setAccessibleName(QStringLiteral("Svima u mreži"));
    RemoveItem->setAccessibleName(QStringLiteral("Ukloni iz liste primalaca"));
    tvwNetwork->setAccessibleName(QStringLiteral("Struktura mreže"));
    List1->setAccessibleName(QStringLiteral("Primaoci poruke"));
    Total->setAccessibleName(QStringLiteral("Ukupan broj primalaca"));

    const QList<QWidget *> order = {Manual,     RichTextBox1, Send,        ResetList,
                                    AddItem,    ToAll,        RemoveItem,  ToLocalGroup,
                                    tvwNetwork, List1,        ResetMessage};
    for (QWidget *w : order)
        if (w->focusPolicy() == Qt::NoFocus)
            w->setFocusPolicy(Qt::StrongFocus);
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}
