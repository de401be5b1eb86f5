// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// One network resource as the listing reports it: the four numbers and the
// four texts of the classic network-resource record, in their usual order.
struct NetRecord {
    quint32 scope = 0;
    quint32 type = 0;
    quint32 displayType = 0;
    quint32 usage = 0;
    QString localName;
    QString remoteName;
    QString comment;
    QString provider;
};

// Values of the record's numbers used by the back ends.
namespace NetScope
{
inline constexpr quint32 GlobalNet = 2;
}
namespace NetType
{
inline constexpr quint32 Any = 0;
inline constexpr quint32 Disk = 1;
} // namespace NetType
namespace NetUsage
{
inline constexpr quint32 Connectable = 1;
inline constexpr quint32 Container = 2;
} // namespace NetUsage
namespace NetDisplay
{
inline constexpr quint32 Generic = 0;
inline constexpr quint32 Domain = 1;
inline constexpr quint32 Server = 2;
inline constexpr quint32 Share = 3;
inline constexpr quint32 File = 4;
inline constexpr quint32 Group = 5;
inline constexpr quint32 Network = 6;
inline constexpr quint32 Root = 7;
inline constexpr quint32 ShareAdmin = 8;
inline constexpr quint32 Directory = 9;
inline constexpr quint32 Tree = 10;
inline constexpr quint32 NdsContainer = 11;
} // namespace NetDisplay
