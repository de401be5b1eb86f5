// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakemessageboxes.h"
#include "platform/networkprovider.h"
#include "recordinglauncher.h"
#include "window/frmnwcheck.h"

#include <QElapsedTimer>
#include <memory>

// A node as "tag:child,child" ("none" when it is not in the tree).
inline QString nodeState(const frmNWCheck &window, const QString &key)
{
    const QModelIndex n = window.nodes.find(key);
    if (!n.isValid())
        return QStringLiteral("none");
    QStringList children;
    for (int i = 0; i < window.nodes.rowCount(n); ++i)
        children << window.nodes.index(i, 0, n).data().toString();
    return window.nodes.nodeAt(n)->tag() + ':' + children.join(',');
}

// A main window over a network of the test's choosing (a real one, or one
// of real children), with fakes for the launcher and the message boxes.
struct NetworkWindow {
    explicit NetworkWindow(std::unique_ptr<NetworkProvider> net)
        : network(std::move(net)), window(*network, launcher, boxes, {})
    {
    }

    // The load step and the first activation; the milliseconds they took.
    qint64 loadAndActivate()
    {
        QElapsedTimer clock;
        clock.start();
        window.Form_Load();
        window.Form_Activate();
        return clock.elapsed();
    }

    QModelIndex node(const QString &key) const { return window.nodes.find(key); }
    QString state(const QString &key) const { return nodeState(window, key); }

    std::unique_ptr<NetworkProvider> network;
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;
    frmNWCheck window;
};
