#include "ReplyDecoder.h"
#include "Require.h"

#include <QByteArray>
#include <QString>

#include <zlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

using GetPostByXmlHttp::DecodeReplyBody;

namespace {

struct Coding
{
    const char *header;
    int windowBits; // how the harness compresses the payload for it; 0: it does not
    bool plain;     // any body decodes
};

const std::array codings = {
    Coding{"", 0, true},
    Coding{"identity", 0, true},
    Coding{"gzip", MAX_WBITS + 16, false},
    Coding{"x-gzip", MAX_WBITS + 16, false},
    Coding{"deflate", MAX_WBITS, false},
    Coding{"deflate", -MAX_WBITS, false},
    Coding{"GZip ", MAX_WBITS + 16, false},
    Coding{"br", 0, false},
    Coding{"gzip, identity", MAX_WBITS + 16, false},
};

const std::array contentTypes = {
    "",
    "text/html; charset=utf-8",
    "text/html; charset=GB2312",
    "text/plain; charset=\"gbk\"",
    "text/html;charset=ISO-8859-1",
    "text/html; charset=utf-16le",
    "text/html; charset=no-such-charset",
    "text/html; charset=",
};

QByteArray compressed(const QByteArray &plain, int windowBits)
{
    z_stream stream{};
    Require(deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, windowBits, 8,
                         Z_DEFAULT_STRATEGY) == Z_OK,
            "the harness's compressor starts");
    QByteArray out(qsizetype(deflateBound(&stream, uLong(plain.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.data()));
    stream.avail_in = uInt(plain.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    Require(deflate(&stream, Z_FINISH) == Z_STREAM_END, "the harness's compressor finishes");
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

} // namespace

// Layout of an input: one byte each picks the content coding, the content type and the size
// cap (a power of two); a fourth byte, when odd, has the harness compress the rest in the
// chosen coding (so that well-formed streams are common); the rest is the body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const Coding &coding = codings[data[0] % codings.size()];
    const QByteArray contentType = contentTypes[data[1] % contentTypes.size()];
    const qsizetype maxBytes = qsizetype(1) << (data[2] % 25);
    const bool compressHere = (data[3] & 1) && coding.windowBits != 0;
    const QByteArray payload(reinterpret_cast<const char *>(data) + 4, qsizetype(size - 4));
    const QByteArray raw = compressHere ? compressed(payload, coding.windowBits) : payload;

    const std::optional<QString> text = DecodeReplyBody(raw, coding.header, contentType, maxBytes);

    if (raw.size() > maxBytes)
        Require(!text, "a body over the cap is refused");
    if (coding.plain && raw.size() <= maxBytes)
        Require(text.has_value(), "an uncompressed body within the cap always decodes");
    if (!compressHere || raw.size() > maxBytes)
        return 0;
    const std::optional<QString> plainText =
        DecodeReplyBody(payload, "identity", contentType, maxBytes);
    if (payload.size() > maxBytes)
        Require(!text, "a body that inflates past the cap is refused");
    else
        Require(text == plainText, "a compressed body reads as the same text as its plain form");
    return 0;
}
