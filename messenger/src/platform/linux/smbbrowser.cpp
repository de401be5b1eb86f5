// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/smbbrowser.h"

#include "platform/linux/childpool.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>
#include <QUrl>

namespace
{

// Far more than any browse list; a listing cut at this size is no answer.
constexpr qsizetype OutputLimit = 16 << 20;

// The listing child of one address.
ChildPool::Job listingJob(const QString &program, const QString &url)
{
    return {program, {QStringLiteral("list"), url}, {{}, OutputLimit}};
}

// Listing children started together, one per address, until each is taken.
class PreparedListings : public ListingBatch
{
public:
    PreparedListings(const QString &program, const QList<const NetRecord *> &parents,
                     QDeadlineTimer deadline, int parallel)
    {
        QList<ChildPool::Job> jobs;
        for (const NetRecord *parent : parents) {
            const QString url = SmbBrowser::urlFor(parent ? parent->remoteName : QString());
            if (m_jobOf.contains(url))
                continue;
            m_jobOf.insert(url, jobs.size());
            jobs.append(listingJob(program, url));
        }
        m_pool = std::make_unique<ChildPool>(jobs, deadline, parallel);
    }

    std::optional<NetListing> take(const NetRecord *parent) override
    {
        const QString parentRemote = parent ? parent->remoteName : QString();
        const auto job = m_jobOf.constFind(SmbBrowser::urlFor(parentRemote));
        if (job == m_jobOf.cend())
            return std::nullopt;
        const auto outcome = m_pool->take(*job);
        m_jobOf.erase(job);
        return outcome ? SmbBrowser::listingFrom(*outcome, parentRemote) : NetListing::notAsked();
    }

private:
    std::unique_ptr<ChildPool> m_pool;
    QHash<QString, qsizetype> m_jobOf; // URL → its job in the pool, until taken
};

} // namespace

SmbBrowser::SmbBrowser(const QString &program, std::chrono::milliseconds deadline, int parallel)
    : m_program(program.isEmpty()
                    ? QCoreApplication::applicationDirPath() + QStringLiteral("/vesnal-net")
                    : program),
      m_deadline(deadline), m_parallel(parallel)
{
}

SmbBrowser::~SmbBrowser() = default;

QString SmbBrowser::urlFor(const QString &remoteName)
{
    QString path = remoteName;
    while (path.startsWith(QLatin1Char('\\')))
        path.remove(0, 1);
    QStringList parts;
    for (const QString &part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        parts.append(QString::fromLatin1(QUrl::toPercentEncoding(part)));
    return QStringLiteral("smb://") + parts.join(QLatin1Char('/'));
}

NetRecord SmbBrowser::recordFor(const QString &parentRemote, const ListingFormat::Entry &entry)
{
    using Kind = ListingFormat::Kind;
    NetRecord r;
    r.scope = NetScope::GlobalNet;
    r.type = NetType::Any;
    r.usage = NetUsage::Container;
    r.comment = entry.comment;
    switch (entry.kind) {
    case Kind::Workgroup:
        r.displayType = NetDisplay::Domain;
        r.remoteName = entry.name;
        break;
    case Kind::Server:
        r.displayType = NetDisplay::Server;
        r.remoteName = QStringLiteral("\\\\") + entry.name;
        break;
    case Kind::Share:
        r.displayType =
            entry.name.endsWith(QLatin1Char('$')) ? NetDisplay::ShareAdmin : NetDisplay::Share;
        r.type = NetType::Disk;
        r.usage = NetUsage::Connectable;
        r.remoteName = parentRemote + QLatin1Char('\\') + entry.name;
        break;
    case Kind::Directory:
        r.displayType = NetDisplay::Directory;
        r.type = NetType::Disk;
        r.usage = NetUsage::Connectable | NetUsage::Container;
        r.remoteName = parentRemote + QLatin1Char('\\') + entry.name;
        break;
    }
    return r;
}

NetListing SmbBrowser::listingFrom(const ChildOutcome &outcome, const QString &parentRemote)
{
    if (outcome.exitedWith(ListingFormat::Refused))
        return NetListing::refused();
    if (!outcome.exitedWith(ListingFormat::Listed) || outcome.outCut)
        return NetListing::noAnswer();
    const auto entries = ListingFormat::parse(outcome.out);
    if (!entries)
        return NetListing::noAnswer();
    QList<NetRecord> records;
    records.reserve(entries->size());
    for (const auto &entry : *entries)
        records.append(recordFor(parentRemote, entry));
    return NetListing::listed(records);
}

NetListing SmbBrowser::enumerate(const NetRecord *parent)
{
    const QString parentRemote = parent ? parent->remoteName : QString();
    // The top is "smb://"; workgroups, servers and shares follow the same
    // address scheme, so one kind of child serves every level.
    const ChildPool::Job job = listingJob(m_program, urlFor(parentRemote));
    ChildProcess child(job.program, job.arguments, job.options);
    return listingFrom(child.finish(QDeadlineTimer(m_deadline)), parentRemote);
}

bool SmbBrowser::opensAsDirectory(const QString &remoteName)
{
    // Only a path with a server and a share in it; "smb://" or a server
    // alone would "open" as the browse list.
    if (remoteName.split(QLatin1Char('\\'), Qt::SkipEmptyParts).size() < 2)
        return false;
    ChildProcess child(m_program, {QStringLiteral("probe"), urlFor(remoteName)}, {{}, 4096});
    return child.finish(QDeadlineTimer(m_deadline)).exitedWith(ListingFormat::Listed);
}

std::unique_ptr<ListingBatch> SmbBrowser::listAhead(const QList<const NetRecord *> &parents)
{
    if (parents.isEmpty())
        return nullptr;
    return std::make_unique<PreparedListings>(m_program, parents, QDeadlineTimer(m_deadline),
                                              m_parallel);
}
