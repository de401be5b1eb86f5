// SPDX-License-Identifier: GPL-3.0-or-later
// CharsetConverter through iconv.
#include "platform/charsetconverter.h"

#include <iconv.h>

namespace
{

const auto Invalid = reinterpret_cast<iconv_t>(-1);

} // namespace

CharsetConverter::CharsetConverter(const QString &to, const QString &from)
    : m_handle(iconv_open(to.toLatin1().constData(), from.toLatin1().constData()))
{
}

CharsetConverter::~CharsetConverter()
{
    if (isValid())
        iconv_close(m_handle);
}

bool CharsetConverter::isValid() const
{
    return m_handle != Invalid;
}

std::optional<QByteArray> CharsetConverter::convert(const QByteArray &in, qsizetype *converted)
{
    iconv(m_handle, nullptr, nullptr, nullptr, nullptr); // a fresh start
    // Every code page that can name a NetBIOS character set takes at most
    // four bytes for one UTF-8 byte, and UTF-8 at most four for one of theirs.
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    // iconv only reads the input, though its signature takes it writable:
    // no copy of it per call.
    char *inPtr = const_cast<char *>(in.constData());
    size_t inLeft = size_t(in.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            if (converted)
                *converted = inPtr - in.constData();
            return std::nullopt;
        }
    }
    // Flush any shift state (nothing for single-byte code pages).
    iconv(m_handle, nullptr, nullptr, &outPtr, &outLeft);
    out.truncate(outPtr - out.constData());
    return out;
}
