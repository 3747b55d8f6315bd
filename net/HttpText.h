#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <utility>

class QIODevice;

namespace GetPostByXmlHttp {

struct HttpOptions
{
    // An exchange that receives nothing for this long ends empty; zero or less: no limit.
    std::chrono::milliseconds timeout{30000};
    // An exchange not done this long after it began ends empty, however steadily bytes
    // trickle in; zero or less: no limit. A translation reply is a compact reply of a few
    // kilobytes or a web page of some hundreds: a minute fetches those even at 2G speed
    // (about 5 KB/s) with a few slow round trips to set up TLS through a proxy.
    std::chrono::milliseconds deadline{60000};
    // Cap on the body as received and once decompressed; a longer body ends empty. It guards
    // memory against a service that never stops sending or a compression bomb, not the
    // window: the Google long road cuts its translation out of a whole web page, markup and
    // scripts included, which weighs hundreds of kilobytes to a few megabytes. 8 MiB leaves
    // such a page room to spare; the result the window shows has a cap of its own.
    qsizetype maxBodyBytes = 8 * 1024 * 1024;
    // When this object is destroyed during the wait, the request is dropped and the call
    // returns the empty text: the window that asked is gone.
    QPointer<QObject> context;
    // What the caller's event loop goes on doing during the wait.
    QEventLoop::ProcessEventsFlags waitFlags = QEventLoop::AllEvents;
};

// Why an exchange gave no reply at all.
enum class NetFailure
{
    None,
    Refused,
    HostNotFound,
    TimedOut,
    Broken,     // reset, cut short, over the cap, corrupt, not a web address
    Redirected, // the service answered with a redirect that leads nowhere we follow
    Abandoned   // the wait ended first: the window is gone or the application quits
};

// A reply as the roads read it: the service's page and how it came.
struct HttpReply
{
    QString text;            // the body decoded, whatever the status; empty when no reply came
    int status = 0;          // 0 when no reply came
    bool redirected = false; // answered from another host or path than the one asked
    NetFailure failure = NetFailure::None;
};

// The calls send one request and wait for the whole reply in a local event loop, so the
// caller's window keeps processing its events meanwhile. Only http and https URLs are
// fetched, over HTTP/1.1, through the system's proxy settings. Nothing is kept between calls:
// no connection, cookie or cache; only the system's proxy answer for an address, a few
// seconds. A failure logs one warning in bremo.net saying why.

// GET of url as given (its escapes reach the wire unchanged), with no header of its own. The
// reply body as text, whatever its HTTP status, decompressed and read in its charset; the
// empty text when the exchange cannot complete (unreachable, reset, cut short, timed out,
// corrupt, too long) or when the wait ends early (context destroyed, application quitting).
QString HttpGetText(const QString &url, const HttpOptions &options = {});

// POST of body to url with the request headers of the old browser component: Accept,
// Referer (url itself), Content-Type (form-encoded), Accept-Encoding (gzip, deflate),
// Content-Length, Connection and Cache-Control, in that order. Its reply as HttpGetText's.
QString HttpPostText(const QString &url, const QString &body, const HttpOptions &options = {});

// The same exchanges, with the status and the kind of failure. HttpPostJson posts a JSON
// body with plain headers of its own (Content-Type application/json).
HttpReply HttpGetReply(const QString &url, const HttpOptions &options = {});
HttpReply HttpPostReply(const QString &url, const QString &body, const HttpOptions &options = {});
HttpReply HttpPostJson(const QString &url, const QByteArray &json, const HttpOptions &options = {});
// A POST with the headers a road's rules made (an official API's key travels in one).
HttpReply HttpPostWithHeaders(const QString &url,
                              const QList<std::pair<QByteArray, QByteArray>> &headers,
                              const QByteArray &body, const HttpOptions &options = {});

// GET of url as HttpGetText sends it, the body written into sink as it arrives. True when the
// whole body arrived with a status below 400 and sink took every byte; after false, sink may
// hold part of a body.
bool HttpGetInto(const QString &url, QIODevice &sink, const HttpOptions &options = {});

} // namespace GetPostByXmlHttp
