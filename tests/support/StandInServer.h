#pragma once

#include <QHash>
#include <QTcpServer>

#include <chrono>
#include <functional>

namespace TestSupport {

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

// data repeated `repeat` times as one gzip stream: a few kilobytes can stand for megabytes.
QByteArray gzip(QByteArrayView data, qsizetype repeat = 1);

// One request as received. Sent to a proxy, its target is the absolute URL.
struct RecordedRequest
{
    QByteArray requestLine; // e.g. "POST /translate?a=%20 HTTP/1.1"
    QByteArray target;
    HeaderList headers; // in the order received, names as sent
    QByteArray body;

    QByteArray path() const; // the target without scheme, host and query
    // The first value of the header, its name compared ignoring case; empty when absent.
    QByteArray header(QByteArrayView name) const;
};

// What the stand-in server answers to one request, faults included.
struct CannedReply
{
    enum class Fault
    {
        None,
        Hang,         // never answer
        ResetMidBody, // the head and half the body, then reset the connection
        Drip,         // the head, then one body byte every 100 ms
    };

    int status = 200;
    // Sent in this order, then Content-Length (of the whole body).
    HeaderList headers;
    QByteArray body;
    // When not negative, the body is sent again and again until this many bytes went out.
    qsizetype repeatedBodySize = -1;
    Fault fault = Fault::None;
    std::chrono::milliseconds delay{0}; // before anything is sent

    static CannedReply page(int status, const QByteArray &body,
                            const QByteArray &contentType = "text/html; charset=utf-8")
    {
        return {status, {{"Content-Type", contentType}}, body};
    }
};

// An HTTP/1.1 server on 127.0.0.1 that plays a web service, or a forward proxy, for one
// test: each path has a handler that turns the recorded request into a canned reply. A
// request in absolute form (a client going through a proxy) is answered by the handler of its
// path; a path without a handler gets a 404 page. It records every request, needs its
// thread's event loop (which the calls under test spin anyway), and stops when destroyed.
class StandInServer final : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<CannedReply(const RecordedRequest &request)>;

    explicit StandInServer(QObject *parent = nullptr);

    void setHandler(const QByteArray &path, Handler handler) { m_handlers[path] = handler; }
    void serve(const QByteArray &path, const CannedReply &reply)
    {
        setHandler(path, [reply](const RecordedRequest &) { return reply; });
    }
    // "http://127.0.0.1:PORT"
    QString origin() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_listener.serverPort());
    }
    // The origin followed by the path (a missing leading slash is added).
    QString url(QStringView pathAndQuery) const
    {
        return origin() + u'/' + pathAndQuery.mid(pathAndQuery.startsWith(u'/'));
    }

    const QList<RecordedRequest> &requests() const { return m_requests; }
    // A URL on 127.0.0.1 at a port where nothing listens, so a connection is refused.
    static QString closedPortUrl(QStringView path) { return StandInServer().url(path); }

private:
    QTcpServer m_listener;
    QHash<QByteArray, Handler> m_handlers;
    QList<RecordedRequest> m_requests;
};

} // namespace TestSupport

Q_DECLARE_METATYPE(TestSupport::CannedReply)
