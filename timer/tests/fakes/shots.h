// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakes.h"

// The window in the states that the screenshots in docs/ show, by the names
// of their files: tempral-created.png (as created, before the load step),
// tempral-stopped.png (loaded with a period of 125 s), tempral-counting.png
// (its first tick), tempral-on.png (the load on without limit).
inline QMap<QString, QImage> tempralShots()
{
    QApplication::setCursorFlashTime(0); // the cursor shows, not blinking
    const auto drawn = [](Rig &rig) {
        QCoreApplication::processEvents();
        return rig.form.grab().toImage();
    };
    QMap<QString, QImage> shots;
    {
        Fakes fakes;
        shots["tempral-created.png"] = Form1(fakes, fakes, fakes, fakes).grab().toImage();
    }
    {
        Rig rig({{"Pamti Zadato Vreme", "DA"}, {"Zadato Vreme", "125"}});
        shots["tempral-stopped.png"] = drawn(rig);
        rig.btnPokreniT->click();
        rig.tick();
        shots["tempral-counting.png"] = drawn(rig);
    }
    Rig rig;
    rig.btnIskljuci->click();
    shots["tempral-on.png"] = drawn(rig);
    return shots;
}
