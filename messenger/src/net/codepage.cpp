// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/codepage.h"
#include "platform/utf8.h"

#include <QRegularExpression>
#include <cerrno>
#include <iconv.h>
#include <mutex>

// One iconv conversion from UTF-8; closed when it goes out of scope. Opening
// one costs more than converting a name, so a code page keeps its own.
class CodePage::Converter
{
public:
    Converter(const QString &to, const QString &from = QStringLiteral("UTF-8"))
        : m_cd(iconv_open(to.toLatin1().constData(), from.toLatin1().constData()))
    {
    }
    ~Converter()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }
    std::mutex mutex; // iconv keeps state between calls

private:
    iconv_t m_cd;
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
    if (!converter->ok())
        return std::nullopt;
    return CodePage(name, std::move(converter));
}

std::optional<QByteArray> CodePage::encode(const QString &text, QString *firstMissing) const
{
    Converter &converter = *m_converter;
    const std::lock_guard lock(converter.mutex);
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr); // a fresh start
    QByteArray in = text.toUtf8();
    // Every code page that can name a NetBIOS character set takes at most
    // four bytes for one UTF-8 byte; usually exactly one or fewer.
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char *inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(converter.get(), &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            if (firstMissing) {
                const qsizetype done = inPtr - in.constData();
                const QString rest = decodeUtf8(QByteArrayView(in).sliced(done));
                *firstMissing = rest.isEmpty() ? QString() : QString(rest.at(0));
                if (!rest.isEmpty() && rest.at(0).isHighSurrogate() && rest.size() > 1)
                    *firstMissing = rest.left(2);
            }
            return std::nullopt;
        }
    }
    // Flush any shift state (no-op for single-byte code pages).
    iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft);
    out.truncate(outPtr - out.constData());
    return out;
}

std::optional<QString> CodePage::decode(const QByteArray &bytes) const
{
    Converter back(QStringLiteral("UTF-8"), m_name); // rarely needed: made each time
    if (!back.ok())
        return std::nullopt;
    QByteArray in = bytes;
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char *inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    if (iconv(back.get(), &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1))
        return std::nullopt;
    out.truncate(outPtr - out.constData());
    return decodeUtf8(out);
}
