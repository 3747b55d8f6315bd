#include "Exchange.h"

#include "NetLog.h"

#include <QByteArrayList>
#include <QIODevice>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace GetPostByXmlHttp {

namespace {

// Follows the system's proxy settings (http_proxy, https_proxy, no_proxy, the desktop's) for
// this call's manager only, leaving the application-wide factory alone.
class SystemProxyFactory final : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};

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

ExchangeEnd Exchange(const QByteArray &method, const QString &url, const RawHeaders &headers,
                     const QByteArray &body, QIODevice &sink, const HttpOptions &options)
{
    ExchangeEnd end;
    end.request = DescribeRequest(method, url);
    const std::optional<QUrl> target = webUrl(url);
    if (!target) {
        WarnFailure(QString::fromLatin1(method), u"not an http or https address"_s);
        return end;
    }
    const QNetworkRequest request = requestFor(*target, headers, options);
    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxyFactory);
    const std::unique_ptr<QNetworkReply> reply(method == "POST" ? manager.post(request, body)
                                                                : manager.get(request));

    qint64 received = 0;
    QString failure; // the reason of an end of our own making
    const auto stop = [&](const QString &reason) {
        failure = reason;
        reply->abort();
    };
    const auto drain = [&] {
        if (!failure.isEmpty() || !reply->isOpen())
            return;
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (received > options.maxBodyBytes)
            stop(u"over the cap of "_s + QString::number(options.maxBodyBytes) + u" bytes"_s);
        else if (sink.write(chunk) != chunk.size())
            stop(u"write error: "_s + sink.errorString());
    };

    // Waits in a local event loop, so the caller's events keep flowing while the CPU idles.
    const QPointer<QObject> context = options.context;
    const bool guarded = !context.isNull();
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        stop(u"no end within the deadline of "_s + seconds(options.deadline));
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, drain);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (guarded)
        QObject::connect(context.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    if (options.deadline.count() > 0)
        deadline.start(options.deadline);
    if (!reply->isFinished())
        loop.exec(options.waitFlags);

    if (!reply->isFinished() || (guarded && context.isNull())) {
        qCDebug(lcNet, "%ls: the wait ended first (window gone or application quitting)",
                qUtf16Printable(end.request));
        reply->abort();
        return end;
    }
    drain();
    if (failure.isEmpty() && exchangeFailed(*reply))
        failure = errorReason(reply->error(), options);
    if (const auto declared = cutShortOf(*reply, received); failure.isEmpty() && declared) {
        failure = u"cut short at "_s + QString::number(received) + u" of "_s +
                  QString::number(*declared) + u" bytes"_s;
    }
    if (!failure.isEmpty()) {
        WarnFailure(end.request, failure);
        return end;
    }
    end.complete = true;
    end.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    end.contentType = reply->rawHeader("Content-Type");
    end.codingLeftToUs = codingLeftToUs(*reply, !request.rawHeader("Accept-Encoding").isEmpty());
    return end;
}

} // namespace GetPostByXmlHttp
