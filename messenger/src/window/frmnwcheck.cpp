// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/frmnwcheck.h"

#include "widgets/cappedtextedit.h"
#include "widgets/clickablelabel.h"
#include "widgets/linemark.h"
#include "window/messageboxes.h"
#include "window/uputstvo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>

frmNWCheck::frmNWCheck(NetworkProvider &network, ProcessLauncher &launcher, MessageBoxes &boxes,
                       const QStringList &arguments, QWidget *parent)
    : QWidget(parent), RootResource(&network), nodes(RootResource), m_launcher(launcher),
      m_boxes(boxes), m_arguments(arguments), m_followUp([this](const QString &text) {
          m_boxes.notify(this, MessageBoxes::Icon::Exclamation, text);
      })
{
    buildLayout();
    m_launcher.setOutcomeHandler(this,
                                 [this](const TaskOutcome &outcome) { Send_Outcome(outcome); });

    connect(&Timer1, &QTimer::timeout, this, &frmNWCheck::Timer1_Timer);
    connect(tvwNetwork, &QTreeView::expanded, this, &frmNWCheck::tvwNetwork_Expand);
    connect(AddItem, &QPushButton::clicked, this, &frmNWCheck::AddItem_Click);
    connect(RemoveItem, &QPushButton::clicked, this, &frmNWCheck::RemoveItem_Click);
    connect(ResetList, &QPushButton::clicked, this, &frmNWCheck::ResetList_Click);
    connect(ToAll, &QPushButton::clicked, this, &frmNWCheck::ToAll_Click);
    connect(ToLocalGroup, &QPushButton::clicked, this, &frmNWCheck::ToLocalGroup_Click);
    connect(RichTextBox1, &QTextEdit::textChanged, this, &frmNWCheck::RichTextBox1_Change);
    connect(ResetMessage, &QPushButton::clicked, this, &frmNWCheck::ResetMessage_Click);
    connect(Send, &QToolButton::clicked, this, &frmNWCheck::Send_Click);
    connect(Pomoc, &ClickableLabel::clicked, this, &frmNWCheck::Pomoc_Click);
    connect(&m_draft, &MessageDraft::lengthTextChanged, this, &frmNWCheck::showLengthText);
    connect(&m_draft, &MessageDraft::limitReached, this, [this] {
        m_boxes.report(this, MessageBoxes::Icon::Critical,
                       QStringLiteral("Poruka ne sme sadržati više od 896 znakova!"));
    });
    connect(&m_draft, &MessageDraft::lengthMarkChanged, this, &frmNWCheck::showLengthMark);
    connect(&m_draft, &MessageDraft::editingChanged, this, &frmNWCheck::showEditing);
    // F1 reaches the guide from the keyboard, from either window.
    new QShortcut(QKeySequence(Qt::Key_F1), this, this, &frmNWCheck::Pomoc_Click,
                  Qt::ApplicationShortcut);
    Manual->installEventFilter(this);
    List1->installEventFilter(this);
    RichTextBox1->installEventFilter(this);

    // The window is activated again when the user comes back to it from the
    // help panel; message boxes and other programs do not count.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *now) {
        if (!now)
            return;
        if (now == windowHandle()) {
            if (m_cameFromHelp)
                Form_Activate();
            m_cameFromHelp = false;
        } else {
            m_cameFromHelp = m_help && now == m_help->windowHandle();
        }
    });
}

frmNWCheck::~frmNWCheck()
{
    m_launcher.setOutcomeHandler(nullptr, {});
    // The views let go of their models before they go.
    tvwNetwork->setModel(nullptr);
    List1->setModel(nullptr);
}

void frmNWCheck::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Timer1.setInterval(5000);
    Timer1.start();
    setWindowIcon(QIcon(QStringLiteral(":/vesnal/app.svg")));
    populateTree();
    Total->setText(QStringLiteral("0"));
}

void frmNWCheck::Form_Activate()
{
    ++m_activation;
    ExpandAllNodes();
    ExpandAllNodes();
    Manual->setFocus();
    if (m_arguments.join(QLatin1Char(' ')).toUpper() == QLatin1String("/H")) {
        setWindowState(windowState() | Qt::WindowMinimized);
        ExpandAllNodes();
    }
}

void frmNWCheck::Timer1_Timer()
{
    Label2->hide();
    Line1->hide();
    Timer1.stop();
}

void frmNWCheck::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    Form_Load();
    // Centred on the screen, then the first activation right after showing.
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QTimer::singleShot(0, this, &frmNWCheck::Form_Activate);
}

void frmNWCheck::closeEvent(QCloseEvent *e)
{
    // Closing the main window ends the program. The guide panel goes first,
    // without its unload step, so nothing is restored; quitting would close
    // it like its own close command.
    e->accept();
    delete m_help.data();
    QCoreApplication::quit();
}

bool frmNWCheck::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == Manual && e->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Manual_KeyPress(13);
            return true;
        }
    } else if (watched == List1 && e->type() == QEvent::FocusIn) {
        List1_GotFocus();
    } else if (watched == RichTextBox1 && e->type() == QEvent::FocusIn) {
        RichTextBox1_GotFocus();
    } else if (watched == RichTextBox1 && e->type() == QEvent::FocusOut) {
        // The editor loses the focus only to another control of this window:
        // another window becoming active (a message box, the guide, another
        // program) or a popup menu (the editor's own) leaves it where it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            RichTextBox1_LostFocus();
    }
    return QWidget::eventFilter(watched, e);
}
