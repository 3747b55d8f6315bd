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
    // The whole body arrived and went into the sink. When false, a warning said why, and
    // failure says what kind of failure it was.
    bool complete = false;
    NetFailure failure = NetFailure::Abandoned;
    int status = 0;
    // The service answered from another host or path than the one asked (a redirect followed),
    // or with a redirect that is not followed (a loop, no Location, another scheme: failure
    // Redirected, with the redirect's status).
    bool redirected = false;
    QByteArray contentType;
    // The Content-Encoding that Qt left undone: the body in the sink still carries it.
    QByteArray codingLeftToUs;
    QByteArray method;
    QString url;

    // "METHOD host/path", for a log line: made only when one is written.
    QString request() const;
};

// The one road to the network, for a caller that waits: sends method ("GET" or "POST") to url
// with headers in the given order (after Host) and body, streams the body as received into
// sink, and returns once the exchange has ended, while the caller's events flow. Ends early at
// the stall time-out, the deadline, the cap or a write that sink refuses; also ends, empty and
// quietly, when the wait ends first (context gone, application quitting).
//
// Qt Network and what it brings (Kerberos, libproxy: over a megabyte) live in the bremo-net
// module beside the program, loaded at the first exchange, so that a window opens without
// them. A program that links the exchange in (a test) names it with UseExchange first.
ExchangeEnd Exchange(const QByteArray &method, const QString &url, const RawHeaders &headers,
                     const QByteArray &body, QIODevice &sink, const HttpOptions &options);

using ExchangeCall = ExchangeEnd (*)(const QByteArray &method, const QString &url,
                                     const RawHeaders &headers, const QByteArray &body,
                                     QIODevice &sink, const HttpOptions &options);
inline constexpr char ExchangeModulePath[] = "net/bremo-net";
inline constexpr char ExchangeEntryName[] = "BremoExchange";
using ExchangeEntry = ExchangeCall (*)();
void UseExchange(ExchangeCall call);

} // namespace GetPostByXmlHttp
