#include "TextHelpers.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace GetPostByXmlHttp {

namespace {

// For every byte value, its escape "%XY" as three UTF-16 code units packed into the low 48
// bits of a 64-bit word, so that one store writes a whole escape.
constexpr std::array<std::uint64_t, 256> escapeTable()
{
    constexpr char16_t hexDigits[] = u"0123456789ABCDEF";
    std::array<std::uint64_t, 256> table{};
    for (std::size_t byte = 0; byte < table.size(); ++byte) {
        table[byte] = std::uint64_t(u'%') | std::uint64_t(hexDigits[byte >> 4]) << 16 |
                      std::uint64_t(hexDigits[byte & 0x0F]) << 32;
    }
    return table;
}

constexpr std::array<std::uint64_t, 256> Escapes = escapeTable();

} // namespace

QString UrlEncodeUtf8(QStringView text)
{
    static_assert(std::endian::native == std::endian::little,
                  "the escape table packs code units in little-endian order");
    const char16_t *const begin = text.utf16();
    const char16_t *const end = begin + text.size();

    // UTF-8 straight from the code units, without a byte buffer in between. An unpaired
    // surrogate becomes "?", as QString::toUtf8 makes it.
    auto forEachByte = [begin, end](auto &&emit) {
        for (const char16_t *p = begin; p < end; ++p) {
            const char32_t u = *p;
            if (u < 0x80) {
                emit(u);
            } else if (u < 0x800) {
                emit(0xC0 | u >> 6);
                emit(0x80 | (u & 0x3F));
            } else if (QChar::isHighSurrogate(u) && p + 1 < end && QChar::isLowSurrogate(p[1])) {
                const char32_t c = QChar::surrogateToUcs4(char16_t(u), p[1]);
                ++p;
                emit(0xF0 | c >> 18);
                emit(0x80 | (c >> 12 & 0x3F));
                emit(0x80 | (c >> 6 & 0x3F));
                emit(0x80 | (c & 0x3F));
            } else if (QChar::isSurrogate(u)) {
                emit(u'?');
            } else {
                emit(0xE0 | u >> 12);
                emit(0x80 | (u >> 6 & 0x3F));
                emit(0x80 | (u & 0x3F));
            }
        }
    };

    qsizetype bytes = 0;
    forEachByte([&bytes](char32_t) { ++bytes; });
    if (bytes == 0)
        return {};

    // Every byte escapes, so the size is known up front and no byte is tested for a class.
    // Each store writes four code units, one past the escape; the extra one is overwritten
    // by the next escape, and the last one by the terminator when the string is cut back.
    const qsizetype size = bytes * 3;
    QString encoded(size + 1, Qt::Uninitialized);
    auto *out = reinterpret_cast<char *>(encoded.data());
    forEachByte([&out](char32_t byte) {
        std::memcpy(out, &Escapes[byte], sizeof(std::uint64_t));
        out += 3 * sizeof(char16_t);
    });
    encoded.resize(size);
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

QString OneLine(QStringView text, qsizetype maxLength)
{
    QString line;
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        const bool hidden = category == QChar::Other_Control || category == QChar::Other_Format;
        line += hidden ? QString(u' ') : QString::fromUcs4(&c, 1);
    }
    line = line.simplified();
    if (line.size() <= maxLength)
        return line;
    line.truncate(maxLength - 1);
    if (line.back().isHighSurrogate())
        line.chop(1);
    return line + u'…';
}

} // namespace GetPostByXmlHttp
