#include "StandInConnection.h"

#include <QTimer>

#include <sys/socket.h>

#include <algorithm>

namespace TestSupport {

namespace {

constexpr qsizetype pieceSize = 64 * 1024;
constexpr qsizetype writeAhead = 4 * pieceSize;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

bool hasHeader(const HeaderList &headers, QByteArrayView name)
{
    return std::any_of(headers.cbegin(), headers.cend(), [name](const auto &header) {
        return header.first.compare(name, Qt::CaseInsensitive) == 0;
    });
}

bool stopsMidBody(CannedReply::Fault fault)
{
    return fault == CannedReply::Fault::StallMidBody || fault == CannedReply::Fault::CloseMidBody ||
           fault == CannedReply::Fault::ResetMidBody;
}

} // namespace

StandInConnection::StandInConnection(QTcpSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &StandInConnection::readRequests);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &StandInConnection::sendBody);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
}

void StandInConnection::readRequests()
{
    m_buffer += m_socket->readAll();
    RecordedRequest request;
    while (m_state == State::Reading && takeRequest(request)) {
        m_state = State::Answering;
        Q_EMIT requestReady(request);
    }
}

bool StandInConnection::takeRequest(RecordedRequest &request)
{
    const qsizetype headEnd = m_buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return false;
    const QByteArrayList lines = m_buffer.left(headEnd).split('\n');
    HeaderList headers;
    qsizetype bodySize = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].chopped(lines[i].endsWith('\r') ? 1 : 0);
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
        if (headers.last().first.compare("Content-Length", Qt::CaseInsensitive) == 0)
            bodySize = headers.last().second.toLongLong();
    }
    const qsizetype requestSize = headEnd + 4 + bodySize;
    if (m_buffer.size() < requestSize)
        return false;

    request.raw = m_buffer.left(requestSize);
    request.requestLine = lines[0].chopped(lines[0].endsWith('\r') ? 1 : 0);
    const QByteArrayList parts = request.requestLine.split(' ');
    request.method = parts.value(0);
    request.target = parts.value(1);
    request.headers = headers;
    request.body = m_buffer.mid(headEnd + 4, bodySize);
    m_buffer.remove(0, requestSize);
    return true;
}

void StandInConnection::answer(const CannedReply &reply)
{
    m_reply = reply;
    if (m_reply.fault == CannedReply::Fault::Hang) {
        m_state = State::Finished;
        return;
    }
    if (m_reply.delay.count() > 0)
        QTimer::singleShot(m_reply.delay, Qt::PreciseTimer, this, &StandInConnection::sendHead);
    else
        sendHead();
}

void StandInConnection::sendHead()
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(m_reply.status) + ' ' +
                      reasonPhrase(m_reply.status) + "\r\n";
    for (const auto &[name, value] : std::as_const(m_reply.headers))
        head += name + ": " + value + "\r\n";
    const qsizetype declared = m_reply.declaredBodySize();
    if (!hasHeader(m_reply.headers, "Content-Length") &&
        !hasHeader(m_reply.headers, "Transfer-Encoding"))
        head += "Content-Length: " + QByteArray::number(declared) + "\r\n";
    m_socket->write(head + "\r\n");
    m_sent = 0;
    m_stopAt = stopsMidBody(m_reply.fault) ? declared / 2 : declared;
    sendBody();
}

void StandInConnection::sendBody()
{
    if (m_state != State::Answering)
        return;
    while (m_sent < m_stopAt && m_socket->bytesToWrite() < writeAhead) {
        const qsizetype offset = m_sent % m_reply.body.size();
        const qsizetype piece =
            std::min({pieceSize, m_reply.body.size() - offset, m_stopAt - m_sent});
        m_socket->write(m_reply.body.constData() + offset, piece);
        m_sent += piece;
        Q_EMIT bodyBytesWritten(piece);
    }
    if (m_sent == m_stopAt)
        endBody();
}

void StandInConnection::endBody()
{
    switch (m_reply.fault) {
    case CannedReply::Fault::None:
        m_state = State::Reading;
        readRequests();
        return;
    case CannedReply::Fault::ResetMidBody: {
        // The half body must be on its way before the reset, or the reset would discard it.
        if (m_socket->bytesToWrite() > 0)
            return;
        const linger hardClose{1, 0};
        ::setsockopt(static_cast<int>(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                     &hardClose, sizeof hardClose);
        m_state = State::Finished;
        m_socket->abort();
        return;
    }
    case CannedReply::Fault::CloseMidBody:
        m_state = State::Finished;
        m_socket->disconnectFromHost();
        return;
    case CannedReply::Fault::StallMidBody:
    case CannedReply::Fault::Hang:
        m_state = State::Finished;
        return;
    }
}

} // namespace TestSupport
