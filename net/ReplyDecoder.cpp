#include "ReplyDecoder.h"

#include "Inflate.h"

#include <QByteArrayList>
#include <QStringDecoder>

#include <zlib.h>

using namespace Qt::StringLiterals;

namespace GetPostByXmlHttp {

namespace {

// A zlib stream opens with two bytes whose first names deflate and whose big-endian value
// is a multiple of 31; servers label both it and a bare deflate stream "deflate".
bool hasZlibHeader(const QByteArray &data)
{
    if (data.size() < 2)
        return false;
    const auto cmf = static_cast<unsigned char>(data[0]);
    const auto flg = static_cast<unsigned char>(data[1]);
    return (cmf & 0x0F) == Z_DEFLATED && (cmf * 256 + flg) % 31 == 0;
}

std::optional<QByteArray> undoCoding(const QByteArray &coding, const QByteArray &data,
                                     qsizetype maxBytes)
{
    if (coding == "identity")
        return data;
    if (coding == "gzip" || coding == "x-gzip")
        return Inflate(data, ZlibFormat::Gzip, maxBytes);
    if (coding == "deflate") {
        if (hasZlibHeader(data)) {
            if (auto inflated = Inflate(data, ZlibFormat::Zlib, maxBytes))
                return inflated;
        }
        return Inflate(data, ZlibFormat::RawDeflate, maxBytes);
    }
    return std::nullopt;
}

std::optional<QByteArray> decompress(const QByteArray &raw, const QByteArray &contentEncoding,
                                     qsizetype maxBytes)
{
    if (raw.isEmpty())
        return raw;
    QByteArrayList codings;
    for (const QByteArray &coding : contentEncoding.split(',')) {
        if (const QByteArray name = coding.trimmed().toLower(); !name.isEmpty())
            codings.append(name);
    }
    std::optional<QByteArray> data = raw;
    for (auto it = codings.crbegin(); data && it != codings.crend(); ++it)
        data = undoCoding(*it, *data, maxBytes);
    return data;
}

QByteArray charsetOf(const QByteArray &contentType)
{
    const QByteArrayList parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype equals = parts[i].indexOf('=');
        if (equals < 0 || parts[i].left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parts[i].mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2).trimmed();
        return value.toLower();
    }
    return {};
}

// Pages labelled GB2312 routinely hold characters that only GBK has, so browsers read every
// label of that family with the GB18030 decoder, a superset of both.
QByteArray decoderNameFor(const QByteArray &charset)
{
    static const QByteArrayList chineseLabels = {
        "gb2312",  "gbk",      "x-gbk",           "gb_2312",   "gb_2312-80",
        "chinese", "csgb2312", "csiso58gb231280", "iso-ir-58", "gb18030",
    };
    return chineseLabels.contains(charset) ? "GB18030"_ba : charset;
}

QString decodeText(const QByteArray &bytes, const QByteArray &contentType)
{
    if (const auto byBom = QStringConverter::encodingForData(bytes))
        return QStringDecoder(*byBom).decode(bytes);
    if (const QByteArray charset = charsetOf(contentType); !charset.isEmpty()) {
        QStringDecoder byLabel(decoderNameFor(charset).constData());
        if (byLabel.isValid())
            return byLabel.decode(bytes);
    }
    return QStringDecoder(QStringConverter::Utf8).decode(bytes);
}

} // namespace

std::optional<QString> DecodeReplyBody(const QByteArray &raw, const QByteArray &contentEncoding,
                                       const QByteArray &contentType, qsizetype maxBytes)
{
    if (raw.size() > maxBytes)
        return std::nullopt;
    const std::optional<QByteArray> plain = decompress(raw, contentEncoding, maxBytes);
    if (!plain)
        return std::nullopt;
    return decodeText(*plain, contentType);
}

} // namespace GetPostByXmlHttp
