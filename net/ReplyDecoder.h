#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace GetPostByXmlHttp {

// Turns a reply body as it came off the wire into text. contentEncoding is the value of the
// reply's Content-Encoding header (codings listed in the order they were applied: gzip,
// x-gzip, deflate in its zlib or raw form, identity); contentType is the value of its
// Content-Type header. The text is read in the charset that a byte-order mark names, else
// in the header's charset, else as UTF-8. Nothing when a coding is unknown or corrupt, or
// when the body, before or after decompression, is longer than maxBytes.
std::optional<QString> DecodeReplyBody(const QByteArray &raw, const QByteArray &contentEncoding,
                                       const QByteArray &contentType, qsizetype maxBytes);

} // namespace GetPostByXmlHttp
