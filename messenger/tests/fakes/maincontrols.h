// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/networktree.h"
#include "model/recipientlist.h"
#include "widgets/cappedtextedit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QTreeView>

// The main window's controls, found by their names as assistive tools and
// testers find them, and the models its views show.
struct MainControls {
    explicit MainControls(const QWidget &window) : w(window) {}
    template <class T> T *named(const char *name) const
    {
        return w.findChild<T *>(QLatin1String(name));
    }
    const QWidget &w;
    QLineEdit *Manual = named<QLineEdit>("Manual");
    QLineEdit *Total = named<QLineEdit>("Total");
    QTextEdit *RichTextBox1 = named<QTextEdit>("RichTextBox1");
    QAbstractButton *Send = named<QAbstractButton>("Send");
    QAbstractButton *AddItem = named<QAbstractButton>("AddItem");
    QAbstractButton *RemoveItem = named<QAbstractButton>("RemoveItem");
    QAbstractButton *ResetList = named<QAbstractButton>("ResetList");
    QAbstractButton *ToAll = named<QAbstractButton>("ToAll");
    QAbstractButton *ToLocalGroup = named<QAbstractButton>("ToLocalGroup");
    QAbstractButton *ResetMessage = named<QAbstractButton>("ResetMessage");
    QTreeView *tvwNetwork = named<QTreeView>("tvwNetwork");
    QListView *List1 = named<QListView>("List1");
    QLabel *Length = named<QLabel>("Length");
    QLabel *Latinica = named<QLabel>("Latinica");
    QLabel *Pomoc = named<QLabel>("Pomoc");
    QLabel *Label2 = named<QLabel>("Label2");
    QWidget *Line1 = named<QWidget>("Line1");
    QTimer *Timer1 = named<QTimer>("Timer1");
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
