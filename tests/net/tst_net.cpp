#include "GetPostByXmlHttp.h"
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

CannedReply coded(const QByteArray &coding, const QByteArray &body)
{
    return {200, {{"Content-Encoding", coding}}, body};
}

} // namespace

class TestNet final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void textHelpers_data();
    void textHelpers();
    void postSendsTheBrowserHeaders();
    void exchange_data();
    void exchange();
};

void TestNet::textHelpers_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("expected");
    const QString dictionary =
        u"[[[\"Hi\",\"你\"]],[[\"int\",[\"hi\",\"yo\"]],[\"n\",[\"x\"]]],\"\"]"_s;

    QTest::newRow("encode") << UrlEncodeUtf8(u"A b~\r\n") << u"%41%20%62%7E%0D%0A"_s;
    QTest::newRow("encode 2, 3, 4 bytes, a lone surrogate")
        << UrlEncodeUtf8(QString(u"\u07FF\u0800中😀"_s + QChar(0xDC00)))
        << u"%DF%BF%E0%A0%80%E4%B8%AD%F0%9F%98%80%3F"_s;
    QTest::newRow("between") << TextBetween(u"<a>1</a><a>2</a>", u"<a>", u"</a>") << u"1"_s;
    QTest::newRow("between, end after start")
        << TextBetween(u"<a>1</a>", u"<a>", u"a>") << u"1</"_s;
    QTest::newRow("between, end before start") << TextBetween(u"</a><a>", u"<a>", u"</a>") << u""_s;
    QTest::newRow("google dictionary")
        << ParseGoogleReply(dictionary, u"GET", 1) << u"int:hi,yo\r\nn:x"_s;
    QTest::newRow("google first segment, English")
        << ParseGoogleReply(u"[[[\"Thanks\",\"谢谢\"]],,\"zh\"]", u"GET", 1) << u"Thanks."_s;
    QTest::newRow("google first segment, other")
        << ParseGoogleReply(u"[[[\"Hi\",\"x\"]],,\"\"]", u"GET", 0) << u"Hi"_s;
    QTest::newRow("google page text")
        << ParseGoogleReply(u"&amp;quot;a&amp;quot;&lt;br&gt;b &lt;", u"POST", 1) << u"\"a\"b "_s;
    QTest::newRow("google mode is case-sensitive")
        << ParseGoogleReply(u"[[[\"a\"]]", u"get", 1) << u"[[[\"a\"]]"_s;
}

void TestNet::textHelpers()
{
    QFETCH(QString, result);
    QFETCH(QString, expected);
    QCOMPARE(result, expected);
}

void TestNet::postSendsTheBrowserHeaders()
{
    StandInServer server;
    server.serve("/t", CannedReply::page(200, "ok"));
    const QString url = server.url(u"/t?from=zh%20CN&q=%E4%B8%AD");
    QCOMPARE(HttpPostText(url, u"text=%E4%B8%AD%20x&to=en"_s), u"ok"_s);
    QCOMPARE(HttpGetText(url), u"ok"_s);

    const RecordedRequest post = server.requests().constFirst();
    QCOMPARE(post.requestLine, "POST /t?from=zh%20CN&q=%E4%B8%AD HTTP/1.1"_ba);
    QCOMPARE(post.headers.mid(1, 7),
             HeaderList({{"Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                                    "application/x-shockwave-flash, application/vnd.ms-excel, "
                                    "application/vnd.ms-powerpoint, application/msword, "
                                    "application/x-silverlight, */*"},
                         {"Referer", url.toUtf8()},
                         {"Content-Type", "application/x-www-form-urlencoded"},
                         {"Accept-Encoding", "gzip, deflate"},
                         {"Content-Length", "24"},
                         {"Connection", "Keep-Alive"},
                         {"Cache-Control", "no-cache"}}));
    QCOMPARE(post.body, "text=%E4%B8%AD%20x&to=en"_ba);
    const RecordedRequest get = server.lastRequest();
    QCOMPARE(get.requestLine, "GET /t?from=zh%20CN&q=%E4%B8%AD HTTP/1.1"_ba);
    QVERIFY(get.header("Referer").isNull() && get.header("Cache-Control").isNull());
}

void TestNet::exchange_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<HttpOptions>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning"); // after the method; empty: none
    QTest::addColumn<QString>("url");     // empty: the stand-in server's

    const auto row = [](const QByteArrayList &methods, const char *name, const CannedReply &reply,
                        const QString &text, const QString &warning = {},
                        const HttpOptions &options = {}, const QString &url = {}) {
        for (const QByteArray &method : methods)
            QTest::addRow("%s %s", method.constData(), name)
                << method << reply << options << text << warning << url;
    };
    const QByteArrayList both = {"GET", "POST"};
    const QString text = QString::fromUtf8(page);
    const QByteArray gzip = compress(page, Compression::Gzip);
    const QByteArray atCap(HttpOptions().maxBodyBytes, 'x');

    row(both, "404 page is the result", CannedReply::page(404, "<h1>gone</h1>"), u"<h1>gone</h1>"_s,
        u" 127\\.0\\.0\\.1:\\d+/r: HTTP status 404$"_s);
    row({"POST"}, "x-gzip", coded(" X-GZIP ", gzip), text);
    row({"POST"}, "deflate, zlib", coded("deflate", compress(page, Compression::Zlib)), text);
    row({"POST"}, "deflate, raw", coded("deflate", compress(page, Compression::RawDeflate)), text);
    row({"POST"}, "codings undone last first",
        coded("gzip, deflate", compress(gzip, Compression::Zlib)), text);
    row({"POST"}, "gzip without its end", coded("gzip", gzip.chopped(4)), {}, u"corrupt"_s);
    row({"POST"}, "unknown coding", coded("br", page), {}, u"corrupt"_s);
    row({"POST"}, "gzip inflating past the cap in pieces",
        coded("gzip", compress(QByteArray(1000, ' '), Compression::Gzip, 200)), {},
        u"over the cap once inflated"_s);
    row(both, "GBK labelled gb2312",
        CannedReply::page(200, "\xd6\xd0\xce\xc4\xe9\x46", "text/html;charset=\"gb2312\""),
        u"中文镕"_s);
    row(both, "byte-order mark outranks the label",
        CannedReply::page(200, "\xef\xbb\xbf中文", "text/html; charset=gbk"), u"中文"_s);
    row(both, "empty body", CannedReply(), {}, u"empty body"_s);
    row(both, "body at the cap", CannedReply{200, {}, atCap}, QString::fromLatin1(atCap));
    row(both, "endless body", CannedReply{200, {}, page, 1LL << 40}, {},
        u"over the cap of 98304 bytes"_s);
    for (const qsizetype size : {qsizetype(-1), qsizetype(6 << 20)}) {
        const QString cut = u"(connection closed by the server|cut short at \\d+ of \\d+ bytes)"_s;
        row(both, "closed mid-body", CannedReply{200, {}, page, size, {}, Fault::CloseMidBody}, {},
            cut, {{}, {}, 8 << 20});
        row(both, "reset mid-body", CannedReply{200, {}, page, size, {}, Fault::ResetMidBody}, {},
            cut, {{}, {}, 8 << 20});
    }
    row(both, "hang", CannedReply{200, {}, {}, -1, {}, Fault::Hang}, {},
        u"time-out after 0.2 s without data"_s, {200ms});
    row(both, "drip", CannedReply{200, {}, page, -1, {}, Fault::Drip}, {},
        u"no end within the deadline of 0.5 s"_s, {30s, 500ms});
    row(both, "refused", {}, {}, u"connection refused"_s, {}, StandInServer::closedPortUrl(u"/r"));
    row(both, "not a web address", {}, {}, u"not an http"_s, {}, u"file:///etc/hostname"_s);
    row(both, "line break in the address", {}, {}, u"not an http"_s, {}, u"http://a/r\r\nX: 1"_s);
}

void TestNet::exchange()
{
    QFETCH(QByteArray, method);
    QFETCH(CannedReply, reply);
    QFETCH(HttpOptions, options);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    QFETCH(QString, url);

    StandInServer server;
    server.serve("/r", reply);
    const QString target = url.isEmpty() ? server.url(u"/r?q=secret") : url;
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^"_s + method + u".*"_s + warning));
    QCOMPARE(method == "GET" ? HttpGetText(target, options) : HttpPostText(target, u"q"_s, options),
             text);
}

QTEST_GUILESS_MAIN(TestNet)
#include "tst_net.moc"
