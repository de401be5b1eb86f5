// SPDX-License-Identifier: GPL-3.0-or-later
// vesnal-popup: shows the messages this computer receives to the user of a
// desktop session: a popup per message, or one list when many wait. Started
// with the session (XDG autostart); one per user. A second start (or
// "vesnal-popup --list") makes the running one show its list and ends.
// "vesnal-popup --play-sound" is the agent's own child that plays the
// arrival sound (see ThemeSound).
#include "platform/requestsignal.h"
#include "popup/arrivalsound.h"
#include "popup/popupagent.h"
#include "popup/sessionlock.h"
#include "popup/shownstate.h"
#include "receiver/spool.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--play-sound") == 0)
        std::_Exit(ThemeSound::playHere()); // the sound system's threads may still wait
    QTextStream err(stderr);
    const bool list = argc == 2 && std::strcmp(argv[1], "--list") == 0;
    if (argc > 1 && !list) {
        err << "usage: vesnal-popup [--list]" << Qt::endl;
        return 2;
    }
    const QString stateFile = ShownState::defaultPath();
    const QString lockFile = SessionLock::defaultPath(stateFile);
    // A second start asks this agent to show its list: listening before the
    // lock gives this process's id out.
    RequestSignal requests;
    QString why;
    // Before the display is opened: a second agent costs nothing.
    switch (SessionLock::take(lockFile, &why)) {
    case SessionLock::Result::Held:
        break;
    case SessionLock::Result::TakenByOther:
        if (!RequestSignal::send(SessionLock::holder(lockFile))) {
            err << "vesnal-popup: already running for this user" << Qt::endl;
            return 0;
        }
        err << "vesnal-popup: already running for this user; it shows its list" << Qt::endl;
        return 0;
    case SessionLock::Result::Unavailable:
        // Messages shown twice are better than none shown.
        err << "vesnal-popup: cannot make sure it runs once (" << why << "); going on" << Qt::endl;
        break;
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ShownState shown(stateFile);
    ThemeSound sound(QCoreApplication::applicationFilePath());
    PopupAgent::Options options;
    options.playSound = [&sound] { sound.play(); };
    options.bus = QDBusConnection::sessionBus();
    PopupAgent agent(Spool::defaultPath(), shown, options);
    QObject::connect(&requests, &RequestSignal::requested, &agent, [&] { agent.showList(true); });
    requests.listen();
    agent.start();
    if (list)
        agent.showList(true);
    return app.exec();
}
