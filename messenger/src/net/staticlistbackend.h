// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/caseblindname.h"
#include "platform/networkprovider.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// Workgroups and computers read from a text file the user edits, for
// networks where browsing is switched off. This computer is always listed
// in its own workgroup, so a first run shows something useful.
class StaticListBackend : public NetworkProvider
{
public:
    struct Computer {
        QString name;
        QString comment;
    };
    struct Group {
        QString name;
        QList<Computer> computers;
    };

    // `provider` qualifies the remote names, so they never meet those of
    // another back end in the tree: a workgroup is "<provider>\GROUP", a
    // computer "<provider>\GROUP\\NAME".
    StaticListBackend(const QString &path, const QString &provider, const QString &ownName,
                      const QString &ownGroup);

    // ~/.config/Vesnal/mreza.txt (the user's config folder).
    static QString defaultPath();
    // The largest file read; a larger one is refused whole.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

    // The groups of a list file's text, in file order; malformed lines left
    // out. Takes time in proportion to the text.
    static QList<Group> parse(const QString &text);
    // A NetBIOS name as the delivery helper takes it (see netbiosname.h).
    static bool isValidName(const QString &name);

    // The file's groups plus this computer in its own group (once).
    QList<Group> groups() const;

    NetListing enumerate(const NetRecord *parent) override;
    bool opensAsDirectory(const QString &) override { return false; }

private:
    // The groups as last read, with their positions by name.
    struct Listed {
        QString stamp; // the file's size and time stamps when it was read
        QList<Group> groups;
        QHash<CaseBlindName, qsizetype> at;
    };
    QString groupRemote(const QString &group) const;
    QList<Group> readFile() const;
    const Listed &current() const;

    QString m_path;
    QString m_provider;
    QString m_ownName;
    QString m_ownGroup;
    mutable std::optional<Listed> m_listed;
};
