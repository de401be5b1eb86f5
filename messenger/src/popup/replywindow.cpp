// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/replywindow.h"

#include "popup/messagelist.h"
#include "popup/popupwindow.h"
#include "popup/replysender.h"
#include "widgets/cappedtextedit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace
{

QLabel *plainLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText); // names and text from the network are never markup
    label->setWordWrap(true);
    return label;
}

} // namespace

QString ReplyWindow::caption()
{
    return QStringLiteral("Vesnal – odgovor");
}

ReplyWindow::ReplyWindow(const SpoolRecord &record, ReplySender *sender, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_sender(sender), m_status(plainLabel(this)), m_editor(new CappedTextEdit(MaxLength, this)),
      m_length(new QLabel(this)), m_send(new QPushButton(QStringLiteral("Pošalji"))),
      m_close(new QPushButton(QStringLiteral("Zatvori")))
{
    sender->setParent(this);
    setWindowTitle(caption());
    setWindowIcon(QIcon(QStringLiteral(":/vesnal-popup/app.svg")));

    QLabel *about = plainLabel(this);
    about->setText(QStringLiteral("Odgovor na: ") + PopupWindow::heading(record) +
                   QStringLiteral("\n„") + MessageList::firstLine(record.text) + u'“');
    m_status->setAccessibleName(QStringLiteral("Kome ide odgovor"));
    m_editor->setTabChangesFocus(true);
    m_editor->setAccessibleName(QStringLiteral("Tekst odgovora"));
    m_editor->setMinimumSize(420, 140);
    // Enter belongs to the editor (a new line); no button takes it.
    for (QPushButton *b : {m_send, m_close})
        b->setAutoDefault(false);
    connect(m_editor, &QTextEdit::textChanged, this, &ReplyWindow::update);
    connect(m_sender, &ReplySender::changed, this, &ReplyWindow::update);
    connect(m_send, &QPushButton::clicked, this, &ReplyWindow::send);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    connect(shortcut, &QShortcut::activated, this, &ReplyWindow::send);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_length);
    buttons->addStretch();
    buttons->addWidget(m_send);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(m_status);
    layout->addWidget(m_editor, 1);
    layout->addLayout(buttons);
    update();
    m_editor->setFocus();
}

void ReplyWindow::update()
{
    const ReplySender::State state = m_sender->state();
    m_status->setText(m_sender->status());
    m_length->setText(
        QStringLiteral("Dužina poruke: %1 (najviše %2)").arg(m_editor->length()).arg(MaxLength));
    m_send->setEnabled(state == ReplySender::State::Ready && m_editor->length() > 0);
    // What was sent stays as it was.
    m_editor->setReadOnly(state == ReplySender::State::Sending ||
                          state == ReplySender::State::Sent);
    if (state == ReplySender::State::Sent)
        m_close->setFocus();
}

void ReplyWindow::send()
{
    if (m_send->isEnabled())
        m_sender->send(typedText(*m_editor->document()));
}
