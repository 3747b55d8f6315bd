#include "StandInServer.h"

#include "StandInConnection.h"

using namespace Qt::StringLiterals;

namespace TestSupport {

namespace {

QString urlOn(quint16 port, QStringView pathAndQuery)
{
    const QString slash = pathAndQuery.startsWith(u'/') ? QString() : u"/"_s;
    return u"http://127.0.0.1:"_s + QString::number(port) + slash + pathAndQuery;
}

} // namespace

StandInServer::StandInServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_listener, &QTcpServer::newConnection, this, &StandInServer::acceptConnections);
    if (!m_listener.listen(QHostAddress::LocalHost, 0))
        qFatal("stand-in server cannot listen: %s", qPrintable(m_listener.errorString()));
}

void StandInServer::setHandler(const QByteArray &path, Handler handler)
{
    m_handlers.insert(path, std::move(handler));
}

void StandInServer::serve(const QByteArray &path, const CannedReply &reply)
{
    setHandler(path, [reply](const RecordedRequest &) { return reply; });
}

quint16 StandInServer::port() const
{
    return m_listener.serverPort();
}

QString StandInServer::url(QStringView pathAndQuery) const
{
    return urlOn(port(), pathAndQuery);
}

QString StandInServer::closedPortUrl(QStringView pathAndQuery)
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        qFatal("cannot find a free port: %s", qPrintable(probe.errorString()));
    const quint16 port = probe.serverPort();
    probe.close();
    return urlOn(port, pathAndQuery);
}

void StandInServer::stopListening()
{
    m_listener.close();
}

const QList<RecordedRequest> &StandInServer::requests() const
{
    return m_requests;
}

RecordedRequest StandInServer::lastRequest() const
{
    return m_requests.isEmpty() ? RecordedRequest() : m_requests.last();
}

qsizetype StandInServer::bodyBytesSent() const
{
    return m_bodyBytesSent;
}

qsizetype StandInServer::closedConnections() const
{
    return m_closedConnections;
}

void StandInServer::acceptConnections()
{
    while (QTcpSocket *socket = m_listener.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, this, [this] { ++m_closedConnections; });
        auto *connection = new StandInConnection(socket, this);
        connect(connection, &StandInConnection::bodyBytesWritten, this,
                [this](qsizetype count) { m_bodyBytesSent += count; });
        connect(connection, &StandInConnection::requestReady, this,
                [this, connection](const RecordedRequest &request) {
                    m_requests.append(request);
                    Q_EMIT requestReceived(request);
                    const auto handler = m_handlers.constFind(request.path());
                    connection->answer(
                        handler != m_handlers.cend()
                            ? (*handler)(request)
                            : CannedReply::page(404, "no handler for " + request.path()));
                });
    }
}

} // namespace TestSupport
