#pragma once

#include "CannedReply.h"
#include "RecordedRequest.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QTcpServer>

#include <functional>

namespace TestSupport {

// An HTTP/1.1 server on 127.0.0.1 that plays a web service for one test: each path has a
// handler that turns the recorded request into a canned reply. It records every request it
// receives and stops, connections and all, when it is destroyed. It runs on the thread of
// its owner and needs that thread's event loop, which the calls under test spin anyway.
class StandInServer final : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<CannedReply(const RecordedRequest &request)>;

    explicit StandInServer(QObject *parent = nullptr);

    // A request for a path without a handler gets a 404 page naming the path.
    void setHandler(const QByteArray &path, Handler handler);
    void serve(const QByteArray &path, const CannedReply &reply);

    quint16 port() const;
    // "http://127.0.0.1:PORT" followed by the path (a missing leading slash is added).
    QString url(QStringView pathAndQuery) const;
    // A URL on 127.0.0.1 at a port where nothing listens, so a connection is refused.
    static QString closedPortUrl(QStringView pathAndQuery);
    // From now on a new connection to the port is refused; the ones made go on. Plays a
    // service that has gone away after it answered.
    void stopListening();

    const QList<RecordedRequest> &requests() const;
    // The last request received; an empty one when none has come.
    RecordedRequest lastRequest() const;
    // Reply body bytes handed to the sockets so far, all replies together: shows whether a
    // client hung up before a long body was through.
    qsizetype bodyBytesSent() const;
    // Connections that have ended so far, closed by either side: shows that a client hung up
    // on a request that was never answered.
    qsizetype closedConnections() const;

Q_SIGNALS:
    // Emitted when a whole request has arrived, before it is answered.
    void requestReceived(const TestSupport::RecordedRequest &request);

private:
    void acceptConnections();

    QTcpServer m_listener;
    QHash<QByteArray, Handler> m_handlers;
    QList<RecordedRequest> m_requests;
    qsizetype m_bodyBytesSent = 0;
    qsizetype m_closedConnections = 0;
};

} // namespace TestSupport
