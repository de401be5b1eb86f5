// SPDX-License-Identifier: GPL-3.0-or-later
#include "tempralapp.h"

#include "platform/signalwatcher.h"
#include "window/form1.h"

#include <QApplication>
#include <QScreen>

int runTempral(QApplication &app, TempralPlatform platform,
               const std::function<void(Form1 &)> &ready)
{
    // Watch for the signals before anything can switch the load on.
    SignalWatcher watcher;
    Form1 form(platform.line, platform.settings, platform.beeper, platform.boxes);
    int endedBySignal = 0;
    QObject::connect(&watcher, &SignalWatcher::ended, &form, [&](int number) {
        if (endedBySignal)
            return;
        endedBySignal = 128 + number;
        form.endBySignal();
        app.exit(endedBySignal); // leaves any open box as well
    });

    form.load();
    // A request taken while a box of the load step was open has ended that
    // box only: the main loop, which starts afresh, would not know of it.
    if (endedBySignal)
        return endedBySignal;
    if (QScreen *screen = form.screen()) {
        QRect place(QPoint(), form.frameSize());
        place.moveCenter(screen->availableGeometry().center());
        form.move(place.topLeft());
    }
    form.show();
    if (ready)
        QObject::connect(&form, &Form1::firstActivationDone, &form, [&] { ready(form); });
    return app.exec();
}
