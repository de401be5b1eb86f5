#include "net/staticlistbackend.h"

#include "net/netbiosname.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

using Group = StaticListBackend::Group;
using Computer = StaticListBackend::Computer;

namespace
{

// More than any hand-written list; a stray huge file costs no more.
constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

Group *findGroup(QList<Group> &groups, const QString &name)
{
    for (auto &g : groups)
        if (g.name.compare(name, Qt::CaseInsensitive) == 0)
            return &g;
    return nullptr;
}

bool hasComputer(const Group &group, const QString &name)
{
    for (const auto &c : group.computers)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

NetRecord record(quint32 displayType, const QString &remoteName, const QString &comment)
{
    NetRecord r;
    r.scope = NetScope::GlobalNet;
    r.type = NetType::Any;
    r.displayType = displayType;
    r.usage = NetUsage::Container;
    r.remoteName = remoteName;
    r.comment = comment;
    return r;
}

} // namespace

StaticListBackend::StaticListBackend(const QString &path, const QString &provider,
                                     const QString &ownName, const QString &ownGroup)
    : m_path(path), m_provider(provider), m_ownName(ownName), m_ownGroup(ownGroup)
{
}

QString StaticListBackend::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vesnal/mreza.txt");
}

bool StaticListBackend::isValidName(const QString &name)
{
    // The rules the delivery helper applies, in the code page messages go
    // out in, so that every listed computer can also be sent to.
    static const std::optional<CodePage> codePage = [] {
        auto configured = CodePage::byName(qEnvironmentVariable("VESNAL_CODEPAGE"));
        return configured ? configured : CodePage::byName(QStringLiteral("CP1250"));
    }();
    return codePage && NetbiosName::normalized(name, *codePage).has_value();
}

// The list file, one entry a line (UTF-8; blanks around entries ignored):
//
//   # a comment line
//   [RADNAGRUPA]
//   PC-01 Računar u kancelariji
//   PC-02
//
// "[NAME]" starts a workgroup; the non-empty lines after it are its
// computers, each a name and an optional comment after the first blank.
// Lines starting with '#' and empty lines are ignored. Malformed lines are
// skipped: a computer before any workgroup, or a workgroup or computer name
// that breaks the NetBIOS rules of isValidName(). The computers after a
// malformed workgroup line are skipped too, so they never land in the group
// above it. A workgroup named twice is one group; a computer named twice in
// one group is kept once (names compare without regard to letter case).
QList<Group> StaticListBackend::parse(const QString &text)
{
    QList<Group> groups;
    Group *current = nullptr;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            current = nullptr;
            if (!line.endsWith(QLatin1Char(']')))
                continue;
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (!isValidName(name))
                continue;
            current = findGroup(groups, name);
            if (!current) {
                groups.append(Group{name, {}});
                current = &groups.last();
            }
            continue;
        }
        if (!current)
            continue;
        const qsizetype blank = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
        const QString name = blank < 0 ? line : line.left(blank);
        const QString comment = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
        if (!isValidName(name) || hasComputer(*current, name))
            continue;
        current->computers.append(Computer{name, comment});
    }
    return groups;
}

QList<Group> StaticListBackend::groups() const
{
    QList<Group> result;
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly)) {
        QString text = QString::fromUtf8(file.read(MaxFileBytes));
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        result = parse(text);
    }
    if (isValidName(m_ownName) && isValidName(m_ownGroup)) {
        Group *own = findGroup(result, m_ownGroup);
        if (!own) {
            result.append(Group{m_ownGroup, {}});
            own = &result.last();
        }
        if (!hasComputer(*own, m_ownName))
            own->computers.append(Computer{m_ownName, QString()});
    }
    return result;
}

QString StaticListBackend::groupRemote(const QString &group) const
{
    return m_provider + QLatin1Char('\\') + group;
}

std::optional<QList<NetRecord>> StaticListBackend::list(const NetRecord *parent)
{
    QList<NetRecord> children;
    if (!parent) {
        for (const auto &g : groups())
            children.append(record(NetDisplay::Domain, groupRemote(g.name), QString()));
        return children;
    }
    if (parent->displayType == NetDisplay::Server)
        return children;
    const QString prefix = m_provider + QLatin1Char('\\');
    if (parent->displayType != NetDisplay::Domain || !parent->remoteName.startsWith(prefix))
        return std::nullopt;
    const QString name = parent->remoteName.mid(prefix.size());
    auto all = groups();
    const Group *group = findGroup(all, name);
    if (!group)
        return std::nullopt; // the file changed since the top was listed
    for (const auto &c : group->computers)
        children.append(record(NetDisplay::Server,
                               groupRemote(group->name) + QStringLiteral("\\\\") + c.name,
                               c.comment));
    return children;
}
