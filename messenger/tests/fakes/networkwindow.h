// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakemessageboxes.h"
#include "maincontrols.h"
#include "platform/networkprovider.h"
#include "recordinglauncher.h"
#include "window/frmnwcheck.h"

#include <QElapsedTimer>
#include <memory>

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

    std::unique_ptr<NetworkProvider> network;
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;
    frmNWCheck window;
    const MainControls c{window};
};
