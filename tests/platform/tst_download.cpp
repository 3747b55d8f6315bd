#include "FileDownloader.h"
#include "StandInServer.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
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
const HttpOptions quick{300ms, 1s, MaxDownloadBytes};

// The files of the folder, name and content.
QStringList files(const QTemporaryDir &folder)
{
    QStringList files;
    for (const QFileInfo &info : QDir(folder.path()).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        files << info.fileName() + u':' + (file.open(QIODevice::ReadOnly) ? file.readAll() : "");
    }
    return files;
}

} // namespace

class TestDownload final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void save_data();
    void save();
    void roadsThroughTheProxy_data();
    void roadsThroughTheProxy();
};

void TestDownload::save_data()
{
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<QString>("warning"); // empty: the save succeeds
    QTest::addColumn<bool>("fullDisk");

    const auto clip = [](Fault fault = Fault::None, qsizetype size = -1) {
        return CannedReply{200, {}, audio, size, {}, fault};
    };
    QTest::newRow("clip") << clip() << QString() << false;
    QTest::newRow("404") << CannedReply::page(404, "gone") << u"/tts: HTTP status 404$"_s << false;
    QTest::newRow("reset mid-body")
        << clip(Fault::ResetMidBody, 3 << 20) << u"closed|cut short"_s << false;
    QTest::newRow("stall") << clip(Fault::StallMidBody) << u"time-out after 0.3 s"_s << false;
    QTest::newRow("drip") << clip(Fault::Drip) << u"deadline of 1 s"_s << false;
    QTest::newRow("endless") << clip(Fault::None, 1LL << 40) << u"over the cap of 4194304"_s
                             << false;
    QTest::newRow("full disk") << clip() << u"write error"_s << true;
}

void TestDownload::save()
{
    QFETCH(CannedReply, reply);
    QFETCH(QString, warning);
    QFETCH(bool, fullDisk);
    QTest::failOnWarning(QRegularExpression(u"."_s));
    StandInServer server;
    server.serve("/tts", reply);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"b.mp3"_s);
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") && earlier.flush());

    QProcess child;
    child.setChildProcessModifier([] {
        // Writes past 1 KiB fail as on a full disk: with SIGXFSZ ignored, write() gives EFBIG.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    if (fullDisk) {
        child.start(QCoreApplication::applicationFilePath(), {server.url(u"/tts"), path});
        QTRY_COMPARE(child.state(), QProcess::NotRunning);
        QVERIFY(child.readAllStandardError().contains(warning.toUtf8()));
        QCOMPARE(child.exitCode(), 1);
    } else {
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"^GET 127.0.0.1:\\d+.*"_s + warning));
        QCOMPARE(DownloadToFile(server.url(u"/tts?q=secret"), path, quick), warning.isEmpty());
    }
    QCOMPARE(files(folder), QStringList(u"b.mp3:"_s + (warning.isEmpty() ? audio : "earlier")));
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
    proxy.serve("/tts", CannedReply::page(200, audio));
    service.serve("/tts", CannedReply::page(200, audio));
    qputenv("http_proxy", proxy.url(u"").toUtf8());
    qputenv("no_proxy", proxied ? "" : "127.0.0.1");
    const QString url = service.url(u"/tts");
    QTemporaryDir folder;

    const bool done = road == "GET"    ? !HttpGetText(url).isEmpty()
                      : road == "POST" ? !HttpPostText(url, u"q=1"_s).isEmpty()
                                       : DownloadToFile(url, folder.filePath(u"a.mp3"_s), quick);
    qunsetenv("http_proxy");
    QVERIFY(done);
    QCOMPARE(proxy.lastRequest().target, proxied ? url.toUtf8() : QByteArray());
    QCOMPARE(service.requests().size() + proxy.requests().size(), 1);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The child of the full-disk row: a save under a file-size limit.
    if (argc == 3 && qstrncmp(argv[1], "http:", 5) == 0)
        return DownloadToFile(QString::fromUtf8(argv[1]), QString::fromUtf8(argv[2]), quick) ? 0
                                                                                             : 1;
    TestDownload test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_download.moc"
