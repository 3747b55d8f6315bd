#include "GetPostByXmlHttp.h"
#include "Require.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Counted straight from the code units, independently of Qt's converter. Qt 6.4 writes an
// unpaired surrogate as one '?' byte.
qsizetype utf8Length(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            bytes += 1;
        } else if (unit < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            bytes += 1;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

bool isUpperHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

} // namespace

// The input is read as raw UTF-16 code units, so zeros and unpaired surrogates occur as
// readily as well-formed text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);

    const QString encoded = GetPostByXmlHttp::UrlEncodeUtf8(text);
    const QByteArray utf8 = text.toUtf8();

    Require(encoded.size() == 3 * utf8Length(text), "three characters per UTF-8 byte");
    Require(utf8.size() == utf8Length(text), "UTF-8 length counted from the code units");
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (i % 3 == 0)
            Require(encoded[i] == u'%', "every third character is '%'");
        else
            Require(isUpperHexDigit(encoded[i]), "upper-case hex digits");
    }
    Require(QByteArray::fromPercentEncoding(encoded.toLatin1()) == utf8,
            "percent-decoding gives the UTF-8 back");
    // A leading U+FEFF is text here, not a byte order mark to drop.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    if (QStringView(text).isValidUtf16())
        Require(QString(decoder(utf8)) == text, "well-formed text survives the round trip");
    return 0;
}
