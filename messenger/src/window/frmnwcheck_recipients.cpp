// SPDX-License-Identifier: GPL-3.0-or-later
// The recipient list: adding from the tree, by name, the whole network or
// the own group; removing; and the count box that follows the list. The
// entries and their rules are RecipientList's.
#include "window/frmnwcheck.h"
#include "window/messageboxes.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTreeView>

void frmNWCheck::focusList()
{
    List1->setFocus();
    // The count follows the list even when the list had the focus already,
    // or the window is not the active one.
    List1_GotFocus();
}

void frmNWCheck::AddRecipient(const QString &name)
{
    if (m_recipients.add(name))
        focusList();
}

void frmNWCheck::AddItem_Click()
{
    const QModelIndex current = tvwNetwork->currentIndex();
    if (RecipientList::takesChildren(nodes, current))
        tvwNetwork_Expand(current);
    for (const QString &name : RecipientList::namesAt(nodes, current))
        AddRecipient(name);
}

void frmNWCheck::RemoveItem_Click()
{
    const QModelIndex current = List1->currentIndex();
    if (current.isValid() && List1->selectionModel()->isSelected(current))
        m_recipients.removeAt(current.row());
    focusList();
}

void frmNWCheck::ResetList_Click()
{
    m_recipients.clear();
    focusList();
}

void frmNWCheck::ToLocalGroup_Click()
{
    AddRecipient(RecipientList::GroupEntry);
}

void frmNWCheck::ToAll_Click()
{
    if (!m_boxes.confirm(this, QStringLiteral("Sigurno želiš da primaoci ove poruke budu BAŠ SVI "
                                              "u mreži?"))) {
        Manual->setFocus();
        return;
    }
    ExpandAllNodes();
    m_recipients.fillWithComputers(nodes);
    focusList();
}

void frmNWCheck::Manual_KeyPress(int keyAscii)
{
    if (keyAscii != 13 || Manual->text().isEmpty())
        return;
    ExpandAllNodes();
    if (const QString name = RecipientList::typedName(nodes, Manual->text()); !name.isNull()) {
        AddRecipient(name);
        Manual->clear();
        Manual->setFocus();
        return;
    }
    m_boxes.report(this, MessageBoxes::Icon::Critical,
                   QStringLiteral("Taj primalac trenutno ne postoji u ovoj mreži!"));
    Manual->setFocus();
}

void frmNWCheck::List1_GotFocus()
{
    Total->setText(m_recipients.countText());
}
