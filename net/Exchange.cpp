#include "ExchangeJob.h"

#include "NetLog.h"
#include "SystemProxy.h"

#include <QByteArrayList>
#include <QFileDevice>
#include <QIODevice>
#include <QMetaEnum>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <optional>

using namespace Qt::StringLiterals;

namespace GetPostByXmlHttp {

namespace {

std::optional<QUrl> webUrl(const QString &url)
{
    // The URL is also the Referer value: a line break in it would start a header of its own.
    const bool hasControl = std::any_of(url.cbegin(), url.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7F;
    });
    if (hasControl)
        return std::nullopt;
    // Parsed from its encoded form so that escapes such as "%20" go out as they came.
    QUrl parsed = QUrl::fromEncoded(url.toUtf8());
    const QString scheme = parsed.scheme();
    if (!parsed.isValid() || parsed.host().isEmpty() ||
        (scheme != u"http"_s && scheme != u"https"_s))
        return std::nullopt;
    return parsed;
}

QNetworkRequest requestFor(const QUrl &url, const RawHeaders &headers, const HttpOptions &options)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // HTTP/2 would send the header names in lower case and drop Connection.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(
        static_cast<int>(std::clamp<qint64>(options.timeout.count(), 0, INT_MAX)));
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    return request;
}

// Qt turns these HTTP statuses into errors, yet the reply still carries the server's page,
// and that page is the result.
bool isStatusError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::ContentConflictError:
    case QNetworkReply::ContentGoneError:
    case QNetworkReply::UnknownContentError:
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return true;
    default:
        return false;
    }
}

bool exchangeFailed(const QNetworkReply &reply)
{
    if (reply.error() == QNetworkReply::NoError)
        return false;
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status < 400 || !isStatusError(reply.error());
}

QString seconds(std::chrono::milliseconds span)
{
    return QString::number(double(span.count()) / 1000.0) + u" s"_s;
}

// Why sink refused chunk. A write that the disk cut short (a full disk during a large body)
// leaves QFileDevice without a reason; writing again into the doomed file fails at once and
// gives it.
QString writeFailure(QIODevice &sink, const QByteArray &chunk)
{
    if (auto *file = qobject_cast<QFileDevice *>(&sink)) {
        file->write(chunk);
        file->flush();
    }
    return sink.errorString();
}

NetFailure failureKind(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return NetFailure::Refused;
    case QNetworkReply::HostNotFoundError:
        return NetFailure::HostNotFound;
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return NetFailure::TimedOut;
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::ProtocolUnknownError: // only a redirect leads to another scheme
        return NetFailure::Redirected;
    default:
        return NetFailure::Broken;
    }
}

// Another host or path than the one asked; a move to https on the same page is no redirect
// away from it.
bool answeredElsewhere(const QUrl &asked, const QUrl &answered)
{
    return asked.host() != answered.host() || asked.path() != answered.path();
}

// Fixed words, never errorString(): Qt's texts quote the whole URL, query included.
QString errorReason(QNetworkReply::NetworkError error, const HttpOptions &options)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return u"connection refused"_s;
    case QNetworkReply::HostNotFoundError:
        return u"host not found"_s;
    case QNetworkReply::UnknownNetworkError:
        return u"no route to the host"_s;
    case QNetworkReply::UnknownContentError:
        return u"corrupt compression"_s; // of a body that Qt decompresses itself
    case QNetworkReply::RemoteHostClosedError:
        return u"connection closed by the server"_s;
    case QNetworkReply::OperationCanceledError:
        // Every abort of our own has a reason of its own; this one is Qt's stall timer.
        return u"time-out after "_s + seconds(options.timeout) + u" without data"_s;
    case QNetworkReply::TooManyRedirectsError:
        return u"a redirect loop"_s;
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::ProtocolUnknownError:
        return u"a redirect to another scheme"_s;
    default:
        return QString::fromLatin1(
            QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error));
    }
}

// Qt at times reports a body that the server cut short as a success. It drops Content-Length
// from replies it decompresses itself, so only bodies as sent are checked here.
std::optional<qint64> cutShortOf(const QNetworkReply &reply, qint64 received)
{
    bool isNumber = false;
    const qint64 declared = reply.rawHeader("Content-Length").trimmed().toLongLong(&isNumber);
    if (isNumber && declared != received)
        return declared;
    return std::nullopt;
}

// When the request names no Accept-Encoding, Qt advertises these codings and undoes them
// itself, keeping the header; any other coding reaches us as the server sent it.
QByteArray codingLeftToUs(const QNetworkReply &reply, bool advertisedByUs)
{
    static const QByteArrayList undoneByQt = {"gzip", "deflate", "br", "zstd"};
    const QByteArray coding = reply.rawHeader("Content-Encoding");
    if (!advertisedByUs && undoneByQt.contains(coding.trimmed().toLower()))
        return {};
    return coding;
}

} // namespace

ExchangeJob::ExchangeJob(const QByteArray &method, const QString &url, const RawHeaders &headers,
                         const QByteArray &body, QIODevice &sink, const HttpOptions &options,
                         QObject *parent)
    : QObject(parent)
    , m_sink(sink)
    , m_options(options)
{
    m_end.method = method;
    m_end.url = url;
    const std::optional<QUrl> target = webUrl(url);
    if (!target) {
        WarnFailure(QString::fromLatin1(method), u"not an http or https address"_s);
        m_end.failure = NetFailure::Broken;
        m_finished = true;
        QMetaObject::invokeMethod(this, &ExchangeJob::finished, Qt::QueuedConnection);
        return;
    }
    m_url = *target;
    const QNetworkRequest request = requestFor(*target, headers, options);
    m_codingAdvertised = !request.rawHeader("Accept-Encoding").isEmpty();
    m_manager.setProxyFactory(new SystemProxyFactory);
    m_reply.reset(method == "POST" ? m_manager.post(request, body) : m_manager.get(request));
    connect(m_reply.get(), &QNetworkReply::readyRead, this, &ExchangeJob::drain);
    connect(m_reply.get(), &QNetworkReply::finished, this, &ExchangeJob::finish);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        stop(NetFailure::TimedOut,
             u"no end within the deadline of "_s + seconds(m_options.deadline));
    });
    if (options.deadline.count() > 0)
        m_deadline.start(options.deadline);
}

ExchangeJob::~ExchangeJob()
{
    abandon();
}

void ExchangeJob::abandon()
{
    m_deadline.stop();
    if (m_finished || !m_reply)
        return;
    m_finished = true;
    disconnect(m_reply.get(), nullptr, this, nullptr);
    m_reply->abort();
}

void ExchangeJob::stop(NetFailure kind, const QString &reason)
{
    m_failureKind = kind;
    m_failure = reason;
    m_reply->abort();
}

void ExchangeJob::drain()
{
    if (!m_failure.isEmpty() || !m_reply->isOpen())
        return;
    const QByteArray chunk = m_reply->readAll();
    m_received += chunk.size();
    if (m_received > m_options.maxBodyBytes)
        stop(NetFailure::Broken,
             u"over the cap of "_s + QString::number(m_options.maxBodyBytes) + u" bytes"_s);
    else if (m_sink.write(chunk) != chunk.size())
        stop(NetFailure::Broken, u"write error: "_s + writeFailure(m_sink, chunk));
}

void ExchangeJob::finish()
{
    if (m_finished)
        return;
    // The reply is in: from here on no timer of ours may turn it into a failure, however
    // long the caller's loop is held up (a modal dialog opened during the wait).
    m_deadline.stop();
    m_finished = true;
    conclude();
    Q_EMIT finished();
}

void ExchangeJob::conclude()
{
    drain();
    const QNetworkReply &reply = *m_reply;
    if (m_failure.isEmpty() && exchangeFailed(reply)) {
        m_failureKind = failureKind(reply.error());
        m_failure = errorReason(reply.error(), m_options);
    }
    if (const auto declared = cutShortOf(reply, m_received); m_failure.isEmpty() && declared) {
        m_failureKind = NetFailure::Broken;
        m_failure = u"cut short at "_s + QString::number(m_received) + u" of "_s +
                    QString::number(*declared) + u" bytes"_s;
    }
    if (!m_failure.isEmpty()) {
        m_end.failure = m_failureKind;
        if (m_failureKind == NetFailure::Redirected) {
            m_end.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            m_end.redirected = true;
        }
        WarnFailure(m_end.request(), m_failure);
        return;
    }
    m_end.complete = true;
    m_end.failure = NetFailure::None;
    m_end.redirected = answeredElsewhere(m_url, reply.url());
    m_end.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_end.contentType = reply.rawHeader("Content-Type");
    m_end.codingLeftToUs = codingLeftToUs(reply, m_codingAdvertised);
}

ExchangeEnd LinkedExchange(const QByteArray &method, const QString &url, const RawHeaders &headers,
                           const QByteArray &body, QIODevice &sink, const HttpOptions &options)
{
    ExchangeJob job(method, url, headers, body, sink, options);
    // Waits in a local event loop, so the caller's events keep flowing while the CPU idles.
    const QPointer<QObject> context = options.context;
    const bool guarded = !context.isNull();
    QEventLoop loop;
    QObject::connect(&job, &ExchangeJob::finished, &loop, &QEventLoop::quit);
    if (guarded)
        QObject::connect(context.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    if (!job.isFinished())
        loop.exec(options.waitFlags);

    if (!job.isFinished() || (guarded && context.isNull())) {
        qCDebug(lcNet, "%ls: the wait ended first (window gone or application quitting)",
                qUtf16Printable(job.end().request()));
        job.abandon();
        ExchangeEnd abandoned;
        abandoned.method = job.end().method;
        abandoned.url = job.end().url;
        return abandoned;
    }
    return job.end();
}

} // namespace GetPostByXmlHttp
