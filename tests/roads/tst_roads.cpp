#include "LanguageCatalogue.h"
#include "Roads.h"
#include "StandInServer.h"

#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Fault = CannedReply::Fault;

namespace {

CannedReply Json(int status, const QByteArray &body)
{
    return CannedReply::page(status, body, "application/json");
}

const CannedReply Busy = CannedReply::page(429, "<html>sorry</html>");
const CannedReply Hello = Json(200, R"({"sentences":[{"trans":"Hello"}]})");

} // namespace

// The roads one after another against a stand-in for every service, and the real Apertium:
// which road follows a failure, in what words each failure is told, and what comes out.
class TestRoads final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roads_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("languages"); // "from to"
        QTest::addColumn<CannedReply>("web");   // the engine's own road
        QTest::addColumn<CannedReply>("api");   // Google's JSON road
        QTest::addColumn<QString>("setup");     // "api elsewhere", "libre", "apertium 1 ms"
        QTest::addColumn<QString>("outcome");   // the translation, then the tool tip's lines
        const auto row = [](const char *name, Engine engine, const QString &source,
                            const QString &languages, const CannedReply &web,
                            const CannedReply &api, const QString &setup, const QString &outcome) {
            QTest::newRow(name) << int(engine) << source << languages << web << api << setup
                                << outcome;
        };
        const CannedReply cut{200, {}, QByteArray(4096, 'x'), -1, Fault::ResetMidBody};
        row("redirect loop, the JSON road follows", Engine::Google, u"你好"_s, u"zh-CN en"_s,
            {302, {{"Location", "/translate_a/t"}}, {}}, Hello, {},
            u"Hello|Google 短文本接口：被重定向到其他页面|Google JSON 接口：成功"_s);
        row("cut short, the JSON road on another host", Engine::Google, u"你好"_s, u"zh-CN en"_s,
            cut, Hello, u"api elsewhere"_s,
            u"Hello|Google 短文本接口：连接中断或回复不完整|Google JSON 接口：成功"_s);
        row("cut short, the JSON road on the same host", Engine::Google, u"你好"_s, u"zh-CN en"_s,
            cut, Hello, {},
            u"|Google 短文本接口：连接中断或回复不完整|"
            u"Apertium 离线引擎：未安装这两种语言之间的翻译"_s);
        row("youdao's target on the offline road too", Engine::Youdao, u"The cat is black"_s,
            u"en es"_s, Busy, Busy, {},
            u"|有道网页翻译：HTTP 429（请求过于频繁）|Google JSON 接口：HTTP 429（请求过于频繁）|"
            u"Apertium 离线引擎：未安装这两种语言之间的翻译"_s);
        row("a refusal in the server's words, then Apertium without its marks", Engine::Google,
            u"Good morning xyzzy"_s, u"en es"_s, Busy, Busy, u"libre"_s,
            u"Buenos días xyzzy|Google 短文本接口：HTTP 429（请求过于频繁）|"
            u"Google JSON 接口：HTTP 429（请求过于频繁）|"
            u"LibreTranslate 服务器：HTTP 403（拒绝访问）“Invalid API key (see admin)”|"
            u"Apertium 离线引擎：成功"_s);
        row("result too long", Engine::Google, u"你好"_s, u"zh-CN en"_s,
            CannedReply::page(200,
                              "[[[\"" + QByteArray(50001, 'a') + "\",\"\",\"\",\"\"]],,\"en\"]"),
            Hello, {},
            u"Hello|Google 短文本接口：译文过长（超过 50000 个字符）|Google JSON 接口：成功"_s);
        row("source too long: no road asked", Engine::Google, QString(50001, u'a'), u"en es"_s,
            Hello, Hello, {}, u"too long|"_s);
        row("apertium time-out", Engine::ApertiumOnly, u"Good morning"_s, u"en es"_s, {}, {},
            u"apertium 1 ms"_s, u"|Apertium 离线引擎：超时"_s);
    }

    void roads()
    {
        QFETCH(int, engine);
        QFETCH(QString, source);
        QFETCH(QString, languages);
        QFETCH(CannedReply, web);
        QFETCH(CannedReply, api);
        QFETCH(QString, setup);
        QFETCH(QString, outcome);
        StandInServer server;
        server.serve("/translate_a/t", web);
        server.serve("/translate", web);
        server.serve("/translate_a/single", api);
        server.serve("/libre/translate",
                     Json(403, "{\"error\": \"Invalid API key\\n\\u0007\\t(see admin) \"}"));
        qunsetenv("http_proxy");
        const QStringList codes = LanguageCatalogue::build().codes;
        RoadsSetup roads;
        roads.endpoints = {server.origin(), server.origin(), {}, {}, server.origin(), {}, {}};
        if (setup == u"api elsewhere"_s) // the same server by another name
            roads.endpoints.googleApi.replace(u"127.0.0.1"_s, u"localhost"_s);
        if (setup == u"libre"_s)
            roads.endpoints.libreTranslate = server.url(u"/libre");
        if (setup == u"apertium 1 ms"_s)
            roads.apertiumTimeout = 1ms;
        const Translation translation =
            TranslateByRoads({source,
                              Engine(engine),
                              int(codes.indexOf(languages.section(u' ', 0, 0))),
                              int(codes.indexOf(languages.section(u' ', 1, 1))),
                              {}},
                             roads);
        QCOMPARE((translation.sourceTooLong ? u"too long"_s : translation.text) + u'|' +
                     RoadsReport(translation.attempts).replace(u'\n', u'|'),
                 outcome);
    }
};

QTEST_GUILESS_MAIN(TestRoads)
#include "tst_roads.moc"
