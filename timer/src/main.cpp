// Tempral: a countdown timer that switches a load through the RTS line of a
// serial port.
#include "inisettingsstore.h"
#include "messageboxes.h"
#include "pulsebeeper.h"
#include "qtserialline.h"
#include "tempralapp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tempral");
    QApplication::setApplicationVersion("0.5");

    QtSerialLine line;
    IniSettingsStore settings(IniSettingsStore::userFileName());
    PulseBeeper beeper;
    QtMessageBoxes boxes;
    return runTempral(app, {line, settings, beeper, boxes});
}
