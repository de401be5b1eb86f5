// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/codepage.h"

#include <QString>
#include <optional>

// NetBIOS computer names as the helper accepts them: 1 to 15 bytes in the
// code page of the messages, none of \ / : * ? " < > | + = ; , a blank or a
// control character, and not starting with "-" or "." (so a name can never
// be taken for an option or a path).
namespace NetbiosName
{

// The name in upper case when it follows the rules; otherwise std::nullopt
// and, when given, *why says which rule it breaks.
std::optional<QString> normalized(const QString &name, const CodePage &codePage,
                                  QString *why = nullptr);

// The same for this computer's own name, which smbclient also reads as a
// user name: "%" and "@" would split it there, so they are refused as well.
std::optional<QString> normalizedSender(const QString &name, const CodePage &codePage,
                                        QString *why = nullptr);

} // namespace NetbiosName
