// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/popupwindow.h"

#include "popup/messagelist.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>

namespace
{

constexpr int TextWidth = 420;
constexpr int MinTextHeight = 60;

// The height the text needs at `width`, at most half the screen; a longer
// text scrolls.
int fittingHeight(const QString &text, const QFont &font, int width)
{
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.setPlainText(text);
    doc.setTextWidth(width);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int most = screen ? screen->availableGeometry().height() / 2 : 400;
    return qBound(MinTextHeight, int(doc.size().height()) + 8, most);
}

} // namespace

// The icon is compiled into the agent's static library; naming it here
// keeps it linked into every program that shows this window.
static void keepResourcesLinked()
{
    Q_INIT_RESOURCE(popup);
}

QString PopupWindow::caption()
{
    return QStringLiteral("Vesnal – primljena poruka");
}

QString PopupWindow::heading(const SpoolRecord &record)
{
    return QStringLiteral("Poruka od %1 za %2, %3")
        .arg(record.sender.toUpper(), record.destination.toUpper(),
             MessageList::arrivalTime(record.received));
}

void PopupWindow::setUpTextBox(QPlainTextEdit *box)
{
    // Read-only plain text: never taken as markup; a long text wraps and
    // scrolls instead of growing the window off screen.
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setCursorWidth(0); // selectable, but nothing to type into
    box->setFrameShape(QFrame::NoFrame);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setBackgroundVisible(false);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
}

PopupWindow::PopupWindow(const QString &id, const SpoolRecord &record, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_id(id), m_text(new QPlainTextEdit(this)), m_ok(new QPushButton(QStringLiteral("U redu"))),
      m_reply(new QPushButton(QStringLiteral("Odgovori")))
{
    keepResourcesLinked();
    setWindowTitle(caption());
    setWindowIcon(QIcon(QStringLiteral(":/vesnal-popup/app.svg")));
    setAttribute(Qt::WA_ShowWithoutActivating);

    setUpTextBox(m_text);
    const QString all = heading(record) + QStringLiteral("\n\n") + record.text;
    m_text->setPlainText(all);
    m_text->setAccessibleName(QStringLiteral("Primljena poruka"));
    m_text->setMinimumSize(TextWidth, fittingHeight(all, m_text->font(), TextWidth));

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_reply, &QPushButton::clicked, this, [this] { emit replyRequested(m_id); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_reply);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
}
