#include "HttpText.h"

#include "Exchange.h"
#include "NetLog.h"
#include "ReplyDecoder.h"

#include <QBuffer>

using namespace Qt::StringLiterals;

namespace GetPostByXmlHttp {

namespace {

HttpReply fetch(const QByteArray &method, const QString &url, const RawHeaders &headers,
                const QByteArray &body, const HttpOptions &options)
{
    QByteArray raw;
    QBuffer sink(&raw);
    sink.open(QIODevice::WriteOnly);
    const ExchangeEnd end = Exchange(method, url, headers, body, sink, options);
    if (!end.complete)
        return {{}, end.status, end.redirected, end.failure};
    const std::optional<QString> text =
        DecodeReplyBody(raw, end.codingLeftToUs, end.contentType, options.maxBodyBytes);
    if (!text) {
        WarnFailure(end.request(), u"corrupt compression, or over the cap once inflated ("_s +
                                       QString::fromLatin1(end.codingLeftToUs) + u')');
        return {{}, 0, false, NetFailure::Broken};
    }
    if (end.status >= 400) {
        WarnFailure(end.request(), u"HTTP status "_s + QString::number(end.status));
    } else if (text->isEmpty()) {
        WarnFailure(end.request(), u"empty body"_s);
    }
    return {*text, end.status, end.redirected, NetFailure::None};
}

// The request headers of the old browser component's form posts.
RawHeaders formHeaders(const QString &url, qsizetype bodySize)
{
    return {
        {"Accept"_ba, "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                      "application/x-shockwave-flash, application/vnd.ms-excel, "
                      "application/vnd.ms-powerpoint, application/msword, "
                      "application/x-silverlight, */*"_ba},
        {"Referer"_ba, url.toUtf8()},
        {"Content-Type"_ba, "application/x-www-form-urlencoded"_ba},
        {"Accept-Encoding"_ba, "gzip, deflate"_ba},
        {"Content-Length"_ba, QByteArray::number(bodySize)},
        {"Connection"_ba, "Keep-Alive"_ba},
        {"Cache-Control"_ba, "no-cache"_ba},
    };
}

} // namespace

HttpReply HttpGetReply(const QString &url, const HttpOptions &options)
{
    return fetch("GET", url, {}, {}, options);
}

HttpReply HttpPostReply(const QString &url, const QString &body, const HttpOptions &options)
{
    // Bodies are percent-encoded ASCII, so their length in characters is their length in bytes.
    const QByteArray bytes = body.toUtf8();
    return fetch("POST", url, formHeaders(url, bytes.size()), bytes, options);
}

HttpReply HttpPostJson(const QString &url, const QByteArray &json, const HttpOptions &options)
{
    const RawHeaders headers = {
        {"Content-Type"_ba, "application/json"_ba},
        {"Accept"_ba, "application/json"_ba},
    };
    return fetch("POST", url, headers, json, options);
}

HttpReply HttpPostWithHeaders(const QString &url, const RawHeaders &headers, const QByteArray &body,
                              const HttpOptions &options)
{
    return fetch("POST", url, headers, body, options);
}

QString HttpGetText(const QString &url, const HttpOptions &options)
{
    return HttpGetReply(url, options).text;
}

QString HttpPostText(const QString &url, const QString &body, const HttpOptions &options)
{
    return HttpPostReply(url, body, options).text;
}

bool HttpGetInto(const QString &url, QIODevice &sink, const HttpOptions &options)
{
    const ExchangeEnd end = Exchange("GET", url, {}, {}, sink, options);
    if (end.complete && end.status >= 400)
        WarnFailure(end.request(), u"HTTP status "_s + QString::number(end.status));
    return end.complete && end.status < 400;
}

} // namespace GetPostByXmlHttp
