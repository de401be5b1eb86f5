// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/codepage.h"
#include "platform/charsetconverter.h"
#include "platform/utf8.h"

#include <QRegularExpression>
#include <mutex>

// A code page's converter from UTF-8, which its copies share, one call at a
// time.
class CodePage::Converter
{
public:
    explicit Converter(const QString &to) : charset(to, QStringLiteral("UTF-8")) {}
    CharsetConverter charset;
    std::mutex mutex;
};

CodePage::CodePage(const QString &name, std::shared_ptr<Converter> converter)
    : m_name(name), m_converter(std::move(converter))
{
}

QString CodePage::messageCodePageName()
{
    return qEnvironmentVariableIsSet("VESNAL_CODEPAGE") ? qEnvironmentVariable("VESNAL_CODEPAGE")
                                                        : QStringLiteral("CP852");
}

bool CodePage::isAcceptableName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]{1,20}$"));
    return pattern.match(name).hasMatch();
}

std::optional<CodePage> CodePage::byName(const QString &name)
{
    if (!isAcceptableName(name))
        return std::nullopt;
    auto converter = std::make_shared<Converter>(name);
    if (!converter->charset.isValid())
        return std::nullopt;
    return CodePage(name, std::move(converter));
}

std::optional<QByteArray> CodePage::encode(const QString &text, QString *firstMissing) const
{
    const QByteArray in = text.toUtf8();
    qsizetype done = 0;
    std::optional<QByteArray> out;
    {
        const std::lock_guard lock(m_converter->mutex);
        out = m_converter->charset.convert(in, &done);
    }
    if (!out && firstMissing) {
        const QString rest = decodeUtf8(QByteArrayView(in).sliced(done));
        *firstMissing = rest.isEmpty() ? QString() : QString(rest.at(0));
        if (!rest.isEmpty() && rest.at(0).isHighSurrogate() && rest.size() > 1)
            *firstMissing = rest.left(2);
    }
    return out;
}

std::optional<QString> CodePage::decode(const QByteArray &bytes) const
{
    CharsetConverter back(QStringLiteral("UTF-8"), m_name); // rarely needed: made each time
    if (!back.isValid())
        return std::nullopt;
    const auto out = back.convert(bytes);
    return out ? std::optional(decodeUtf8(*out)) : std::nullopt;
}
