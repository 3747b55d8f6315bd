#include "FileDownloader.h"
#include "StandInServer.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

using namespace GetPostByXmlHttp;
using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Fault = CannedReply::Fault;

namespace {

// 8 KiB: less than QSaveFile buffers, so a full disk shows only when the buffer is flushed.
const QByteArray audio = QByteArray("ID3 spoken clip ").repeated(512);
const QByteArray earlier = "earlier audio, byte for byte";

// A folder holding b.mp3 from an earlier save.
struct Target
{
    QTemporaryDir dir;
    QString path = dir.filePath(u"b.mp3"_s);

    Target()
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
    }
    QByteArray content() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }
};

HttpOptions quick()
{
    HttpOptions options;
    options.timeout = 300ms;
    options.deadline = 1s;
    options.maxBodyBytes = MaxDownloadBytes;
    return options;
}

CannedReply clip(Fault fault = Fault::None, qsizetype size = -1)
{
    CannedReply reply = CannedReply::page(200, audio, "audio/mpeg");
    reply.fault = fault;
    reply.repeatedBodySize = size;
    return reply;
}

} // namespace

class TestDownload final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void download_data();
    void download();
    void fullDiskKeepsTheOldFile();
    void roadsThroughTheProxy_data();
    void roadsThroughTheProxy();
};

void TestDownload::download_data()
{
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<QString>("warning"); // empty: the download succeeds

    QTest::newRow("clip") << clip() << QString();
    QTest::newRow("404") << CannedReply::page(404, "not found") << u"/tts: HTTP status 404$"_s;
    QTest::newRow("closed mid-body") << clip(Fault::CloseMidBody) << u"closed|cut short"_s;
    QTest::newRow("reset mid-body") << clip(Fault::ResetMidBody, 3 << 20) << u"closed|cut short"_s;
    QTest::newRow("stall") << clip(Fault::StallMidBody) << u"time-out after 0.3 s"_s;
    QTest::newRow("drip") << clip(Fault::Drip) << u"deadline of 1 s"_s;
    QTest::newRow("endless") << clip(Fault::None, 1LL << 40) << u"over the cap of 4194304"_s;
}

void TestDownload::download()
{
    QFETCH(CannedReply, reply);
    QFETCH(QString, warning);
    StandInServer server;
    server.serve("/tts", reply);
    Target target;

    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u"^GET 127.0.0.1:\\d+.*"_s + warning));
    QCOMPARE(DownloadToFile(server.url(u"/tts?q=secret"), target.path, quick()), warning.isEmpty());
    QCOMPARE(target.content(), warning.isEmpty() ? audio : earlier);
    QCOMPARE(target.files(), QStringList{u"b.mp3"_s});
}

void TestDownload::fullDiskKeepsTheOldFile()
{
    StandInServer server;
    server.serve("/tts", clip());
    Target target;
    QProcess child;
    child.setChildProcessModifier([] {
        // Writes past 1 KiB fail as on a full disk: with SIGXFSZ ignored, write() gives EFBIG.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    child.start(QCoreApplication::applicationFilePath(),
                {u"--save"_s, server.url(u"/tts"), target.path});
    QTRY_COMPARE(child.state(), QProcess::NotRunning);
    QCOMPARE(child.exitCode(), 1);
    QCOMPARE(target.content(), earlier);
    QCOMPARE(target.files(), QStringList{u"b.mp3"_s});
}

void TestDownload::roadsThroughTheProxy_data()
{
    QTest::addColumn<QByteArray>("road");
    QTest::addColumn<bool>("proxied");
    for (const char *road : {"GET", "POST", "save"}) {
        QTest::addRow("%s through the proxy", road) << QByteArray(road) << true;
        QTest::addRow("%s past it, no_proxy naming the host", road) << QByteArray(road) << false;
    }
}

void TestDownload::roadsThroughTheProxy()
{
    QFETCH(QByteArray, road);
    QFETCH(bool, proxied);
    StandInServer proxy;
    StandInServer service;
    proxy.serve("/tts", clip());
    service.serve("/tts", clip());
    qputenv("http_proxy", proxy.url(u"").toUtf8());
    qputenv("no_proxy", proxied ? "" : "127.0.0.1");
    const auto restore = qScopeGuard([] {
        qunsetenv("http_proxy");
        qunsetenv("no_proxy");
    });
    const QString url = service.url(u"/tts");
    Target target;

    QVERIFY(road == "GET"    ? !HttpGetText(url).isEmpty()
            : road == "POST" ? !HttpPostText(url, u"q=1"_s).isEmpty()
                             : DownloadToFile(url, target.path, quick()));
    QCOMPARE(proxy.requests().size(), proxied ? 1 : 0);
    QCOMPARE(service.requests().size(), proxied ? 0 : 1);
    QCOMPARE(proxy.lastRequest().target, proxied ? url.toUtf8() : QByteArray());
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The child of fullDiskKeepsTheOldFile.
    if (argc == 4 && qstrcmp(argv[1], "--save") == 0)
        return DownloadToFile(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]), quick()) ? 0
                                                                                               : 1;
    TestDownload test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_download.moc"
