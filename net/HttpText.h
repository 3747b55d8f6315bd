#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>

namespace GetPostByXmlHttp {

struct HttpOptions
{
    // An exchange that stalls this long ends empty; zero or less waits without limit.
    std::chrono::milliseconds timeout{30000};
    // Cap on the body as received and once decompressed; a longer body ends empty.
    qsizetype maxBodyBytes = 32 * 1024 * 1024;
    // When this object is destroyed during the wait, the request is dropped and the call
    // returns the empty text: the window that asked is gone.
    QPointer<QObject> context;
};

// Both calls send one request and wait for the whole reply in a local event loop, so the
// caller's window keeps processing its events meanwhile. They return the reply body as text,
// whatever its HTTP status, decompressed and read in its charset; and the empty text when the
// exchange cannot complete (unreachable, reset, cut short, timed out, corrupt, too long) or
// when the wait ends early (context destroyed, application quitting). Only http and https
// URLs are fetched. Nothing is kept between calls: no connection, cookie or cache.

// GET of url as given (its escapes reach the wire unchanged), with no header of its own.
QString HttpGetText(const QString &url, const HttpOptions &options = {});

// POST of body to url with the request headers of the old browser component: Accept,
// Referer (url itself), Content-Type (form-encoded), Accept-Encoding (gzip, deflate),
// Content-Length, Connection and Cache-Control, in that order.
QString HttpPostText(const QString &url, const QString &body, const HttpOptions &options = {});

} // namespace GetPostByXmlHttp
