#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace TestSupport {

enum class Compression
{
    Gzip,
    Zlib,
    RawDeflate
};

// Compresses data repeated `repeat` times into one stream, without ever holding the repeated
// whole: a few kilobytes of output can stand for gigabytes of zeros.
QByteArray compress(QByteArrayView data, Compression format, qsizetype repeat = 1);

} // namespace TestSupport
