#include "GetPostByXmlHttp.h"
#include "StandInServer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace GetPostByXmlHttp;
using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Headers that Qt adds to every request by itself.
const QByteArrayList qtOwnHeaders = {"Host", "Connection", "Accept-Encoding", "Accept-Language",
                                     "User-Agent"};

const QByteArray acceptedTypes =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, "
    "application/x-silverlight, */*";

const qsizetype defaultCap = HttpOptions().maxBodyBytes;

const QByteArray pageText = QByteArray("<div>译文 translation</div>\r\n").repeated(40);

QString fetch(const QByteArray &method, const QString &url, const HttpOptions &options = {})
{
    return method == "GET" ? HttpGetText(url, options)
                           : HttpPostText(url, u"q=%E4%B8%AD"_s, options);
}

CannedReply withFault(CannedReply reply, CannedReply::Fault fault)
{
    reply.fault = fault;
    return reply;
}

} // namespace

class TestHttp final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void postSendsTheBrowserHeaders_data();
    void postSendsTheBrowserHeaders();
    void getSendsNoHeaderOfItsOwn();
    void replyShapes_data();
    void replyShapes();
    void stopsDownloadingPastTheCap_data();
    void stopsDownloadingPastTheCap();
    void refusedConnectionGivesEmptyText_data();
    void refusedConnectionGivesEmptyText();
    void onlyWebAddressesAreFetched_data();
    void onlyWebAddressesAreFetched();
    void postRedirectedBy303ArrivesAsGet();
    void keepsNoCookieBetweenCalls();
    void eventsFlowDuringTheWait_data();
    void eventsFlowDuringTheWait();
    void destroyedContextEndsTheWait_data();
    void destroyedContextEndsTheWait();
    void quittingApplicationEndsTheWait();
};

void TestHttp::postSendsTheBrowserHeaders_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QByteArray>("contentLength");

    QTest::newRow("five characters") << u"a=b&c"_s << "5"_ba;
    QTest::newRow("empty") << QString() << "0"_ba;
    QTest::newRow("percent-encoded text") << u"text=%E4%B8%AD%20x&to=en"_s << "24"_ba;
}

void TestHttp::postSendsTheBrowserHeaders()
{
    QFETCH(QString, body);
    QFETCH(QByteArray, contentLength);

    StandInServer server;
    server.serve("/translate", CannedReply::page(200, "ok"));
    const QString url = server.url(u"/translate?from=zh%20CN&q=%E4%B8%AD");

    QCOMPARE(HttpPostText(url, body), u"ok"_s);

    QCOMPARE(server.requests().size(), 1);
    const RecordedRequest request = server.lastRequest();
    QCOMPARE(request.requestLine, "POST /translate?from=zh%20CN&q=%E4%B8%AD HTTP/1.1"_ba);
    const HeaderList expected = {
        {"Host", "127.0.0.1:" + QByteArray::number(server.port())},
        {"Accept", acceptedTypes},
        {"Referer", url.toUtf8()},
        {"Content-Type", "application/x-www-form-urlencoded"},
        {"Accept-Encoding", "gzip, deflate"},
        {"Content-Length", contentLength},
        {"Connection", "Keep-Alive"},
        {"Cache-Control", "no-cache"},
    };
    QVERIFY(request.headers.size() >= expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(request.headers[i], expected[i]);
    for (const QByteArray &name : request.headerNames().mid(expected.size()))
        QVERIFY2(qtOwnHeaders.contains(name), name.constData());
    QCOMPARE(request.body, body.toUtf8());
    QVERIFY(request.raw.endsWith(QByteArray("\r\n\r\n" + body.toUtf8())));
}

void TestHttp::getSendsNoHeaderOfItsOwn()
{
    StandInServer server;
    server.serve("/translate_a/t", CannedReply::page(200, "ok"));

    QCOMPARE(HttpGetText(server.url(u"/translate_a/t?client=t&q=a%20b%E4%B8%AD")), u"ok"_s);

    const RecordedRequest request = server.lastRequest();
    QCOMPARE(request.requestLine, "GET /translate_a/t?client=t&q=a%20b%E4%B8%AD HTTP/1.1"_ba);
    for (const QByteArray &name : request.headerNames())
        QVERIFY2(qtOwnHeaders.contains(name), name.constData());
    // Qt advertises what it can decode itself; the POST's value would be ours.
    QVERIFY(request.header("Accept-Encoding") != "gzip, deflate");
    QVERIFY(request.body.isEmpty());
}

void TestHttp::replyShapes_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<qsizetype>("maxBodyBytes");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<QString>("text");

    const auto row = [](const QByteArray &method, const char *name, const CannedReply &reply,
                        const QString &text, qsizetype maxBodyBytes = defaultCap,
                        int timeoutMs = 10000) {
        QTest::addRow("%s %s", method.constData(), name)
            << method << reply << maxBodyBytes << timeoutMs << text;
    };
    const auto both = [&row](const char *name, const CannedReply &reply, const QString &text,
                             qsizetype maxBodyBytes = defaultCap, int timeoutMs = 10000) {
        for (const QByteArray &method : {"GET"_ba, "POST"_ba})
            row(method, name, reply, text, maxBodyBytes, timeoutMs);
    };
    const QString page = QString::fromUtf8(pageText);
    const CannedReply gzip = CannedReply::compressed(Compression::Gzip, pageText);
    using Fault = CannedReply::Fault;

    both("200 page", CannedReply::page(200, pageText), page);
    both("404 page is a result", CannedReply::page(404, "<h1>Not here</h1>"),
         u"<h1>Not here</h1>"_s);
    both("500 page is a result", CannedReply::page(500, "broken"), u"broken"_s);
    both("empty body", CannedReply::page(200, ""), QString());
    both("gzip", gzip, page);
    both("deflate in zlib form", CannedReply::compressed(Compression::Zlib, pageText), page);
    both("deflate in raw form", CannedReply::compressed(Compression::RawDeflate, pageText), page);
    CannedReply xgzip = CannedReply::page(200, compress(pageText, Compression::Gzip));
    xgzip.addHeader("Content-Encoding", "x-gzip");
    both("x-gzip, which Qt leaves to us", xgzip, page);
    CannedReply corrupt = gzip;
    corrupt.body[corrupt.body.size() / 2] =
        static_cast<char>(corrupt.body[corrupt.body.size() / 2] ^ 0x55);
    both("corrupt gzip", corrupt, QString());
    CannedReply unknownCoding = CannedReply::page(200, pageText);
    unknownCoding.addHeader("Content-Encoding", "compress");
    both("unknown coding", unknownCoding, QString());
    both("GBK page", CannedReply::page(200, "\xd6\xd0\xce\xc4\xe9\x46", "text/html; charset=GBK"),
         u"中文镕"_s);

    both("closed mid-body", withFault(CannedReply::page(200, pageText), Fault::CloseMidBody),
         QString());
    both("reset mid-body", withFault(CannedReply::page(200, pageText), Fault::ResetMidBody),
         QString());
    // Qt 6.4 at times reports such a large body cut short as a success.
    const QByteArray large(3'000'000, 'x');
    both("large page closed mid-body",
         withFault(CannedReply::page(200, large), Fault::CloseMidBody), QString());
    both("large page reset mid-body", withFault(CannedReply::page(200, large), Fault::ResetMidBody),
         QString());
    both("gzip closed mid-body", withFault(gzip, Fault::CloseMidBody), QString());
    CannedReply streamCut = gzip;
    streamCut.body.chop(8);
    both("gzip stream without its end", streamCut, QString());
    CannedReply redirectLoop = CannedReply::page(302, "again");
    redirectLoop.addHeader("Location", "/reply");
    both("redirect loop", redirectLoop, QString());

    both("hang, timed out", withFault(CannedReply::page(200, "never"), Fault::Hang), QString(),
         defaultCap, 200);
    both("stall mid-body, timed out",
         withFault(CannedReply::page(200, pageText), Fault::StallMidBody), QString(), defaultCap,
         200);
    CannedReply slow = CannedReply::page(200, "slow");
    slow.delay = 100ms;
    both("delay within the time-out", slow, u"slow"_s);

    const QByteArray capSized(16 * 1024, 'x');
    both("body at the cap", CannedReply::page(200, capSized), QString::fromLatin1(capSized),
         capSized.size());
    both("body one byte past the cap", CannedReply::page(200, capSized + 'x'), QString(),
         capSized.size());
    both("highly compressed body under the default cap",
         CannedReply::compressed(Compression::Gzip, QByteArray(1 << 20, ' '), "text/plain"),
         QString::fromLatin1(QByteArray(1 << 20, ' ')));
    CannedReply bomb =
        CannedReply::page(200, compress(QByteArray(1 << 20, ' '), Compression::Gzip, 64));
    bomb.addHeader("Content-Encoding", "gzip");
    both("gzip bomb past the default cap", bomb, QString());
}

void TestHttp::replyShapes()
{
    QFETCH(QByteArray, method);
    QFETCH(CannedReply, reply);
    QFETCH(qsizetype, maxBodyBytes);
    QFETCH(int, timeoutMs);
    QFETCH(QString, text);

    StandInServer server;
    server.serve("/reply", reply);
    HttpOptions options;
    options.maxBodyBytes = maxBodyBytes;
    options.timeout = std::chrono::milliseconds(timeoutMs);

    QEXPECT_FAIL("GET gzip closed mid-body",
                 "Qt 6.4 drops Content-Length from a body it decompresses itself and then takes "
                 "the closed connection for the end of the body",
                 Continue);
    QEXPECT_FAIL("GET gzip stream without its end",
                 "Qt 6.4 does not check that a body it decompresses itself reaches the end of "
                 "its stream",
                 Continue);
    QCOMPARE(fetch(method, server.url(u"/reply"), options), text);
    QVERIFY(!server.requests().isEmpty());
}

void TestHttp::stopsDownloadingPastTheCap_data()
{
    refusedConnectionGivesEmptyText_data();
}

void TestHttp::stopsDownloadingPastTheCap()
{
    QFETCH(QByteArray, method);

    StandInServer server;
    CannedReply huge = CannedReply::page(200, QByteArray(64 * 1024, 'x'));
    huge.repeatedBodySize = qsizetype(1) << 30;
    server.serve("/huge", huge);
    HttpOptions options;
    options.maxBodyBytes = 1024 * 1024;

    QCOMPARE(fetch(method, server.url(u"/huge"), options), QString());
    QVERIFY2(server.bodyBytesSent() < huge.repeatedBodySize / 4,
             QByteArray::number(server.bodyBytesSent()).constData());
}

void TestHttp::refusedConnectionGivesEmptyText_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::newRow("GET") << "GET"_ba;
    QTest::newRow("POST") << "POST"_ba;
}

void TestHttp::refusedConnectionGivesEmptyText()
{
    QFETCH(QByteArray, method);
    QCOMPARE(fetch(method, StandInServer::closedPortUrl(u"/translate")), QString());
}

void TestHttp::onlyWebAddressesAreFetched_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");

    // A path on the stand-in server is prefixed with its address.
    QTest::newRow("line break ahead of an injected header")
        << u"/reply\r\nX-Injected: 1"_s << QString();
    QTest::newRow("file") << QString() << u"file:///etc/hostname"_s;
    QTest::newRow("ftp") << QString() << u"ftp://127.0.0.1/reply"_s;
    QTest::newRow("no host") << QString() << u"http:///reply"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestHttp::onlyWebAddressesAreFetched()
{
    QFETCH(QString, path);
    QFETCH(QString, url);

    StandInServer server;
    server.serve("/reply", CannedReply::page(200, "served"));
    const QString target = path.isEmpty() ? url : server.url(path);

    QCOMPARE(HttpGetText(target), QString());
    QCOMPARE(HttpPostText(target, u"q=1"_s), QString());
    QVERIFY(server.requests().isEmpty());
}

void TestHttp::postRedirectedBy303ArrivesAsGet()
{
    StandInServer server;
    CannedReply seeOther = CannedReply::page(303, "see the result");
    seeOther.addHeader("Location", "/result");
    server.serve("/form", seeOther);
    server.serve("/result", CannedReply::page(200, "result"));

    QCOMPARE(HttpPostText(server.url(u"/form"), u"a=b"_s), u"result"_s);

    QCOMPARE(server.requests().size(), 2);
    const RecordedRequest followed = server.lastRequest();
    QCOMPARE(followed.requestLine, "GET /result HTTP/1.1"_ba);
    QVERIFY(!followed.hasHeader("Content-Length"));
    QVERIFY(!followed.hasHeader("Content-Type"));
    QVERIFY(followed.body.isEmpty());
}

void TestHttp::keepsNoCookieBetweenCalls()
{
    StandInServer server;
    CannedReply withCookie = CannedReply::page(200, "first");
    withCookie.addHeader("Set-Cookie", "session=1; Path=/");
    server.serve("/first", withCookie);
    server.serve("/second", CannedReply::page(200, "second"));

    QCOMPARE(HttpGetText(server.url(u"/first")), u"first"_s);
    QCOMPARE(HttpPostText(server.url(u"/second"), u"q=1"_s), u"second"_s);

    QCOMPARE(server.requests().size(), 2);
    QVERIFY(!server.lastRequest().hasHeader("Cookie"));
}

void TestHttp::eventsFlowDuringTheWait_data()
{
    refusedConnectionGivesEmptyText_data();
}

void TestHttp::eventsFlowDuringTheWait()
{
    QFETCH(QByteArray, method);

    StandInServer server;
    CannedReply slow = CannedReply::page(200, "answer");
    slow.delay = 200ms;
    server.serve("/slow", slow);
    bool returned = false;
    bool firedDuringTheWait = false;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [&] { firedDuringTheWait = !returned; });
    timer.start(0);

    const QString text = fetch(method, server.url(u"/slow"));
    returned = true;

    QVERIFY(firedDuringTheWait);
    QCOMPARE(text, u"answer"_s);
}

void TestHttp::destroyedContextEndsTheWait_data()
{
    refusedConnectionGivesEmptyText_data();
}

void TestHttp::destroyedContextEndsTheWait()
{
    QFETCH(QByteArray, method);

    StandInServer server;
    // Without a time limit only the context's end can end this wait.
    server.serve("/never", withFault(CannedReply::page(200, "never"), CannedReply::Fault::Hang));
    QPointer<QObject> window = new QObject;
    connect(&server, &StandInServer::requestReceived, window, &QObject::deleteLater);
    HttpOptions options;
    options.context = window;
    options.timeout = 0ms;

    QCOMPARE(fetch(method, server.url(u"/never"), options), QString());
    QVERIFY(window.isNull());
    QCOMPARE(server.requests().size(), 1);
}

void TestHttp::quittingApplicationEndsTheWait()
{
    StandInServer server;
    server.serve("/never", withFault(CannedReply::page(200, "never"), CannedReply::Fault::Hang));
    connect(&server, &StandInServer::requestReceived, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);
    // Without a time limit only the quit can end this wait.
    HttpOptions noTimeLimit;
    noTimeLimit.timeout = 0ms;
    QString text = u"not called"_s;
    QTimer::singleShot(0, qApp, [&] { text = HttpGetText(server.url(u"/never"), noTimeLimit); });

    QCoreApplication::exec();

    QCOMPARE(text, QString());
}

QTEST_GUILESS_MAIN(TestHttp)
#include "tst_http.moc"
