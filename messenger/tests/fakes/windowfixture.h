// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakenetwork.h"
#include "networkwindow.h"

#include <QTest>
#include <QtWidgets>

// A main window over fakes. The default network: provider "SMB" with the
// workgroups RADNAGRUPA (PC-01, PC-02) and DRUGA (PC-03).
struct WindowFixture {
    FakeNetwork net;
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;
    std::unique_ptr<frmNWCheck> window;

    explicit WindowFixture(bool defaultNetwork = true)
    {
        if (!defaultNetwork)
            return;
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

    MainControls controls() const { return MainControls(*window); }
    QModelIndex node(const QString &key) const { return controls().node(key); }
    QString state(const QString &key) const { return controls().state(key); }
    // The states of several nodes, blank apart.
    QString states(const QStringList &keys) const
    {
        QStringList all;
        for (const QString &key : keys)
            all << state(key);
        return all.join(' ');
    }
    // Selects a node and clicks ">".
    void pick(const QString &key) const
    {
        controls().tvwNetwork->setCurrentIndex(node(key));
        controls().AddItem->click();
    }
};
