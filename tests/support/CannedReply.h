#pragma once

#include "Compression.h"
#include "RecordedRequest.h"

#include <QByteArray>
#include <QMetaType>

#include <chrono>

namespace TestSupport {

// What the stand-in server answers to one request, faults included.
struct CannedReply
{
    enum class Fault
    {
        None,
        Hang,         // never answer
        StallMidBody, // send the head and half the body, then nothing more
        CloseMidBody, // send the head and half the body, then close the connection
        ResetMidBody, // send the head and half the body, then reset the connection
    };

    int status = 200;
    // Sent as given, in this order. Content-Length (the whole declared body) is added unless
    // present, or unless Transfer-Encoding is.
    HeaderList headers;
    QByteArray body;
    // When not negative, the body is sent again and again, a piece at a time, until this many
    // bytes have gone out: a huge reply without a huge buffer.
    qsizetype repeatedBodySize = -1;
    std::chrono::milliseconds delay{0}; // before anything is sent
    Fault fault = Fault::None;

    static CannedReply page(int status, const QByteArray &body,
                            const QByteArray &contentType = "text/html; charset=utf-8");
    // The plain body compressed, labelled "gzip" or, for both deflate forms, "deflate".
    static CannedReply compressed(Compression format, QByteArrayView plain,
                                  const QByteArray &contentType = "text/html; charset=utf-8");

    CannedReply &addHeader(const QByteArray &name, const QByteArray &value);
    qsizetype declaredBodySize() const;
};

} // namespace TestSupport

Q_DECLARE_METATYPE(TestSupport::CannedReply)
