#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>
#include <QMetaType>

#include <utility>

namespace TestSupport {

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

// One request as the stand-in server received it.
struct RecordedRequest
{
    QByteArray raw;         // every byte of the request, head and body
    QByteArray requestLine; // e.g. "POST /translate?a=%20 HTTP/1.1"
    QByteArray method;
    QByteArray target;  // path and query as on the wire
    HeaderList headers; // in the order received; names as sent, values without outer blanks
    QByteArray body;

    QByteArray path() const;
    // The first value of the header, its name compared ignoring case; empty when absent.
    QByteArray header(QByteArrayView name) const;
    bool hasHeader(QByteArrayView name) const;
    QByteArrayList headerNames() const;
};

} // namespace TestSupport

Q_DECLARE_METATYPE(TestSupport::RecordedRequest)
