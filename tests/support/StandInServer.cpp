#include "StandInServer.h"

#include "ExchangeJob.h"

#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>
#include <zlib.h>

using namespace std::chrono_literals;

namespace TestSupport {

namespace {

// A test is not beside a program: its exchanges, the program's code included, go through the
// exchange linked into it rather than the module that a program loads.
void UseLinkedExchange()
{
    GetPostByXmlHttp::UseExchange(GetPostByXmlHttp::LinkedExchange);
}
Q_CONSTRUCTOR_FUNCTION(UseLinkedExchange)

using Fault = CannedReply::Fault;

// One client connection: reads whole requests (head and the body Content-Length declares) one
// after another and writes each answer with its fault. Lives as long as its socket.
struct Connection
{
    QTcpSocket *socket;
    std::function<CannedReply(const RecordedRequest &)> answerFor;
    QByteArray buffer;
    CannedReply reply;
    bool answering = false;
    qsizetype sent = 0;
    qsizetype stopAt = 0;

    void readRequests()
    {
        buffer += socket->readAll();
        const qsizetype headEnd = buffer.indexOf("\r\n\r\n") + 4;
        RecordedRequest request;
        const QByteArrayList lines = buffer.left(headEnd).trimmed().split('\n');
        for (const QByteArray &line : lines.mid(1))
            request.headers.append(
                {line.left(line.indexOf(':')), line.mid(line.indexOf(':') + 1).trimmed()});
        const qsizetype size = headEnd + request.header("Content-Length").toLongLong();
        if (answering || headEnd < 4 || buffer.size() < size)
            return;
        const QByteArray requestLine = lines[0].trimmed();
        request = {requestLine, requestLine.split(' ').value(1), request.headers,
                   buffer.mid(headEnd, size - headEnd)};
        buffer.remove(0, size);
        answering = true;
        reply = answerFor(request);
        const qsizetype bodySize =
            reply.repeatedBodySize < 0 ? reply.body.size() : reply.repeatedBodySize;
        reply.headers.append({"Content-Length", QByteArray::number(bodySize)});
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\n";
        for (const auto &[name, value] : std::as_const(reply.headers))
            head += name + ": " + value + "\r\n";
        sent = 0;
        stopAt = reply.fault == Fault::None || reply.fault == Fault::Drip ? bodySize : bodySize / 2;
        if (reply.fault != Fault::Hang)
            // The body follows when the head went out, on bytesWritten.
            QTimer::singleShot(reply.delay, socket, [this, head] { socket->write(head + "\r\n"); });
    }

    QByteArray nextPiece(qsizetype size) const
    {
        return reply.body.mid(sent % reply.body.size(), std::min(size, stopAt - sent));
    }

    // Runs again whenever bytes went out.
    void sendBody()
    {
        if (answering && reply.fault == Fault::Drip && sent < stopAt)
            return QTimer::singleShot(100ms, socket,
                                      [this] { sent += socket->write(nextPiece(1)); });
        while (answering && sent < stopAt && socket->bytesToWrite() < 256 * 1024)
            sent += socket->write(nextPiece(64 * 1024));
        if (!answering || sent < stopAt)
            return;
        if (reply.fault != Fault::ResetMidBody) {
            answering = false;
            return readRequests();
        }
        // Only once the half body is out, or the reset would discard it.
        const linger hardClose{1, 0};
        setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hardClose,
                   sizeof hardClose);
        if (socket->bytesToWrite() == 0)
            socket->abort();
    }
};

} // namespace

QByteArray gzip(QByteArrayView data, qsizetype repeat)
{
    const QByteArray plain = data.toByteArray().repeated(repeat);
    const QByteArray zlib = qCompress(plain, 9).mid(4); // qCompress puts the length first
    const quint32 trailer[] = {
        quint32(crc32(0, reinterpret_cast<const Bytef *>(plain.data()), uInt(plain.size()))),
        quint32(plain.size())}; // little-endian, as the gzip trailer and this machine are
    // The deflate stream of the zlib one, without its two-byte head and its check.
    return QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10) + zlib.mid(2).chopped(4) +
           QByteArray(reinterpret_cast<const char *>(trailer), sizeof trailer);
}

QByteArray RecordedRequest::path() const
{
    const qsizetype hostEnd = target.startsWith("http://") ? target.indexOf('/', 7) : 0;
    return target.mid(hostEnd).split('?').constFirst();
}

QByteArray RecordedRequest::header(QByteArrayView name) const
{
    const auto found = std::find_if(headers.cbegin(), headers.cend(), [name](const auto &header) {
        return header.first.compare(name, Qt::CaseInsensitive) == 0;
    });
    return found == headers.cend() ? QByteArray() : found->second;
}

StandInServer::StandInServer(QObject *parent)
    : QObject(parent)
{
    m_listener.listen(QHostAddress::LocalHost, 0);
    connect(&m_listener, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_listener.nextPendingConnection()) {
            auto connection = std::make_shared<Connection>(socket, [this](const auto &request) {
                m_requests.append(request);
                const Handler handler = m_handlers.value(request.path());
                return handler ? handler(request) : CannedReply::page(404, "no handler");
            });
            connect(socket, &QTcpSocket::readyRead, socket,
                    [connection] { connection->readRequests(); });
            connect(socket, &QTcpSocket::bytesWritten, socket,
                    [connection] { connection->sendBody(); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

} // namespace TestSupport
