#include "StandInServer.h"

#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>
#include <zlib.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace TestSupport {

namespace {

using Fault = CannedReply::Fault;

QString urlOn(quint16 port, QStringView pathAndQuery)
{
    const QString slash = pathAndQuery.startsWith(u'/') ? QString() : u"/"_s;
    return u"http://127.0.0.1:"_s + QString::number(port) + slash + pathAndQuery;
}

// One client connection: reads whole requests (head and the body Content-Length declares) one
// after another and writes each answer with its fault. Lives as long as its socket.
struct Connection
{
    QTcpSocket *socket;
    std::function<CannedReply(const RecordedRequest &)> answerFor;
    QByteArray buffer;
    bool answering = false;
    CannedReply reply;
    qsizetype sent = 0;
    qsizetype stopAt = 0;

    void readRequests()
    {
        buffer += socket->readAll();
        const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
        if (answering || headEnd < 0)
            return;
        RecordedRequest request;
        const QByteArrayList lines = buffer.left(headEnd).split('\n');
        for (const QByteArray &line : lines.mid(1))
            request.headers.append(
                {line.left(line.indexOf(':')), line.mid(line.indexOf(':') + 1).trimmed()});
        const qsizetype size = headEnd + 4 + request.header("Content-Length").toLongLong();
        if (buffer.size() < size)
            return;
        request.requestLine = lines[0].trimmed();
        request.method = request.requestLine.split(' ').value(0);
        request.target = request.requestLine.split(' ').value(1);
        request.body = buffer.mid(headEnd + 4, size - headEnd - 4);
        buffer.remove(0, size);
        answering = true;
        reply = answerFor(request);
        if (reply.fault != Fault::Hang)
            QTimer::singleShot(reply.delay, socket, [this] { sendHead(); });
    }

    void sendHead()
    {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\n";
        for (const auto &[name, value] : std::as_const(reply.headers))
            head += name + ": " + value + "\r\n";
        const qsizetype size =
            reply.repeatedBodySize < 0 ? reply.body.size() : reply.repeatedBodySize;
        if (RecordedRequest{{}, {}, {}, reply.headers, {}}.header("Content-Length").isNull())
            head += "Content-Length: " + QByteArray::number(size) + "\r\n";
        socket->write(head + "\r\n");
        sent = 0;
        stopAt = reply.fault == Fault::None || reply.fault == Fault::Drip ? size : size / 2;
        if (reply.fault == Fault::Drip) {
            auto *drip = new QTimer(socket);
            QObject::connect(drip, &QTimer::timeout, socket, [this] { write(1); });
            drip->start(100ms);
        }
        sendBody();
    }

    void write(qsizetype count)
    {
        const qsizetype offset = sent % reply.body.size();
        count = std::min({count, reply.body.size() - offset, stopAt - sent});
        sent += socket->write(reply.body.constData() + offset, count);
    }

    void sendBody()
    {
        while (answering && reply.fault != Fault::Drip && sent < stopAt &&
               socket->bytesToWrite() < 256 * 1024)
            write(64 * 1024);
        if (!answering || sent < stopAt)
            return;
        if (reply.fault == Fault::None) {
            answering = false;
            readRequests();
        } else if (reply.fault == Fault::CloseMidBody) {
            socket->disconnectFromHost();
        } else if (reply.fault == Fault::ResetMidBody && socket->bytesToWrite() == 0) {
            // Only once the half body is out, or the reset would discard it.
            const linger hardClose{1, 0};
            setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hardClose,
                       sizeof hardClose);
            socket->abort();
        }
    }
};

} // namespace

QByteArray compress(QByteArrayView data, Compression format, qsizetype repeat)
{
    const int bits = format == Compression::Gzip   ? MAX_WBITS + 16
                     : format == Compression::Zlib ? MAX_WBITS
                                                   : -MAX_WBITS;
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, bits, 8, Z_DEFAULT_STRATEGY);
    // Room for the whole stream, so every call takes all its input.
    QByteArray compressed(qsizetype(deflateBound(&stream, uLong(data.size() * repeat))) + 64, 0);
    stream.next_out = reinterpret_cast<Bytef *>(compressed.data());
    stream.avail_out = uInt(compressed.size());
    for (qsizetype i = 0; i < repeat; ++i) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
        stream.avail_in = uInt(data.size());
        deflate(&stream, i + 1 == repeat ? Z_FINISH : Z_NO_FLUSH);
    }
    compressed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return compressed;
}

QByteArray RecordedRequest::path() const
{
    const QByteArray local =
        target.startsWith("http://") ? target.mid(target.indexOf('/', 7)) : target;
    return local.split('?').constFirst();
}

QByteArray RecordedRequest::header(QByteArrayView name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

CannedReply CannedReply::page(int status, const QByteArray &body, const QByteArray &contentType)
{
    return {status, {{"Content-Type", contentType}}, body};
}

StandInServer::StandInServer(QObject *parent)
    : QObject(parent)
{
    if (!m_listener.listen(QHostAddress::LocalHost, 0))
        qFatal("stand-in server cannot listen: %s", qPrintable(m_listener.errorString()));
    connect(&m_listener, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_listener.nextPendingConnection()) {
            auto connection = std::make_shared<Connection>(socket, [this](const auto &request) {
                m_requests.append(request);
                Q_EMIT requestReceived(request);
                const Handler handler = m_handlers.value(request.path());
                return handler ? handler(request)
                               : CannedReply::page(404, "no handler for " + request.path());
            });
            connect(socket, &QTcpSocket::readyRead, socket,
                    [connection] { connection->readRequests(); });
            connect(socket, &QTcpSocket::bytesWritten, socket,
                    [connection] { connection->sendBody(); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                ++m_closedConnections;
                socket->deleteLater();
            });
        }
    });
}

QString StandInServer::url(QStringView pathAndQuery) const
{
    return urlOn(port(), pathAndQuery);
}

QString StandInServer::closedPortUrl(QStringView pathAndQuery)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return urlOn(probe.serverPort(), pathAndQuery);
}

} // namespace TestSupport
