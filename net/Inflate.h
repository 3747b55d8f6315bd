#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace GetPostByXmlHttp {

enum class ZlibFormat
{
    Gzip,
    Zlib,
    RawDeflate
};

// Inflates one compressed stream, a chunk at a time so that a small stream that expands
// enormously stops at maxBytes instead of exhausting memory. Nothing when the stream is
// corrupt, ends before its own end marker, or would inflate past maxBytes. Bytes after the
// end of the stream are ignored, as browsers do.
std::optional<QByteArray> Inflate(QByteArrayView compressed, ZlibFormat format, qsizetype maxBytes);

} // namespace GetPostByXmlHttp
