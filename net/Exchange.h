#pragma once

#include "HttpText.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

class QIODevice;

namespace GetPostByXmlHttp {

using RawHeaders = QList<std::pair<QByteArray, QByteArray>>;

struct ExchangeEnd
{
    // The whole body arrived and went into the sink. When false, a warning said why.
    bool complete = false;
    int status = 0;
    QByteArray contentType;
    // The Content-Encoding that Qt left undone: the body in the sink still carries it.
    QByteArray codingLeftToUs;
    // "METHOD host/path", for a log line.
    QString request;
};

// The one road to the network: sends method ("GET" or "POST") to url with headers in the
// given order (after Host) and body, and streams the body as received into sink while the
// caller's events flow. Ends early at the stall time-out, the deadline, the cap, a write
// that sink refuses, or the end of the wait (context gone, application quitting).
ExchangeEnd Exchange(const QByteArray &method, const QString &url, const RawHeaders &headers,
                     const QByteArray &body, QIODevice &sink, const HttpOptions &options);

} // namespace GetPostByXmlHttp
