// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

// A DOS code page as smbclient names it ("CP1250"), checked through the
// system's converter (CharsetConverter):
// whether a text can be carried in it and how many bytes it takes there.
class CodePage
{
public:
    // Only names of letters, digits, "_" and "-", 1 to 20 long, are taken,
    // so that the name can never widen the smbclient option it goes into.
    static bool isAcceptableName(const QString &name);

    // The name of the code page messages travel in: $VESNAL_CODEPAGE when
    // set, else CP852, the OEM code page of Central European Windows, which
    // the messenger protocol carries texts in.
    static QString messageCodePageName();

    // The code page `name`, or std::nullopt when the name is not acceptable
    // or the system does not know it.
    static std::optional<CodePage> byName(const QString &name);

    QString name() const { return m_name; }

    // The text in this code page, or std::nullopt when a character of it has
    // no place there (then *firstMissing, when given, is that character).
    // Copies share one converter, which one call at a time uses.
    std::optional<QByteArray> encode(const QString &text, QString *firstMissing = nullptr) const;

    // Bytes in this code page (a name a computer tells) as text; nothing
    // when they are not of it.
    std::optional<QString> decode(const QByteArray &bytes) const;

private:
    class Converter;
    CodePage(const QString &name, std::shared_ptr<Converter> converter);
    QString m_name;
    std::shared_ptr<Converter> m_converter;
};
