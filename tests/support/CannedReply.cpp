#include "CannedReply.h"

namespace TestSupport {

CannedReply CannedReply::page(int status, const QByteArray &body, const QByteArray &contentType)
{
    CannedReply reply;
    reply.status = status;
    reply.headers = {{"Content-Type", contentType}};
    reply.body = body;
    return reply;
}

CannedReply CannedReply::compressed(Compression format, QByteArrayView plain,
                                    const QByteArray &contentType)
{
    CannedReply reply = page(200, compress(plain, format), contentType);
    return reply.addHeader("Content-Encoding", format == Compression::Gzip ? "gzip" : "deflate");
}

CannedReply &CannedReply::addHeader(const QByteArray &name, const QByteArray &value)
{
    headers.append({name, value});
    return *this;
}

qsizetype CannedReply::declaredBodySize() const
{
    return repeatedBodySize >= 0 && !body.isEmpty() ? repeatedBodySize : body.size();
}

} // namespace TestSupport
