#include "Compression.h"

#include <QScopeGuard>

#include <zlib.h>

#include <array>

namespace TestSupport {

namespace {

int windowBits(Compression format)
{
    switch (format) {
    case Compression::Gzip:
        return MAX_WBITS + 16;
    case Compression::Zlib:
        return MAX_WBITS;
    case Compression::RawDeflate:
        return -MAX_WBITS;
    }
    return MAX_WBITS;
}

} // namespace

QByteArray compress(QByteArrayView data, Compression format, qsizetype repeat)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits(format), 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        qFatal("deflateInit2 failed");
    const auto release = qScopeGuard([&stream] { deflateEnd(&stream); });

    QByteArray compressed;
    std::array<Bytef, 64 * 1024> chunk;
    const auto pump = [&](int flush) {
        do {
            stream.next_out = chunk.data();
            stream.avail_out = static_cast<uInt>(chunk.size());
            deflate(&stream, flush);
            compressed.append(reinterpret_cast<const char *>(chunk.data()),
                              static_cast<qsizetype>(chunk.size() - stream.avail_out));
        } while (stream.avail_out == 0);
    };
    for (qsizetype i = 0; i < repeat; ++i) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
        stream.avail_in = static_cast<uInt>(data.size());
        pump(Z_NO_FLUSH);
    }
    pump(Z_FINISH);
    return compressed;
}

} // namespace TestSupport
