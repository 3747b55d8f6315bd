#include "LanguageCatalogue.h"
#include "Roads.h"
#include "StandInServer.h"

#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The roads one after another against a stand-in for every service and the real Apertium:
// which road follows a failure, the words of each failure, and the translation.
class TestRoads final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roads_data()
    {
        QTest::addColumn<QString>("request"); // "from to text"
        QTest::addColumn<CannedReply>("web"); // the engine's own road
        QTest::addColumn<CannedReply>("api"); // Google's JSON road; LibreTranslate refuses
        QTest::addColumn<QString>("setup");   // the engine, LibreTranslate, the JSON road's host
        QTest::addColumn<QString>("outcome"); // the translation | the tool tip's lines
        const CannedReply busy = CannedReply::page(429, "<html>sorry</html>");
        const CannedReply hello = CannedReply::page(200, R"({"sentences":[{"trans":"Hello"}]})");
        const CannedReply cut{200, {}, QByteArray(4096, 'x'), -1, CannedReply::Fault::ResetMidBody};
        const QString ok = u"|Google JSON 接口：成功"_s;
        const QString busyWeb =
            u"HTTP 429（请求过于频繁）|Google JSON 接口：HTTP 429（请求过于频繁）|"_s;
        const QString noPair = u"Apertium 离线引擎：未安装这两种语言之间的翻译"_s;
        QTest::newRow("redirect loop")
            << u"zh-CN en 你好"_s << CannedReply{302, {{"Location", "/translate_a/t"}}, {}} << hello
            << QString() << u"Hello|Google 短文本接口：被重定向到其他页面"_s + ok;
        QTest::newRow("cut short, JSON road on another host")
            << u"zh-CN en 你好"_s << cut << hello << u"api elsewhere"_s
            << u"Hello|Google 短文本接口：连接中断或回复不完整"_s + ok;
        QTest::newRow("cut short, JSON road on the same host")
            << u"zh-CN en 你好"_s << cut << hello << QString()
            << u"|Google 短文本接口：连接中断或回复不完整|"_s + noPair;
        QTest::newRow("youdao's target on the offline road")
            << u"en es The cat is black"_s << busy << busy << u"youdao"_s
            << u"|有道网页翻译："_s + busyWeb + noPair;
        QTest::newRow("refusal in the server's words, then Apertium without its marks")
            << u"en es Good morning xyzzy"_s << busy << busy << u"libre"_s
            << u"Buenos días xyzzy|Google 短文本接口："_s + busyWeb +
                   u"LibreTranslate 服务器：HTTP 403（拒绝访问）“Invalid API key (see admin)”|"
                   u"Apertium 离线引擎：成功"_s;
        QTest::newRow("result too long")
            << u"zh-CN en 你好"_s
            << CannedReply::page(200,
                                 "[[[\"" + QByteArray(50001, 'a') + "\",\"\",\"\",\"\"]],,\"en\"]")
            << hello << QString()
            << u"Hello|Google 短文本接口：译文过长（超过 50000 个字符）"_s + ok;
        QTest::newRow("source too long, no road asked")
            << u"en es "_s + QString(50001, u'a') << hello << hello << QString() << u"too long|"_s;
        QTest::newRow("apertium time-out") << u"en es Good morning"_s << busy << busy
                                           << u"apertium 1 ms"_s << u"|Apertium 离线引擎：超时"_s;
    }

    void roads()
    {
        QFETCH(QString, request);
        QFETCH(CannedReply, web);
        QFETCH(CannedReply, api);
        QFETCH(QString, setup);
        QFETCH(QString, outcome);
        StandInServer server;
        server.serve("/translate_a/t", web);
        server.serve("/translate", web);
        server.serve("/translate_a/single", api);
        server.serve(
            "/libre/translate",
            CannedReply::page(403, R"({"error": "Invalid API key\n\u0007\t(see admin) "})"));
        qunsetenv("http_proxy");
        RoadsSetup roads;
        roads.endpoints = {server.origin(), server.origin(), {}, {}, server.origin(), {}, {}};
        if (setup == u"api elsewhere") // the same server by another name
            roads.endpoints.googleApi.replace(u"127.0.0.1"_s, u"localhost"_s);
        if (setup == u"libre")
            roads.endpoints.libreTranslate = server.url(u"/libre");
        if (setup.startsWith(u"apertium"))
            roads.apertiumTimeout = 1ms;
        const Engine engine = setup == u"youdao"              ? Engine::Youdao
                              : setup.startsWith(u"apertium") ? Engine::ApertiumOnly
                                                              : Engine::Google;
        const QStringList codes = LanguageCatalogue::build().codes;
        const Translation translation =
            TranslateByRoads({request.section(u' ', 2),
                              engine,
                              int(codes.indexOf(request.section(u' ', 0, 0))),
                              int(codes.indexOf(request.section(u' ', 1, 1))),
                              {}},
                             roads);
        QCOMPARE((translation.sourceTooLong ? u"too long"_s : translation.text) + u'|' +
                     RoadsReport(translation.attempts).replace(u'\n', u'|'),
                 outcome);
    }
};

QTEST_GUILESS_MAIN(TestRoads)
#include "tst_roads.moc"
