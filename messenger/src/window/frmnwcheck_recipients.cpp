// SPDX-License-Identifier: GPL-3.0-or-later
// The recipient list: adding from the tree, by name, the whole network or
// the own group; removing; and the count box that follows the list.
#include "net/caseblindname.h"
#include "window/frmnwcheck.h"
#include "window/messageboxes.h"

#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSet>
#include <QTreeView>

void frmNWCheck::focusList()
{
    List1->setFocus();
    // The count follows the list even when the list had the focus already,
    // or the window is not the active one.
    List1_GotFocus();
}

void frmNWCheck::entryAdded(const QString &name)
{
    ++m_entryCount[name];
}

void frmNWCheck::entriesCleared()
{
    List1->clear();
    m_entryCount.clear();
}

void frmNWCheck::AddRecipient(const QString &name)
{
    if (m_entryCount.value(name) > 0)
        return;
    List1->addItem(name);
    entryAdded(name);
    focusList();
}

void frmNWCheck::AddItem_Click()
{
    const QModelIndex current = tvwNetwork->currentIndex();
    const NetResource *node = nodes.nodeAt(current);
    if (!node)
        return;
    if (node->kind() == NodeKind::Server) {
        AddRecipient(node->text().toString());
    } else if (node->kind() == NodeKind::Domain) {
        tvwNetwork_Expand(current);
        for (int row = 0; row < nodes.rowCount(current); ++row) {
            const QStringView text = nodes.nodeAt(nodes.index(row, 0, current))->text();
            if (text != u"FAKE")
                AddRecipient(text.toString());
        }
    }
}

void frmNWCheck::RemoveItem_Click()
{
    if (QListWidgetItem *item = List1->currentItem(); item && item->isSelected()) {
        const QString name = item->text();
        if (--m_entryCount[name] <= 0)
            m_entryCount.remove(name);
        delete item;
    }
    focusList();
}

void frmNWCheck::ResetList_Click()
{
    entriesCleared();
    focusList();
}

void frmNWCheck::ToLocalGroup_Click()
{
    AddRecipient(GroupEntry);
}

void frmNWCheck::ToAll_Click()
{
    if (!m_boxes.confirm(this, QStringLiteral("Sigurno želiš da primaoci ove poruke budu BAŠ SVI "
                                              "u mreži?"))) {
        Manual->setFocus();
        return;
    }
    ExpandAllNodes();
    entriesCleared();
    // Each computer once, letter case aside as network names go: the same
    // computer may stand in the tree twice (the list file always names this
    // one, and browsing finds it too), and would get the message twice.
    QStringList servers;
    QSet<CaseBlindName> taken;
    nodes.forEachNode([&servers, &taken](const NetResource &node) {
        if (node.kind() != NodeKind::Server || node.text() == u"FAKE")
            return;
        const QString name = node.text().toString();
        const qsizetype before = taken.size();
        taken.insert(CaseBlindName(name));
        if (taken.size() > before)
            servers.append(name);
    });
    List1->addItems(servers);
    for (const QString &name : std::as_const(servers))
        entryAdded(name);
    focusList();
}

void frmNWCheck::Manual_KeyPress(int keyAscii)
{
    if (keyAscii != 13 || Manual->text().isEmpty())
        return;
    ExpandAllNodes();
    const QString typed = QLocale::system().toUpper(Manual->text());
    if (nodes.firstNode([&typed](const NetResource &node) {
            return node.kind() != NodeKind::Placeholder && node.text() == typed;
        })) {
        AddRecipient(typed);
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
    if (m_entryCount.value(GroupEntry) > 0)
        Total->setText(QStringLiteral(" "));
    else
        Total->setText(QString::number(List1->count()));
}
