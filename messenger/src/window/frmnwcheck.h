// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/messagedraft.h"
#include "model/netresource.h"
#include "model/networktree.h"
#include "model/recipientlist.h"
#include "widgets/imagelist.h"
#include "window/sendfollowup.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QListView;
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

// The messenger's main window: the network tree, the recipient list, the
// message editor and the send button. Its handlers are named after the
// control and event they serve; they pass on to the tree (NetworkTree), the
// recipients (RecipientList) and the message's rules (MessageDraft), and
// show what those hold.
class frmNWCheck : public QWidget
{
    Q_OBJECT
public:
    // `arguments` is the command line after the program name ("/H" minimises).
    frmNWCheck(NetworkProvider &network, ProcessLauncher &launcher, MessageBoxes &boxes,
               const QStringList &arguments, QWidget *parent = nullptr);
    ~frmNWCheck() override;

    // The load step (run by the first showing) and the activate step (run
    // after it, and whenever the user comes back from the guide panel).
    // Public so that the tests and benchmarks run them on a window never
    // shown, and time them.
    void Form_Load();
    void Form_Activate();

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    // Passes Enter in Manual and the focus changes of List1 and RichTextBox1
    // to their handlers below.
    bool eventFilter(QObject *watched, QEvent *e) override;
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

    // Dispatch, and what became of it: once every helper of a click has
    // ended, one report of the recipients that did not get the message.
    void Send_Click();
    void Send_Outcome(const TaskOutcome &outcome);

    // Help panel beside the window.
    void Pomoc_Click();

    void buildLayout();
    // The root node and the first level of the tree (load step).
    void populateTree();
    void focusList();
    QString messageText() const;
    void showLengthText();
    void showLengthMark();
    void showEditing();

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
    QListView *List1 = nullptr;
    QPushButton *ResetMessage = nullptr;
    QLineEdit *Total = nullptr;
    QLabel *Length = nullptr;
    QLabel *Latinica = nullptr;
    ClickableLabel *Pomoc = nullptr;
    QLabel *Label2 = nullptr;
    LineMark *Line1 = nullptr;
    QTimer Timer1{this};
    ImageList imlNWImages;

    // The top of the network, owned for the window's whole life.
    NetResource RootResource;
    // The nodes of tvwNetwork: the resources below the top, as far as they
    // are listed, found by key and kept in the order they were added.
    NetworkTree nodes;
    // The entries of List1.
    RecipientList m_recipients;
    // What Length and Latinica show of the text in RichTextBox1.
    MessageDraft m_draft;

    ProcessLauncher &m_launcher;
    MessageBoxes &m_boxes;
    QStringList m_arguments;
    SendFollowUp m_followUp;
    QPointer<Uputstvo> m_help;
    bool m_cameFromHelp = false;
    bool m_loaded = false;
    int m_activation = 0; // activations so far
    bool m_shownOnce = false;
};
