#include "HttpText.h"

#include "ReplyDecoder.h"

#include <QByteArrayList>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>
#include <climits>
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

QNetworkRequest requestFor(const QUrl &url, const HttpOptions &options)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(
        static_cast<int>(std::clamp<qint64>(options.timeout.count(), 0, INT_MAX)));
    return request;
}

void useSystemProxy(QNetworkAccessManager &manager)
{
    manager.setProxyFactory(new SystemProxyFactory);
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

// Qt at times reports a body that the server cut short as a success. It drops Content-Length
// from replies it decompresses itself, so only bodies as sent are checked here.
bool isCutShort(const QNetworkReply &reply, qsizetype received)
{
    bool isNumber = false;
    const qint64 declared = reply.rawHeader("Content-Length").trimmed().toLongLong(&isNumber);
    return isNumber && declared != received;
}

enum class Advertised
{
    ByQt,
    ByUs
};

// When the request names no Accept-Encoding, Qt advertises these codings and undoes them
// itself, keeping the header; any other coding reaches us as the server sent it.
QByteArray codingLeftToUs(const QNetworkReply &reply, Advertised advertised)
{
    static const QByteArrayList undoneByQt = {"gzip", "deflate", "br", "zstd"};
    const QByteArray coding = reply.rawHeader("Content-Encoding");
    if (advertised == Advertised::ByQt && undoneByQt.contains(coding.trimmed().toLower()))
        return {};
    return coding;
}

// Waits in a local event loop, so the caller's events keep flowing while the CPU idles.
QString awaitText(QNetworkReply &reply, Advertised advertised, const HttpOptions &options)
{
    const QPointer<QObject> context = options.context;
    const bool guarded = !context.isNull();
    QByteArray raw;
    bool tooLong = false;
    QEventLoop loop;
    QObject::connect(&reply, &QNetworkReply::readyRead, &loop, [&] {
        raw += reply.readAll();
        if (raw.size() > options.maxBodyBytes) {
            tooLong = true;
            reply.abort();
        }
    });
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (guarded)
        QObject::connect(context.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    if (!reply.isFinished())
        loop.exec();

    // Left before the reply finished: the application is quitting or the context is gone.
    if (!reply.isFinished() || (guarded && context.isNull())) {
        reply.abort();
        return {};
    }
    if (tooLong || exchangeFailed(reply))
        return {};
    raw += reply.readAll();
    if (isCutShort(reply, raw.size()))
        return {};
    return DecodeReplyBody(raw, codingLeftToUs(reply, advertised), reply.rawHeader("Content-Type"),
                           options.maxBodyBytes)
        .value_or(QString());
}

} // namespace

QString HttpGetText(const QString &url, const HttpOptions &options)
{
    const std::optional<QUrl> target = webUrl(url);
    if (!target)
        return {};
    QNetworkAccessManager manager;
    useSystemProxy(manager);
    return awaitText(*manager.get(requestFor(*target, options)), Advertised::ByQt, options);
}

QString HttpPostText(const QString &url, const QString &body, const HttpOptions &options)
{
    const std::optional<QUrl> target = webUrl(url);
    if (!target)
        return {};
    // Bodies are percent-encoded ASCII, so their length in characters is their length in bytes.
    const QByteArray bytes = body.toUtf8();
    QNetworkRequest request = requestFor(*target, options);
    request.setRawHeader("Accept"_ba, "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                                      "application/x-shockwave-flash, application/vnd.ms-excel, "
                                      "application/vnd.ms-powerpoint, application/msword, "
                                      "application/x-silverlight, */*"_ba);
    request.setRawHeader("Referer"_ba, url.toUtf8());
    request.setRawHeader("Content-Type"_ba, "application/x-www-form-urlencoded"_ba);
    request.setRawHeader("Accept-Encoding"_ba, "gzip, deflate"_ba);
    request.setRawHeader("Content-Length"_ba, QByteArray::number(bytes.size()));
    request.setRawHeader("Connection"_ba, "Keep-Alive"_ba);
    request.setRawHeader("Cache-Control"_ba, "no-cache"_ba);

    QNetworkAccessManager manager;
    useSystemProxy(manager);
    return awaitText(*manager.post(request, bytes), Advertised::ByUs, options);
}

} // namespace GetPostByXmlHttp
