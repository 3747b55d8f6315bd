#include "TextHelpers.h"

#include <QByteArray>

namespace GetPostByXmlHttp {

QString UrlEncodeUtf8(QStringView text)
{
    if (text.isEmpty())
        return {};
    const QByteArray utf8 = text.toUtf8();
    static constexpr char16_t hexDigits[] = u"0123456789ABCDEF";

    // Every byte escapes, so the size is known up front and no per-byte class test is needed.
    QString encoded(utf8.size() * 3, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(encoded.data());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = u'%';
        *out++ = hexDigits[byte >> 4];
        *out++ = hexDigits[byte & 0x0F];
    }
    return encoded;
}

QString TextBetween(QStringView text, QStringView startMarker, QStringView endMarker)
{
    const qsizetype startAt = text.indexOf(startMarker);
    if (startAt < 0)
        return {};
    const qsizetype contentStart = startAt + startMarker.size();
    const qsizetype endAt = text.indexOf(endMarker, contentStart);
    if (endAt < 0)
        return {};
    return text.sliced(contentStart, endAt - contentStart).toString();
}

} // namespace GetPostByXmlHttp
