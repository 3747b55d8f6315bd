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
    // Output on success only, the reason on failure, usage errors (which list the language
    // codes) before any request, and the pronunciation saved whole or not at all ("FILE" stands
    // for a file that held "old").
    void print_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("reply"); // at the path that the last of sent names
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");  // contained in standard error
        QTest::addColumn<QByteArray>("sent"); // the requests, each contained in its own target
                                              // and body, separated by "|"; empty: none
        QTest::addColumn<QByteArray>("file"); // what FILE holds afterwards
        const auto row = [](const char *name, const QStringList &arguments, int exitCode,
                            const QByteArray &out, const QByteArray &err, const QByteArray &sent,
                            const QByteArray &reply = GoogleShortReply,
                            const QByteArray &input = {}, const QByteArray &file = "old") {
            QTest::newRow(name) << arguments << input << reply << exitCode << out << err << sent
                                << file;
        };
        row("google", {u"你好"_s}, 0, "Hi.\n", {},
            "/translate_a/t?client=t&text=%E4%BD%A0%E5%A5%BD&hl=zh-CN&sl=zh-CN&tl=en&");
        row("languages, standard input", {u"--from"_s, u"en"_s, u"--to"_s, u"fr"_s, u"-"_s}, 0,
            "Hi\n", {}, "/translate_a/t?client=t&text=a%0D%0Ab&hl=zh-CN&sl=en&tl=fr&",
            GoogleShortReply, "a\r\nb\r\n");
        row("youdao", {u"--engine"_s, u"youdao"_s, u"hi"_s}, 0, "你好\nworld\n", {},
            "/translatei=%68%69&type=AUTO&", "<textarea name=\"o\">你好,&#10;world</textarea>");
        row("service fails", {u"hi"_s}, 1, {},
            "bremo: GET services.stand-in.invalid/translate_a/t: ", "/translate_a/t?client=t", {});
        row("no translation in the answer", {u"hi"_s}, 1, {},
            "bremo: the service's answer held no translation", "/translate_a/t?client=t",
            "<html></html>");
        row("unknown language", {u"--to"_s, u"xx"_s, u"hi"_s}, 2, {}, "zh-CN", {});
        row("unknown engine", {u"--engine"_s, u"bing"_s, u"hi"_s}, 2, {}, "zh-CN", {});
        row("no text", {}, 2, {}, "zh-CN", {});
        row("empty input", {u"-"_s}, 2, {}, "empty", {}, {}, "\n");
        const QStringList save = {u"--save-audio"_s, u"FILE"_s, u"你好"_s};
        row("saved", save, 0, "Hi.\n", {}, "/translate_a/t|/translate_tts?q=Hi.&tl=en",
            GoogleShortReply, {}, "ID3");
        row("saving refused, old file kept", save, 1, {},
            "bremo: GET services.stand-in.invalid/translate_tts: ",
            "/translate_a/t|/translate_tts?q=Hi.&tl=en");
        row("Japanese is not spoken", QStringList{u"--to"_s, u"ja"_s} + save, 1, {},
            "no pronunciation", "/translate_a/t");
    }

    void print()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, reply);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, file);
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, reply));
        server.serve("/translate", CannedReply::page(200, reply));
        server.serve("/translate_tts", CannedReply::page(file == "ID3" ? 200 : 500, "ID3"));
        QTemporaryDir folder;
        const QString path = folder.filePath(u"hi.mp3"_s);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        arguments.replaceInStrings(u"FILE"_s, path);
        const Run run = Print(server, arguments, input);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, out);
        QVERIFY2(run.err.contains(err), run.err.constData());
        QCOMPARE(Contents(path), file);
        const QByteArrayList expected = sent.isEmpty() ? QByteArrayList() : sent.split('|');
        QCOMPARE(server.requests().size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY(QByteArray(server.requests()[i].target + server.requests()[i].body)
                        .contains(expected[i]));
    }
};

QTEST_GUILESS_MAIN(TestPrint)
#include "tst_print.moc"
