// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/staticlistbackend.h"

#include "net/caseblindname.h"
#include "net/netbiosname.h"
#include "platform/utf8.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

using Group = StaticListBackend::Group;
using Computer = StaticListBackend::Computer;

namespace
{

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

// Drops every computer named a second time in its group (names compare
// without regard to case), keeping the first. The names' hashes are sorted
// so that equal names meet: in a large list that is far cheaper than
// probing a table per name, which costs a cache miss each.
void dropRepeatedNames(QList<Group> &groups)
{
    // A name's hash, and its group and position as one number, so that
    // the sort leaves each group's equal names in file order.
    struct Key {
        size_t hash;
        quint64 at;
        bool operator<(const Key &o) const { return hash != o.hash ? hash < o.hash : at < o.at; }
        qsizetype group() const { return qsizetype(at >> 32); }
        qsizetype position() const { return qsizetype(at & 0xffffffff); }
    };
    std::vector<Key> keys;
    for (qsizetype g = 0; g < groups.size(); ++g)
        for (qsizetype p = 0; p < groups[g].computers.size(); ++p)
            keys.push_back(
                {CaseBlindName(groups[g].computers[p].name).hash, quint64(g) << 32 | quint64(p)});
    std::sort(keys.begin(), keys.end());

    std::vector<std::vector<bool>> repeated(size_t(groups.size()));
    bool any = false;
    for (size_t run = 0; run < keys.size();) {
        size_t end = run + 1;
        while (end < keys.size() && keys[end].hash == keys[run].hash)
            ++end;
        // Equal hashes: a name equal to an earlier one of its group repeats it.
        for (size_t i = run + 1; i < end; ++i) {
            const qsizetype g = keys[i].group();
            const QList<Computer> &computers = groups[g].computers;
            const QString &name = computers[keys[i].position()].name;
            for (size_t j = run; j < i; ++j)
                if (keys[j].group() == g &&
                    computers[keys[j].position()].name.compare(name, Qt::CaseInsensitive) == 0) {
                    auto &marks = repeated[size_t(g)];
                    marks.resize(size_t(computers.size()));
                    marks[size_t(keys[i].position())] = true;
                    any = true;
                    break;
                }
        }
        run = end;
    }
    if (!any)
        return;
    for (qsizetype g = 0; g < groups.size(); ++g) {
        const auto &marks = repeated[size_t(g)];
        if (marks.empty())
            continue;
        QList<Computer> kept;
        for (qsizetype p = 0; p < groups[g].computers.size(); ++p)
            if (!marks[size_t(p)])
                kept.append(groups[g].computers[p]);
        groups[g].computers = kept;
    }
}

// Said once per state of the file, on standard error: the list is the
// user's own file, and nothing else would tell why it shows nothing.
void complain(const QString &path, const QString &why)
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    std::fprintf(stderr, "%s: %s: %s\n", qPrintable(program), qPrintable(path), qPrintable(why));
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
    static const std::optional<CodePage> codePage =
        CodePage::byName(CodePage::messageCodePageName());
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
    // The groups' positions by name.
    QHash<CaseBlindName, qsizetype> groupAt;
    qsizetype current = -1;
    const QStringView all(text);
    for (qsizetype start = 0; start <= all.size();) {
        qsizetype stop = all.indexOf(QLatin1Char('\n'), start);
        if (stop < 0)
            stop = all.size();
        const QStringView line = all.mid(start, stop - start).trimmed();
        start = stop + 1;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            current = -1;
            if (!line.endsWith(QLatin1Char(']')))
                continue;
            const QString name = line.mid(1, line.size() - 2).trimmed().toString();
            if (!isValidName(name))
                continue;
            const CaseBlindName key(name);
            current = groupAt.value(key, -1);
            if (current < 0) {
                current = groups.size();
                groupAt.insert(key, current);
                groups.append(Group{name, {}});
            }
            continue;
        }
        if (current < 0)
            continue;
        qsizetype blank = 0;
        while (blank < line.size() && !line.at(blank).isSpace())
            ++blank;
        const QString name = line.left(blank).toString();
        if (!isValidName(name))
            continue;
        groups[current].computers.append(Computer{name, line.mid(blank).trimmed().toString()});
    }
    dropRepeatedNames(groups);
    return groups;
}

QList<Group> StaticListBackend::readFile() const
{
    QFile file(m_path);
    if (!file.exists())
        return {}; // no file: nothing from it
    // Only a plain file: a pipe or a device could keep the read waiting.
    if (!QFileInfo(m_path).isFile()) {
        complain(m_path, QStringLiteral("not a plain file; its computers are not listed"));
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        complain(m_path, file.errorString());
        return {};
    }
    // A file cut short would list half a workgroup as if it were all of it.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) {
        complain(m_path, QStringLiteral("larger than %1 MiB; its computers are not listed")
                             .arg(MaxFileBytes >> 20));
        return {};
    }
    // A leading byte-order mark (an editor's signature) is not part of a name.
    QString text = decodeUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return parse(text);
}

const StaticListBackend::Listed &StaticListBackend::current() const
{
    // Read again only when the file changed, so that listing each of many
    // workgroups does not read a large file once per workgroup. (An edit
    // that keeps the size within the same millisecond goes unseen until the
    // next one.)
    const QFileInfo info(m_path);
    const QString stamp = QStringLiteral("%1 %2 %3 %4")
                              .arg(info.exists())
                              .arg(info.size())
                              .arg(info.lastModified().toMSecsSinceEpoch())
                              .arg(info.metadataChangeTime().toMSecsSinceEpoch());
    if (m_listed && m_listed->stamp == stamp)
        return *m_listed;

    Listed listed{stamp, readFile(), {}};
    for (qsizetype i = 0; i < listed.groups.size(); ++i)
        listed.at.insert(CaseBlindName(listed.groups[i].name), i);
    if (isValidName(m_ownName) && isValidName(m_ownGroup)) {
        qsizetype own = listed.at.value(CaseBlindName(m_ownGroup), -1);
        if (own < 0) {
            own = listed.groups.size();
            listed.at.insert(CaseBlindName(m_ownGroup), own);
            listed.groups.append(Group{m_ownGroup, {}});
        }
        if (!hasComputer(listed.groups[own], m_ownName))
            listed.groups[own].computers.append(Computer{m_ownName, QString()});
    }
    m_listed = std::move(listed);
    return *m_listed;
}

QList<Group> StaticListBackend::groups() const
{
    return current().groups;
}

QString StaticListBackend::groupRemote(const QString &group) const
{
    return m_provider + QLatin1Char('\\') + group;
}

NetListing StaticListBackend::enumerate(const NetRecord *parent)
{
    QList<NetRecord> children;
    if (!parent) {
        for (const auto &g : groups())
            children.append(record(NetDisplay::Domain, groupRemote(g.name), QString()));
        return NetListing::listed(children);
    }
    if (parent->displayType == NetDisplay::Server)
        return NetListing::listed(children);
    const QString prefix = m_provider + QLatin1Char('\\');
    if (parent->displayType != NetDisplay::Domain || !parent->remoteName.startsWith(prefix))
        return NetListing::refused();
    const Listed &listed = current();
    const qsizetype at = listed.at.value(CaseBlindName(parent->remoteName.mid(prefix.size())), -1);
    if (at < 0)
        return NetListing::refused(); // the file changed since the top was listed
    const Group *group = &listed.groups[at];
    children.reserve(group->computers.size());
    const QString qualified = groupRemote(group->name) + QStringLiteral("\\\\");
    for (const auto &c : group->computers)
        children.append(record(NetDisplay::Server, qualified + c.name, c.comment));
    return NetListing::listed(children);
}
