// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/listwindow.h"

#include "popup/messagelist.h"
#include "popup/popupwindow.h"
#include "popup/userchoices.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

QString ListWindow::caption()
{
    return QStringLiteral("Primljene poruke");
}

ListWindow::ListWindow(MessageList *messages, UserChoices *choices, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_messages(messages), m_refusals(new QLabel(this)), m_view(new QTreeView(this)),
      m_text(new QPlainTextEdit(this)), m_ok(new QPushButton(QStringLiteral("U redu"))),
      m_all(new QPushButton(QStringLiteral("Sve pročitano"))),
      m_reply(new QPushButton(QStringLiteral("Odgovori"))),
      m_mute(new QPushButton(QStringLiteral("Utišaj pošiljaoca"))),
      m_sound(new QCheckBox(QStringLiteral("Zvuk pri prijemu"))), m_choices(choices)
{
    setWindowTitle(caption());
    setWindowIcon(QIcon(QStringLiteral(":/vesnal-popup/app.svg")));
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_refusals->setTextFormat(Qt::PlainText);
    m_refusals->setWordWrap(true);
    m_refusals->hide();

    m_view->setModel(messages);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true); // thousands of rows stay cheap
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAccessibleName(caption());
    m_view->header()->setStretchLastSection(true);
    // Room for a NetBIOS name (15 letters) and the whole time, in bold.
    QFont bold = m_view->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int name = metrics.horizontalAdvance(QStringLiteral("RACUNOVODSTVO")) + 16;
    m_view->setColumnWidth(MessageList::Sender, name);
    m_view->setColumnWidth(MessageList::Destination, name);
    m_view->setColumnWidth(MessageList::Time,
                           metrics.horizontalAdvance(QStringLiteral("00.00.0000. 00:00:00")) + 16);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    emit selected(m_messages->at(current.row()).id);
                showChoices();
            });

    PopupWindow::setUpTextBox(m_text);
    m_text->setFrameShape(QFrame::StyledPanel); // set apart from the list above it
    m_text->setAccessibleName(QStringLiteral("Izabrana poruka"));
    m_text->setMinimumHeight(120);

    // Enter on the list takes the selected message as read, as "U redu".
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &ListWindow::confirmSelected);
    connect(m_all, &QPushButton::clicked, this, [this] {
        emit allRead();
        accept();
    });
    connect(m_reply, &QPushButton::clicked, this, [this] {
        if (const QString id = selectedId(); !id.isEmpty())
            emit replyRequested(id);
    });
    connect(m_mute, &QPushButton::clicked, this, &ListWindow::toggleMute);
    connect(m_sound, &QCheckBox::toggled, m_choices, &UserChoices::setSound);
    connect(m_choices, &UserChoices::changed, this, &ListWindow::showChoices);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_all);
    buttons->addWidget(m_reply);
    buttons->addStretch();
    buttons->addWidget(m_mute);
    buttons->addWidget(m_sound);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_refusals);
    layout->addWidget(m_view, 3);
    layout->addWidget(m_text, 2);
    layout->addLayout(buttons);
    resize(760, 480);
    showChoices();
}

void ListWindow::showChoices()
{
    const QModelIndex current = m_view->currentIndex();
    const bool muted = current.isValid() && m_messages->isMuted(current.row());
    m_mute->setText(muted ? QStringLiteral("Ukloni utišavanje")
                          : QStringLiteral("Utišaj pošiljaoca"));
    m_mute->setEnabled(current.isValid());
    m_reply->setEnabled(current.isValid());
    m_sound->setChecked(m_choices->sound());
}

void ListWindow::toggleMute()
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid())
        m_choices->setMuted(m_messages->at(current.row()).sender,
                            !m_messages->isMuted(current.row()));
}

void ListWindow::setRefusals(const QStringList &lines)
{
    m_refusals->setText(lines.join(u'\n'));
    m_refusals->setVisible(!lines.isEmpty());
}

void ListWindow::setMessageText(const QString &text)
{
    m_text->setPlainText(text);
}

void ListWindow::selectRow(int row)
{
    if (row < 0 || row >= m_messages->rowCount())
        return;
    const QModelIndex index = m_messages->index(row, 0);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index);
}

QString ListWindow::selectedId() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_messages->at(current.row()).id : QString();
}

void ListWindow::confirmSelected()
{
    const QString id = selectedId();
    if (!id.isEmpty())
        emit confirmed(id);
    const int next = m_messages->nextUnread(m_view->currentIndex().row());
    if (next < 0)
        accept();
    else
        selectRow(next);
}
