// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/networktree.h"
#include "model/recipientlist.h"
#include "widgets/cappedtextedit.h"

#include <QtWidgets>

// The main window's controls, found by their names as assistive tools and
// testers find them, and the models its views show.
struct MainControls {
    explicit MainControls(const QWidget &window) : w(window) {}
    const QWidget &w;
    QLineEdit *Manual = w.findChild<QLineEdit *>("Manual");
    QLineEdit *Total = w.findChild<QLineEdit *>("Total");
    QTextEdit *RichTextBox1 = w.findChild<QTextEdit *>("RichTextBox1");
    QAbstractButton *Send = w.findChild<QAbstractButton *>("Send");
    QAbstractButton *AddItem = w.findChild<QAbstractButton *>("AddItem");
    QAbstractButton *RemoveItem = w.findChild<QAbstractButton *>("RemoveItem");
    QAbstractButton *ResetList = w.findChild<QAbstractButton *>("ResetList");
    QAbstractButton *ToAll = w.findChild<QAbstractButton *>("ToAll");
    QAbstractButton *ToLocalGroup = w.findChild<QAbstractButton *>("ToLocalGroup");
    QAbstractButton *ResetMessage = w.findChild<QAbstractButton *>("ResetMessage");
    QTreeView *tvwNetwork = w.findChild<QTreeView *>("tvwNetwork");
    QListView *List1 = w.findChild<QListView *>("List1");
    QLabel *Length = w.findChild<QLabel *>("Length");
    QLabel *Latinica = w.findChild<QLabel *>("Latinica");
    QLabel *Pomoc = w.findChild<QLabel *>("Pomoc");
    QLabel *Label2 = w.findChild<QLabel *>("Label2");
    QWidget *Line1 = w.findChild<QWidget *>("Line1");
    QTimer *Timer1 = w.findChild<QTimer *>("Timer1");
    NetworkTree &nodes = dynamic_cast<NetworkTree &>(*tvwNetwork->model());
    RecipientList &recipients = dynamic_cast<RecipientList &>(*List1->model());

    QString messageText() const { return typedText(*RichTextBox1->document()); }
    QStringList entries() const { return recipients.entries(); }
    QModelIndex node(const QString &key) const { return nodes.find(key); }
    // A node as "tag:child,child" ("none" when it is not in the tree).
    QString state(const QString &key) const
    {
        const QModelIndex n = node(key);
        if (!n.isValid())
            return QStringLiteral("none");
        QStringList children;
        for (int i = 0; i < nodes.rowCount(n); ++i)
            children << nodes.index(i, 0, n).data().toString();
        return nodes.nodeAt(n)->tag() + ':' + children.join(',');
    }
};
