// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the window in three states into PNG files:
//   tempral_screenshots FOLDER
// tempral-stopped.png (stopped, load off), tempral-counting.png (counting,
// minutes shown), tempral-on.png (load on without limit).
#include "fakes.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

static bool save(Form1 *form, const QString &folder, const QString &name)
{
    QCoreApplication::processEvents();
    return form->grab().save(QDir(folder).filePath(name));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
    bool ok = true;
    {
        Rig rig({{"Pamti Zadato Vreme", "DA"}, {"Zadato Vreme", "125"}});
        ok &= save(&rig.form, folder, "tempral-stopped.png");
        rig.form.btnPokreniTClick();
        rig.form.timer1Tick();
        ok &= save(&rig.form, folder, "tempral-counting.png");
    }
    {
        Rig rig;
        rig.form.btnIskljuciClick();
        ok &= save(&rig.form, folder, "tempral-on.png");
    }
    return ok ? 0 : 1;
}
