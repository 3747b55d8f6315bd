#include "StandInServer.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

const QByteArray GoogleShortReply = "[[[\"Hi\",\"你好\",\"\",\"\"]],,\"zh-CN\"]";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Script mode as a script runs it, its services played by server as the system's proxy.
Run Print(const StandInServer &server, const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"http_proxy"_s, u"http://127.0.0.1:%1"_s.arg(server.port()));
    environment.remove(u"no_proxy"_s);
    environment.remove(u"NO_PROXY"_s);
    // No display: script mode must not need one.
    environment.remove(u"DISPLAY"_s);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    process.setProcessEnvironment(environment);
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(QStringLiteral(BREMO_STANDIN), QStringList{u"--print"_s} + arguments);
    process.write(input);
    process.closeWriteChannel();
    // The server answers from this thread's event loop, so wait in one.
    if (!finished.wait(30000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

class TestPrint final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Output on success only, the reason on failure, and usage errors, which list the
    // language codes, before any request.
    void print_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");  // contained in standard error
        QTest::addColumn<QByteArray>("sent"); // contained in the request; empty: none is made
        QTest::newRow("google") << QStringList{u"你好"_s} << QByteArray()
                                << QByteArray("/translate_a/t") << GoogleShortReply << 0
                                << QByteArray("Hi.\n") << QByteArray()
                                << QByteArray("text=%E4%BD%A0%E5%A5%BD&hl=zh-CN&sl=zh-CN&tl=en&");
        QTest::newRow("languages, standard input")
            << QStringList{u"--from"_s, u"en"_s, u"--to"_s, u"fr"_s, u"-"_s} << QByteArray("a\nb\n")
            << QByteArray("/translate_a/t") << GoogleShortReply << 0 << QByteArray("Hi\n")
            << QByteArray() << QByteArray("text=a%0D%0Ab&hl=zh-CN&sl=en&tl=fr&");
        QTest::newRow("youdao") << QStringList{u"--engine"_s, u"youdao"_s, u"hi"_s} << QByteArray()
                                << QByteArray("/translate")
                                << QByteArray("<textarea name=\"o\">你好,&#10;world</textarea>")
                                << 0 << QByteArray("你好\nworld\n") << QByteArray()
                                << QByteArray("i=%68%69&type=AUTO&");
        QTest::newRow("service fails")
            << QStringList{u"hi"_s} << QByteArray() << QByteArray("/elsewhere") << QByteArray() << 1
            << QByteArray() << QByteArray("bremo: GET services.stand-in.invalid/translate_a/t: ")
            << QByteArray("/translate_a/t?client=t");
        QTest::newRow("no translation in the answer")
            << QStringList{u"hi"_s} << QByteArray() << QByteArray("/translate_a/t")
            << QByteArray("<html></html>") << 1 << QByteArray()
            << QByteArray("bremo: the service's answer held no translation")
            << QByteArray("/translate_a/t?client=t");
        QTest::newRow("unknown language")
            << QStringList{u"--to"_s, u"xx"_s, u"hi"_s} << QByteArray() << QByteArray()
            << QByteArray() << 2 << QByteArray() << QByteArray("zh-CN") << QByteArray();
        QTest::newRow("unknown engine")
            << QStringList{u"--engine"_s, u"bing"_s, u"hi"_s} << QByteArray() << QByteArray()
            << QByteArray() << 2 << QByteArray() << QByteArray("zh-CN") << QByteArray();
        QTest::newRow("no text") << QStringList() << QByteArray() << QByteArray() << QByteArray()
                                 << 2 << QByteArray() << QByteArray("zh-CN") << QByteArray();
        QTest::newRow("empty input")
            << QStringList{u"-"_s} << QByteArray("\n") << QByteArray() << QByteArray() << 2
            << QByteArray() << QByteArray("empty") << QByteArray();
    }

    void print()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, reply);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(QByteArray, sent);
        StandInServer server;
        server.serve(path, CannedReply::page(200, reply));
        const Run run = Print(server, arguments, input);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, out);
        QVERIFY2(run.err.contains(err), run.err.constData());
        QCOMPARE(server.requests().size(), sent.isEmpty() ? 0 : 1);
        QVERIFY(QByteArray(server.lastRequest().target + server.lastRequest().body).contains(sent));
    }

    // The pronunciation of the translation, saved whole or not at all.
    void saveAudio_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("speech"); // the last request; empty: none was made
        QTest::addColumn<QByteArray>("err");
        const QByteArray speech = "http://services.stand-in.invalid/translate_tts?q=Hi.&tl=en";
        QTest::newRow("saved") << u"en"_s << 200 << 0 << QByteArray("Hi.\n") << speech
                               << QByteArray();
        QTest::newRow("refused, old file kept")
            << u"en"_s << 500 << 1 << QByteArray() << speech
            << QByteArray("bremo: GET services.stand-in.invalid/translate_tts: ");
        QTest::newRow("Japanese is not spoken") << u"ja"_s << 200 << 1 << QByteArray()
                                                << QByteArray() << QByteArray("no pronunciation");
    }

    void saveAudio()
    {
        QFETCH(QString, target);
        QFETCH(int, status);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, speech);
        QFETCH(QByteArray, err);
        const QByteArray clip = Contents(QFINDTESTDATA(u"../data/silence.mp3"_s));
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, GoogleShortReply));
        server.serve("/translate_tts", CannedReply::page(status, clip, "audio/mpeg"));
        QTemporaryDir folder;
        const QString file = folder.filePath(u"hi.mp3"_s);
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const Run run = Print(server, {u"--to"_s, target, u"--save-audio"_s, file, u"你好"_s}, {});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, out);
        QVERIFY2(run.err.contains(err), run.err.constData());
        QCOMPARE(Contents(file), exitCode == 0 ? clip : QByteArray("old"));
        QCOMPARE(server.requests().size(), speech.isEmpty() ? 1 : 2);
        QVERIFY(speech.isEmpty() || server.lastRequest().target == speech);
    }
};

QTEST_GUILESS_MAIN(TestPrint)
#include "tst_print.moc"
