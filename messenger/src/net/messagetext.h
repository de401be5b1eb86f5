// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/codepage.h"
#include "platform/deliveryreason.h"

#include <QString>
#include <optional>

// The checks a text passes before it is handed to smbclient, which reads at
// most 1598 bytes of it (each line break counted twice, as it turns into
// CR LF) and silently drops the rest; the receiver then converts from its
// code page, so a character without a place there would spoil the whole
// text. Both are refused here instead.
namespace MessageText
{

inline constexpr qsizetype SmbclientBufferBytes = 1598;

// The bytes smbclient's buffer takes for `text`.
qsizetype bufferBytes(const QString &text);

// Why `text` cannot be sent whole in `codePage` (a reason without its
// recipient), or std::nullopt when it can. An empty text is refused (the
// receiver would show a stray character); a text of blanks is sent as it is.
std::optional<DeliveryReason> problem(const QString &text, const CodePage &codePage);

} // namespace MessageText
