#pragma once

#include "platform/networkprovider.h"

#include <QList>
#include <QString>

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

    // The groups of a list file's text, in file order; malformed lines left out.
    static QList<Group> parse(const QString &text);
    // A NetBIOS name as the delivery helper takes it (see netbiosname.h).
    static bool isValidName(const QString &name);

    // The file's groups plus this computer in its own group (once).
    QList<Group> groups() const;

    std::optional<QList<NetRecord>> list(const NetRecord *parent) override;
    bool opensAsDirectory(const QString &) override { return false; }

private:
    QString groupRemote(const QString &group) const;

    QString m_path;
    QString m_provider;
    QString m_ownName;
    QString m_ownGroup;
};
