#include "Inflate.h"

#include <QScopeGuard>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>

namespace GetPostByXmlHttp {

namespace {

int windowBits(ZlibFormat format)
{
    switch (format) {
    case ZlibFormat::Gzip:
        return MAX_WBITS + 16;
    case ZlibFormat::Zlib:
        return MAX_WBITS;
    case ZlibFormat::RawDeflate:
        return -MAX_WBITS;
    }
    return MAX_WBITS;
}

} // namespace

std::optional<QByteArray> Inflate(QByteArrayView compressed, ZlibFormat format, qsizetype maxBytes)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits(format)) != Z_OK)
        return std::nullopt;
    const auto release = qScopeGuard([&stream] { inflateEnd(&stream); });

    std::array<Bytef, 64 * 1024> chunk;
    QByteArray inflated;
    const auto *next = reinterpret_cast<const Bytef *>(compressed.data());
    qsizetype unread = compressed.size();
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            if (unread == 0)
                return std::nullopt;
            const auto take =
                static_cast<uInt>(std::min<qsizetype>(unread, std::numeric_limits<uInt>::max()));
            stream.next_in = const_cast<Bytef *>(next);
            stream.avail_in = take;
            next += take;
            unread -= take;
        }
        stream.next_out = chunk.data();
        stream.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END)
            return std::nullopt;
        const auto produced = static_cast<qsizetype>(chunk.size() - stream.avail_out);
        if (produced > maxBytes - inflated.size())
            return std::nullopt;
        inflated.append(reinterpret_cast<const char *>(chunk.data()), produced);
    }
    return inflated;
}

} // namespace GetPostByXmlHttp
