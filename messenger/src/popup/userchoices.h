// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSet>
#include <QString>

// What one user chose about received messages, kept in the user's state
// folder beside the shown state ($XDG_STATE_HOME/vesnal/choices):
//
//   Vesnal-Choices: 1
//   Sound: off
//   Muted: PC_02
//
// A sender is muted by the name the list shows (upper case). The name is
// what the user sees and picks, and it stays when a computer gets another
// address from DHCP (an address can also pass to another computer, which
// would then be muted in its place); one that changes its name to get
// through is held back by the receiver's limits, not by muting.
class UserChoices : public QObject
{
    Q_OBJECT
public:
    explicit UserChoices(const QString &file);

    // The file beside `shownFile` (ShownState::defaultPath()).
    static QString defaultPath(const QString &shownFile);

    bool isMuted(const QString &sender) const { return m_muted.contains(sender.toUpper()); }
    const QSet<QString> &muted() const { return m_muted; }
    bool sound() const { return m_sound; }

    // Each saves the file at once; a failure is told on stderr once.
    void setMuted(const QString &sender, bool muted);
    void setSound(bool on);

signals:
    void changed();

private:
    void save();

    QString m_file;
    QSet<QString> m_muted;
    bool m_sound = true;
    bool m_saveFailed = false;
};
