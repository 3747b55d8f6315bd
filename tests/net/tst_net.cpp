#include "GetPostByXmlHttp.h"
#include "ReplyDecoder.h"
#include "StandInServer.h"

#include <QRegularExpression>
#include <QTest>

using namespace GetPostByXmlHttp;
using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Fault = CannedReply::Fault;
Q_DECLARE_METATYPE(GetPostByXmlHttp::HttpOptions)

namespace {

const QByteArray page = QByteArray("<html>中文 translation</html>\r\n").repeated(40);
const QByteArray gbk("\xd6\xd0\xce\xc4\xe9\x46"); // 中文镕; 镕 lies outside GB2312

CannedReply encoded(const QByteArray &coding, const QByteArray &body)
{
    return CannedReply::page(200, body).addHeader("Content-Encoding", coding);
}

CannedReply withFault(CannedReply reply, Fault fault, qsizetype size = -1)
{
    reply.fault = fault;
    reply.repeatedBodySize = size;
    return reply;
}

} // namespace

class TestNet final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void textHelpers_data();
    void textHelpers();
    void decoder_data();
    void decoder();
    void postSendsTheBrowserHeaders();
    void exchange_data();
    void exchange();
    void closedWindowEndsTheWaitQuietly();
};

void TestNet::textHelpers_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const QString &result, const QString &expected) {
        QTest::newRow(name) << result << expected;
    };
    row("encode: empty", UrlEncodeUtf8(u""), QString());
    row("encode: ASCII, every byte escaped", UrlEncodeUtf8(u"A b~\r\n"), u"%41%20%62%7E%0D%0A"_s);
    row("encode: 2, 3 and 4 bytes", UrlEncodeUtf8(u"\u07FF\u0800中😀"),
        u"%DF%BF%E0%A0%80%E4%B8%AD%F0%9F%98%80"_s);
    row("encode: lone surrogate", UrlEncodeUtf8(QString(QChar(0xD800))), u"%3F"_s);
    row("between", TextBetween(u"<a>1</a><a>2</a>", u"<a>", u"</a>"), u"1"_s);
    row("between: end searched after the start", TextBetween(u"<a>1</a>", u"<a>", u"a>"), u"1</"_s);
    row("between: end only before the start", TextBetween(u"</a><a>x", u"<a>", u"</a>"), {});
    row("between: no start", TextBetween(u"x</a>", u"<a>", u"</a>"), {});
    const QString dictionary =
        u"[[[\"Hi\",\"你好\"]],[[\"int\",[\"hi\",\"yo\"]],[\"n\",[\"x\"]]],\"\"]"_s;
    row("google: dictionary", ParseGoogleReply(dictionary, u"GET", 1), u"int:hi,yo\r\nn:x"_s);
    row("google: first segment, English gets a full stop",
        ParseGoogleReply(u"[[[\"Thanks\",\"谢谢\"]],,\"zh\"]", u"GET", 1), u"Thanks."_s);
    row("google: other targets do not", ParseGoogleReply(u"[[[\"Hi\",\"x\"]],,\"\"]", u"GET", 0),
        u"Hi"_s);
    row("google: page text", ParseGoogleReply(u"&amp;quot;a&amp;quot;&lt;br&gt;b &lt;", u"POST", 1),
        u"\"a\"b "_s);
    row("google: mode in lower case is page text", ParseGoogleReply(u"[[[\"a\"]]", u"get", 1),
        u"[[[\"a\"]]"_s);
}

void TestNet::textHelpers()
{
    QFETCH(QString, result);
    QFETCH(QString, expected);
    QCOMPARE(result, expected);
}

void TestNet::decoder_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("coding");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<qsizetype>("cap");
    QTest::addColumn<QString>("text"); // null: not decoded

    const QString pageText = QString::fromUtf8(page);
    const QByteArray gzip = compress(page, Compression::Gzip);
    const auto row = [](const char *name, const QByteArray &raw, const QByteArray &coding,
                        const QByteArray &type, const QString &text, qsizetype cap = 1 << 30) {
        QTest::newRow(name) << raw << coding << type << cap << text;
    };
    row("UTF-8 by default", page, "", "", pageText);
    row("x-gzip, upper case", gzip, " X-GZIP ", "", pageText);
    row("deflate as zlib", compress(page, Compression::Zlib), "deflate", "", pageText);
    row("deflate as raw stream", compress(page, Compression::RawDeflate), "deflate", "", pageText);
    row("codings undone last first", compress(compress(page, Compression::Zlib), Compression::Gzip),
        "deflate, gzip", "", pageText);
    row("gzip without its end", gzip.chopped(4), "gzip", "", {});
    row("unknown coding", page, "br", "", {});
    row("GBK labelled gb2312, quoted", gbk, "", "text/html;charset=\"gb2312\"", u"中文镕"_s);
    row("byte-order mark outranks the label", "\xef\xbb\xbf中文", "", "text/html; charset=gbk",
        u"中文"_s);
    row("plain, at the cap", QByteArray(1000, 'a'), "", "", QString(1000, u'a'), 1000);
    row("plain, one past", QByteArray(1001, 'a'), "", "", {}, 1000);
    row("gzip inflating past the cap in small pieces",
        compress(QByteArray(1000, '\0'), Compression::Gzip, 200), "gzip", "", {}, 100'000);
}

void TestNet::decoder()
{
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, coding);
    QFETCH(QByteArray, type);
    QFETCH(qsizetype, cap);
    QFETCH(QString, text);
    const std::optional<QString> decoded = DecodeReplyBody(raw, coding, type, cap);
    QCOMPARE(decoded.value_or(QString()), text);
    QCOMPARE(decoded.has_value(), !text.isNull());
}

void TestNet::postSendsTheBrowserHeaders()
{
    StandInServer server;
    server.serve("/t", CannedReply::page(200, "ok"));
    const QString url = server.url(u"/t?from=zh%20CN&q=%E4%B8%AD");
    const QString body = u"text=%E4%B8%AD%20x&to=en"_s;

    QCOMPARE(HttpPostText(url, body), u"ok"_s);
    QCOMPARE(HttpGetText(url), u"ok"_s);

    const RecordedRequest post = server.requests().constFirst();
    QCOMPARE(post.requestLine, "POST /t?from=zh%20CN&q=%E4%B8%AD HTTP/1.1"_ba);
    const HeaderList expected = {
        {"Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                   "application/x-shockwave-flash, application/vnd.ms-excel, "
                   "application/vnd.ms-powerpoint, application/msword, "
                   "application/x-silverlight, */*"},
        {"Referer", url.toUtf8()},
        {"Content-Type", "application/x-www-form-urlencoded"},
        {"Accept-Encoding", "gzip, deflate"},
        {"Content-Length", "24"},
        {"Connection", "Keep-Alive"},
        {"Cache-Control", "no-cache"},
    };
    QCOMPARE(post.headers.mid(1, 7), expected);
    QCOMPARE(post.body, body.toUtf8());
    const RecordedRequest get = server.lastRequest();
    QCOMPARE(get.requestLine, "GET /t?from=zh%20CN&q=%E4%B8%AD HTTP/1.1"_ba);
    QVERIFY(get.header("Referer").isNull() && get.header("Cache-Control").isNull());
}

void TestNet::exchange_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<QString>("url"); // empty: the stand-in server's
    QTest::addColumn<HttpOptions>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning"); // what follows the method; empty: none

    const auto row = [](const QByteArrayList &methods, const char *name, const CannedReply &reply,
                        const QString &text, const QString &warning,
                        const HttpOptions &options = {}, const QString &url = {}) {
        for (const QByteArray &method : methods)
            QTest::addRow("%s %s", method.constData(), name)
                << method << reply << url << options << text << warning;
    };
    const QByteArrayList both = {"GET", "POST"};
    const QString pageText = QString::fromUtf8(page);
    const QByteArray atCap(HttpOptions().maxBodyBytes, 'x');
    HttpOptions shortStall;
    shortStall.timeout = 200ms;
    HttpOptions shortDeadline;
    shortDeadline.deadline = 500ms;
    HttpOptions largeCap;
    largeCap.maxBodyBytes = 8 << 20;

    row(both, "404 page is the result", CannedReply::page(404, "<h1>Not here</h1>"),
        u"<h1>Not here</h1>"_s, u"127\\.0\\.0\\.1:\\d+/r: HTTP status 404$"_s);
    row(both, "GBK", CannedReply::page(200, gbk, "text/html; charset=GBK"), u"中文镕"_s, {});
    row({"POST"}, "gzip", encoded("gzip", compress(page, Compression::Gzip)), pageText, {});
    row({"POST"}, "deflate", encoded("deflate", compress(page, Compression::Zlib)), pageText, {});
    row({"POST"}, "corrupt gzip", encoded("gzip", compress(page, Compression::Gzip).chopped(9)), {},
        u"corrupt compression"_s);
    row(both, "empty body", CannedReply::page(200, ""), {}, u"empty body"_s);
    row(both, "closed mid-body", withFault(CannedReply::page(200, page), Fault::CloseMidBody), {},
        u"(connection closed by the server|cut short at \\d+ of 2560 bytes)"_s);
    row(both, "reset mid-body",
        withFault(CannedReply::page(200, atCap), Fault::ResetMidBody, 6 << 20), {},
        u"(connection closed by the server|cut short at \\d+ of 6291456 bytes)"_s, largeCap);
    row(both, "hang", withFault(CannedReply(), Fault::Hang), {},
        u"time-out after 0.2 s without data"_s, shortStall);
    row(both, "drip", withFault(CannedReply::page(200, page), Fault::Drip), {},
        u"no end within the deadline of 0.5 s"_s, shortDeadline);
    row(both, "body at the cap", CannedReply::page(200, atCap), QString::fromLatin1(atCap), {});
    row(both, "endless body", withFault(CannedReply::page(200, page), Fault::None, 1LL << 40), {},
        u"over the cap of 98304 bytes"_s);
    row(both, "refused", {}, {}, u"connection refused"_s, {}, StandInServer::closedPortUrl(u"/r"));
    row(both, "not a web address", {}, {}, u"not an http or https address"_s, {},
        u"file:///etc/hostname"_s);
    row(both, "line break in the address", {}, {}, u"not an http or https address"_s, {},
        u"http://127.0.0.1/r\r\nX-Injected: 1"_s);
}

void TestNet::exchange()
{
    QFETCH(QByteArray, method);
    QFETCH(CannedReply, reply);
    QFETCH(QString, url);
    QFETCH(HttpOptions, options);
    QFETCH(QString, text);
    QFETCH(QString, warning);

    StandInServer server;
    server.serve("/r", reply);
    const QString target = url.isEmpty() ? server.url(u"/r?q=secret") : url;
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^"_s + method + u".*"_s + warning));
    QCOMPARE(method == "GET" ? HttpGetText(target, options)
                             : HttpPostText(target, u"q=1"_s, options),
             text);
}

void TestNet::closedWindowEndsTheWaitQuietly()
{
    StandInServer server;
    server.serve("/never", withFault(CannedReply(), Fault::Hang));
    QPointer<QObject> window = new QObject;
    connect(&server, &StandInServer::requestReceived, window, &QObject::deleteLater);
    HttpOptions options;
    options.context = window;
    options.timeout = options.deadline = 0ms;

    QCOMPARE(HttpPostText(server.url(u"/never"), u"q=1"_s, options), QString());
    QVERIFY(window.isNull());
}

QTEST_GUILESS_MAIN(TestNet)
#include "tst_net.moc"
