// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "recordinglauncher.h"
#include "widgets/netnode.h"
#include "window/frmnwcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

// A main window over fakes. The default network: provider "SMB" with the
// workgroups RADNAGRUPA (PC-01, PC-02) and DRUGA (PC-03).
struct WindowFixture {
    FakeNetwork net;
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;
    std::unique_ptr<frmNWCheck> window;

    static void addDefaultNetwork(FakeNetwork &net)
    {
        net.add("", "SMB", NetDisplay::Network);
        net.add("SMB", "RADNAGRUPA", NetDisplay::Domain);
        net.add("SMB", "DRUGA", NetDisplay::Domain);
        net.add("RADNAGRUPA", "\\\\PC-01", NetDisplay::Server);
        net.add("RADNAGRUPA", "\\\\PC-02", NetDisplay::Server);
        net.add("DRUGA", "\\\\PC-03", NetDisplay::Server);
    }

    // Builds the window and runs its load step (and the activate step).
    frmNWCheck &make(const QStringList &arguments = {}, bool activate = true)
    {
        window = std::make_unique<frmNWCheck>(net, launcher, boxes, arguments);
        window->Form_Load();
        if (activate)
            window->Form_Activate();
        return *window;
    }

    // Shows the window and waits until it is active, for focus tests.
    bool showActive()
    {
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }

    QTreeWidgetItem *node(const QString &key) const { return window->nodes.find(key); }
    QStringList entries() const
    {
        QStringList e;
        for (int i = 0; i < window->List1->count(); ++i)
            e.append(window->List1->item(i)->text());
        return e;
    }
    QStringList childTexts(const QString &key) const
    {
        QStringList texts;
        for (int i = 0; node(key) && i < node(key)->childCount(); ++i)
            texts.append(node(key)->child(i)->text(0));
        return texts;
    }
};
