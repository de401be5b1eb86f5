// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Converts bytes from one character set to another, by the names the
// system knows them by ("CP852", "UTF-8"). Opening a converter costs more
// than converting a name, so callers keep one; one call at a time.
class CharsetConverter
{
public:
    CharsetConverter(const QString &to, const QString &from);
    ~CharsetConverter();
    CharsetConverter(const CharsetConverter &) = delete;
    CharsetConverter &operator=(const CharsetConverter &) = delete;

    // Whether the system knows both character sets.
    bool isValid() const;

    // All of `in`, converted from a fresh start; nothing when a character
    // has no place in the target or the bytes are not of the source (then
    // *converted, when given, is how many bytes of `in` came before it).
    std::optional<QByteArray> convert(const QByteArray &in, qsizetype *converted = nullptr);

private:
    void *m_handle;
};
