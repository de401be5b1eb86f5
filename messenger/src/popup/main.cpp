// SPDX-License-Identifier: GPL-3.0-or-later
// vesnal-popup: shows the messages this computer receives, one window per
// message, to the user of a desktop session. Started with the session (XDG
// autostart); one per user, a second one ends at once.
#include "popup/popupagent.h"
#include "popup/sessionlock.h"
#include "popup/shownstate.h"
#include "receiver/spool.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char **argv)
{
    QTextStream err(stderr);
    const QString stateFile = ShownState::defaultPath();
    QString why;
    // Before the display is opened: a second agent costs nothing.
    switch (SessionLock::take(SessionLock::defaultPath(stateFile), &why)) {
    case SessionLock::Result::Held:
        break;
    case SessionLock::Result::TakenByOther:
        err << "vesnal-popup: already running for this user" << Qt::endl;
        return 0;
    case SessionLock::Result::Unavailable:
        // Messages shown twice are better than none shown.
        err << "vesnal-popup: cannot make sure it runs once (" << why << "); going on" << Qt::endl;
        break;
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ShownState shown(stateFile);
    PopupAgent agent(Spool::defaultPath(), shown);
    agent.start();
    return app.exec();
}
