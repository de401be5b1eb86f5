// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/netresource.h"
#include "model/networktree.h"
#include "widgets/imagelist.h"
#include "window/sendfollowup.h"

#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;
class QToolButton;
class QTreeView;
class ClickableLabel;
class LineMark;
class MessageBoxes;
class NetworkProvider;
class ProcessLauncher;
class Uputstvo;
class QWindow;

// The messenger's main window: the network tree, the recipient list, the
// message editor and the send button. Its handlers are members named after
// the control and event they serve.
class frmNWCheck : public QWidget
{
    Q_OBJECT
public:
    // `arguments` is the command line after the program name ("/H" minimises).
    frmNWCheck(NetworkProvider &network, ProcessLauncher &launcher, MessageBoxes &boxes,
               const QStringList &arguments, QWidget *parent = nullptr);
    ~frmNWCheck() override;

    // Controls, named as the window names them.
    QLineEdit *Manual = nullptr;
    QTextEdit *RichTextBox1 = nullptr;
    QToolButton *Send = nullptr;
    QPushButton *ResetList = nullptr;
    QPushButton *AddItem = nullptr;
    QPushButton *ToAll = nullptr;
    QPushButton *RemoveItem = nullptr;
    QPushButton *ToLocalGroup = nullptr;
    QTreeView *tvwNetwork = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *ResetMessage = nullptr;
    QLineEdit *Total = nullptr;
    QLabel *Length = nullptr;
    QLabel *Latinica = nullptr;
    ClickableLabel *Pomoc = nullptr;
    QLabel *Label2 = nullptr;
    LineMark *Line1 = nullptr;
    QTimer Timer1;
    ImageList imlNWImages;

    // The top of the network, owned for the window's whole life.
    NetResource RootResource;
    // The nodes of tvwNetwork: the resources below the top, as far as they
    // are listed, found by key and kept in the order they were added.
    NetworkTree nodes;

    // Lifecycle.
    void Form_Load();
    void Form_Activate();
    void Timer1_Timer();

    // Network tree.
    void tvwNetwork_Expand(const QModelIndex &node);
    void ExpandAllNodes();

    // Recipient list.
    void AddRecipient(const QString &name);
    void AddItem_Click();
    void RemoveItem_Click();
    void ResetList_Click();
    void ToAll_Click();
    void ToLocalGroup_Click();
    void Manual_KeyPress(int keyAscii);
    void List1_GotFocus();

    // Message editor.
    void RichTextBox1_Change();
    void RichTextBox1_GotFocus();
    void RichTextBox1_LostFocus();
    void ResetMessage_Click();
    QString messageText() const;

    // Dispatch, and what became of it: once every helper of a click has
    // ended, one report of the recipients that did not get the message.
    void Send_Click();
    void Send_Outcome(const TaskOutcome &outcome);

    // Help panel beside the window.
    void Pomoc_Click();
    Uputstvo *helpPanel() const;

    static inline const QString GroupEntry = QStringLiteral("SVI u mojoj grupi / mom domenu");

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void buildLayout();
    // The root node and the first level of the tree (load step).
    void populateTree();
    void focusList();
    void entryAdded(const QString &name);
    void entriesCleared();

    ProcessLauncher &m_launcher;
    MessageBoxes &m_boxes;
    QStringList m_arguments;
    SendFollowUp m_followUp;
    QPointer<Uputstvo> m_help;
    bool m_cameFromHelp = false;
    QHash<QString, int> m_entryCount; // entries of List1, for the duplicate test
    bool m_loaded = false;
    int m_activation = 0; // activations so far
    bool m_shownOnce = false;
};
