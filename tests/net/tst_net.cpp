#include "FileDownloader.h"
#include "GetPostByXmlHttp.h"
#include "StandInServer.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <functional>

using namespace GetPostByXmlHttp;
using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Fault = CannedReply::Fault;
Q_DECLARE_METATYPE(GetPostByXmlHttp::HttpOptions)

namespace {

// 2.5 KiB: less than QSaveFile buffers, so a full disk shows only when the buffer is flushed.
const QByteArray page = QByteArray("<html>中文 translation</html>\r\n").repeated(80);
const QString body = u"text=%E4%B8%AD%20x&to=en"_s;
// Three frames of MPEG-1 Layer III silence: what follows them passes the save's gate too.
const QByteArray frames = QByteArray("\xFF\xFB\x10\xC4").append(100, 0).repeated(3);

// A save over b.mp3 of an earlier save: whether it saved, the files of the folder afterwards
// and what b.mp3 then holds. On a full disk, writes past 1 KiB fail: with SIGXFSZ ignored, a
// write past the file-size limit gives EFBIG, as a full disk gives ENOSPC.
QByteArrayList saveOverEarlierFile(const QString &url, const HttpOptions &options, bool fullDisk)
{
    QTemporaryDir folder;
    QFile earlier(folder.filePath(u"b.mp3"_s));
    if (!earlier.open(QIODevice::WriteOnly) || !earlier.write("earlier") || !earlier.flush())
        return {};
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit disk{fullDisk ? 1024 : limit.rlim_cur, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &disk);
    const int ok = DownloadToFile(url, earlier.fileName(), options);
    setrlimit(RLIMIT_FSIZE, &limit);
    earlier.close();
    earlier.open(QIODevice::ReadOnly);
    return {QByteArray::number(ok), QDir(folder.path()).entryList(QDir::Files).join(u' ').toUtf8(),
            earlier.readAll()};
}

} // namespace

class TestNet final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void exchange_data();
    void exchange();
    void replyKinds_data();
    void replyKinds();
    void saveTargets_data();
    void saveTargets();
    void proxyChanged();
};

void TestNet::exchange_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<HttpOptions>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning"); // after the method; empty: none
    QTest::addColumn<QString>("url");     // empty: the stand-in server's
    QTest::addColumn<QByteArray>("way");  // "proxy", "full disk", "modal" or "as sent"

    // Options tweaked from each method's own: the save has limits of its own.
    using Tweak = std::function<void(HttpOptions &)>;
    const auto row = [&](const QByteArrayList &methods, const char *name, const CannedReply &reply,
                         const QString &text, const QString &warning = {}, const Tweak &tweak = {},
                         const QString &url = {}, const QByteArray &way = {}) {
        for (const QByteArray &method : methods) {
            HttpOptions options = method == "SAVE" ? SaveOptions(30s) : HttpOptions();
            if (tweak)
                tweak(options);
            QTest::addRow("%s %s", method.constData(), name)
                << method << reply << options << text << warning << url << way;
        }
    };
    const QByteArrayList all = {"GET", "POST", "SAVE"};
    const QString text = QString::fromUtf8(page);
    const QByteArray packed = gzip(page);

    row(all, "through the proxy", CannedReply::page(200, page), text, {}, {}, {}, "proxy");
    row(all, "400 page is the result", CannedReply::page(400, "<h1>gone</h1>"), u"<h1>gone</h1>"_s,
        u"127\\.0\\.0\\.1:\\d+/r: HTTP status 400$"_s);
    const auto coded = [](const QByteArray &coding, const QByteArray &body) {
        return CannedReply{200, {{"Content-Encoding", coding}}, body};
    };
    row({"POST"}, "x-gzip", coded(" X-GZIP ", packed), text);
    // A zlib stream: qCompress's without the length it puts first.
    row({"POST"}, "deflate, zlib", coded("deflate", qCompress(page, 9).mid(4)), text);
    row({"POST"}, "gzip of many pieces", coded("gzip", gzip(page, 100)), text.repeated(100));
    row({"POST"}, "gzip cut short", coded("gzip", packed.chopped(4)), {}, u"corrupt"_s);
    row({"POST"}, "gzip past the cap in pieces",
        coded("gzip", gzip(QByteArray(1024, ' '), 8 * 1024 + 1)), {}, u"once inflated"_s);
    row({"GET", "POST"}, "GBK labelled gb2312",
        CannedReply::page(200, "\xd6\xd0\xce\xc4\xe9\x46", "text/html;charset=\"gb2312\""),
        u"中文镕"_s);
    row({"GET", "POST"}, "byte-order mark outranks the label",
        CannedReply::page(200, "\xef\xbb\xbf中文", "text/html; charset=gbk"), u"中文"_s);
    row(all, "empty body", CannedReply(), {}, u"empty body"_s);
    row({"SAVE"}, "a page in place of the clip", CannedReply::page(200, page), {},
        u"not MP3 audio"_s, {}, {}, "as sent");
    // The caps as a user meets them: a whole web page of 8 MiB is read, a save of 4 MiB kept.
    for (const auto &[method, cap] :
         {std::pair<QByteArray, qsizetype>{"GET", 8 << 20}, {"POST", 8 << 20}, {"SAVE", 4 << 20}}) {
        const QByteArray atCap(cap, 'x');
        const QString overCap = u"over the cap of %1 bytes"_s.arg(cap);
        row({method}, "body at the cap", CannedReply{200, {}, atCap}, QString::fromLatin1(atCap));
        row({method}, "one byte past the cap", CannedReply{200, {}, atCap, cap + 1}, {}, overCap);
        row({method}, "endless body", CannedReply{200, {}, page, 1LL << 40}, {}, overCap);
    }
    // Transfer-Encoding outranks Content-Length; both at odds is a sign of response splitting.
    row(all, "chunked, at odds with its length",
        {200, {{"Transfer-Encoding", "chunked"}}, "3\r\nabc\r\n0\r\n\r\n"}, {},
        u"cut short at 3 of 13 bytes"_s);
    const QString cut = u"(connection closed by the server|cut short at \\d+ of \\d+ bytes)"_s;
    row(all, "reset mid-body", CannedReply{200, {}, page, 2 << 20, Fault::ResetMidBody}, {}, cut);
    row({"SAVE"}, "full disk", CannedReply::page(200, page), {}, u"write error: File too large"_s,
        {}, {}, "full disk");
    row({"SAVE"}, "full disk, a large body", CannedReply{200, {}, page, 64 << 10}, {},
        u"write error: File too large"_s, {}, {}, "full disk");
    row(all, "hang", CannedReply{200, {}, {}, -1, Fault::Hang}, {},
        u"time-out after 0.2 s without data"_s, [](HttpOptions &o) { o.timeout = 200ms; });
    row(all, "drip", CannedReply{200, {}, page, -1, Fault::Drip}, {},
        u"no end within the deadline of 0.5 s"_s, [](HttpOptions &o) { o.deadline = 500ms; });
    // A modal dialog opened during the wait holds the caller's loop past the deadline, after
    // the reply has come.
    row(
        all, "in by the deadline, read after it", CannedReply::page(200, page), text, {},
        [](HttpOptions &o) { o.deadline = 200ms; }, {}, "modal");
    // https is tried: the services are all https.
    row(all, "refused, https", {}, {}, u"connection refused"_s, {},
        StandInServer::closedPortUrl(u"/r").replace(u"http:"_s, u"https:"_s));
    row(all, "not a web address", {}, {}, u"not an http"_s, {}, u"ftp://127.0.0.1/r"_s);
    row(all, "line break in the address", {}, {}, u"not an http"_s, {}, u"http://a/r\r\nX: 1"_s);
}

void TestNet::exchange()
{
    QFETCH(QByteArray, method);
    QFETCH(CannedReply, reply);
    QFETCH(HttpOptions, options);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    QFETCH(QString, url);
    QFETCH(QByteArray, way);

    // The save keeps only MP3: its bodies begin with MPEG audio frames, unless too short.
    if (method == "SAVE" && way != "as sent" && reply.body.size() >= frames.size())
        reply.body.replace(0, frames.size(), frames);
    StandInServer server, proxy;
    server.serve("/r", reply);
    proxy.serve("/r", reply);
    // A proxy is set, but no_proxy names the host, except on the "proxy" way.
    qputenv("http_proxy", proxy.url(u"").toUtf8());
    qputenv("no_proxy", way == "proxy" ? "" : "127.0.0.1");
    const QString target = url.isEmpty() ? server.url(u"/r?from=zh%20CN&q=%E4%B8%AD") : url;
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"(GET|POST).*"_s + warning));
    // The user opens a modal dialog while the reply is on its way: a nested loop, entered from
    // input as a click enters it (a socket's notifier, where timers go on firing), that outlasts
    // the deadline.
    QTcpServer input;
    QTcpSocket click;
    if (way == "modal") {
        QVERIFY(input.listen(QHostAddress::LocalHost));
        connect(&input, &QTcpServer::newConnection, [] {
            QEventLoop modal;
            QTimer::singleShot(600ms, &modal, &QEventLoop::quit);
            modal.exec();
        });
        server.setHandler("/r", [reply, &input, &click](const RecordedRequest &) {
            click.connectToHost(QHostAddress::LocalHost, input.serverPort());
            return reply;
        });
    }
    if (method == "SAVE")
        QCOMPARE(saveOverEarlierFile(target, options, way == "full disk"),
                 QByteArrayList({QByteArray::number(warning.isEmpty()), "b.mp3",
                                 warning.isEmpty() ? reply.body : "earlier"}));
    else
        QCOMPARE(method == "GET" ? HttpGetText(target, options)
                                 : HttpPostText(target, body, options),
                 text);

    // What went on the wire, and where, whatever came back.
    const QList<RecordedRequest> seen = proxy.requests() + server.requests();
    QCOMPARE(seen.size(), url.isEmpty() ? 1 : 0);
    QCOMPARE(proxy.requests().size(), way == "proxy" ? 1 : 0);
    if (seen.isEmpty())
        return;
    const QByteArray sent =
        proxy.requests().isEmpty() ? "/r?from=zh%20CN&q=%E4%B8%AD" : target.toUtf8();
    QCOMPARE(seen[0].requestLine, (method == "POST" ? "POST " : "GET ") + sent + " HTTP/1.1");
    QCOMPARE(seen[0].body, method == "POST" ? body.toUtf8() : QByteArray());
    if (method == "POST")
        QCOMPARE(seen[0].headers.mid(1, 7),
                 HeaderList({{"Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                                        "application/x-shockwave-flash, application/vnd.ms-excel, "
                                        "application/vnd.ms-powerpoint, application/msword, "
                                        "application/x-silverlight, */*"},
                             {"Referer", target.toUtf8()},
                             {"Content-Type", "application/x-www-form-urlencoded"},
                             {"Accept-Encoding", "gzip, deflate"},
                             {"Content-Length", "24"},
                             {"Connection", "Keep-Alive"},
                             {"Cache-Control", "no-cache"}}));
    else
        QVERIFY(seen[0].header("Referer").isNull());
}

// What the roads read of a reply besides its text: the status, a page that answered from
// elsewhere, and why no reply came.
void TestNet::replyKinds_data()
{
    QTest::addColumn<QString>("path"); // on the stand-in server, or a whole URL
    QTest::addColumn<QString>("kind"); // "status redirected failure"
    QTest::newRow("redirected") << u"/moved"_s << u"200 1 0"_s;
    QTest::newRow("host not found") << u"http://nowhere.invalid/r"_s << u"0 0 2"_s;
    QTest::newRow("time-out") << u"/hang"_s << u"0 0 3"_s;
    QTest::newRow("cut short") << u"/reset"_s << u"0 0 4"_s;
    // Redirects that lead nowhere are answers all the same.
    QTest::newRow("redirect loop") << u"/loop"_s << u"302 1 5"_s;
    QTest::newRow("redirect without Location") << u"/nowhere"_s << u"302 1 5"_s;
    QTest::newRow("redirect to another scheme") << u"/ftp"_s << u"302 1 5"_s;
}

void TestNet::replyKinds()
{
    QFETCH(QString, path);
    QFETCH(QString, kind);
    StandInServer server;
    server.serve("/moved", {302, {{"Location", "/error"}}, {}});
    server.serve("/error", CannedReply::page(200, "<html>error</html>"));
    server.serve("/hang", {200, {}, {}, -1, Fault::Hang});
    server.serve("/reset", {200, {}, page, 2 << 20, Fault::ResetMidBody});
    server.serve("/loop", {302, {{"Location", "/loop"}}, {}});
    server.serve("/nowhere", {302, {}, {}});
    server.serve("/ftp", {302, {{"Location", "ftp://127.0.0.1/r"}}, {}});
    qputenv("no_proxy", "127.0.0.1,nowhere.invalid");
    if (kind != u"200 1 0"_s) // the failures' warnings are exchange()'s to check
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"."_s));
    HttpOptions options;
    options.timeout = 200ms;
    const HttpReply reply = HttpGetReply(path.startsWith(u'/') ? server.url(path) : path, options);
    QCOMPARE(u"%1 %2 %3"_s.arg(reply.status).arg(int(reply.redirected)).arg(int(reply.failure)),
             kind);
}

// A save replaces a regular file or nothing, never what is at the path before the download,
// nor what takes it during the download: that fails before anyone is told the file is saved.
void TestNet::saveTargets_data()
{
    QTest::addColumn<bool>("fifo"); // at the path before the save; else nothing
    QTest::addColumn<QString>("reason");
    QTest::newRow("a FIFO") << true << u"write the file: not a regular file but a FIFO"_s;
    QTest::newRow("a folder made during the download")
        << false << u"put the file in place: not a regular file but a folder"_s;
}

void TestNet::saveTargets()
{
    QFETCH(bool, fifo);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    QSaveFile save(folder.filePath(u"a.mp3"_s));
    const QByteArray name = QFile::encodeName(save.fileName());
    QVERIFY(!fifo || mkfifo(name, 0600) == 0);
    StandInServer server;
    server.setHandler("/clip", [&](const RecordedRequest &) {
        QDir(folder.path()).mkdir(u"a.mp3"_s);
        return CannedReply::page(200, frames);
    });
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"/clip: cannot "_s + reason + u'$'));
    QVERIFY(!DownloadInto(server.url(u"/clip"), save, SaveOptions(30s)));
    struct stat after = {};
    QVERIFY(lstat(name, &after) == 0 && !S_ISREG(after.st_mode));
}

// An address asked again goes the way the proxy variables say now, not the way they said.
void TestNet::proxyChanged()
{
    StandInServer server, proxy;
    server.serve("/r", CannedReply::page(200, page));
    proxy.serve("/r", CannedReply::page(200, page));
    qputenv("http_proxy", proxy.url(u"").toUtf8());
    for (const char *noProxy : {"127.0.0.1", ""}) {
        qputenv("no_proxy", noProxy);
        QCOMPARE(HttpGetText(server.url(u"/r")), QString::fromUtf8(page));
    }
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(proxy.requests().size(), 1);
}

QTEST_GUILESS_MAIN(TestNet)
#include "tst_net.moc"
