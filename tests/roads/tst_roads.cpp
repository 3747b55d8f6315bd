#include "LanguageCatalogue.h"
#include "Roads.h"
#include "StandInServer.h"

#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The roads one after another against a stand-in for every service and the real Apertium:
// which road follows a failure, the words of each failure, and the translation.
// The keyed roads named in ids ("baidu/noid": Baidu without its appid), each key "ID-<id>"
// and "KEY-<id>", on host.
ServiceSettings Keys(const QString &ids, const QString &host = {})
{
    ServiceSettings settings = ServiceSettings::defaults();
    for (const QString &id : ids.split(u' ', Qt::SkipEmptyParts)) {
        KeyedService &service = *settings.find(id.section(u'/', 0, 0));
        service.key = {id.endsWith(u"/noid") ? QString() : u"ID-"_s + service.id,
                       u"KEY-"_s + service.id};
        service.host = host;
    }
    return settings;
}

class TestRoads final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Which roads a translation asks with keys set, and in what order; each speaks its
    // result by the engine's rule.
    void order_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("order"); // the user's
        QTest::addColumn<QString>("roads");
        const QString all = u"deepl google-cloud baidu youdao-api"_s;
        QTest::newRow("google: its own API first")
            << Engine::Google << all << QString()
            << u"google google-cloud deepl baidu youdao-api google-api apertium"_s;
        QTest::newRow("youdao: its own API first")
            << Engine::Youdao << all << QString()
            << u"youdao youdao-api deepl baidu google-cloud google-api apertium"_s;
        QTest::newRow("the user's order; a key without its id")
            << Engine::Google << u"deepl baidu youdao-api/noid"_s << u"baidu google deepl"_s
            << u"baidu google deepl google-api apertium"_s;
        for (const auto &[engine, id] : {std::pair{Engine::DeepLOnly, "deepl"},
                                         {Engine::GoogleCloudOnly, "google-cloud"},
                                         {Engine::BaiduOnly, "baidu"},
                                         {Engine::YoudaoApiOnly, "youdao-api"}})
            QTest::addRow("%s alone", id) << engine << all << QString() << QString::fromLatin1(id);
    }

    void order()
    {
        QFETCH(Engine, engine);
        QFETCH(QString, keys);
        QFETCH(QString, order);
        QFETCH(QString, roads);
        RoadsSetup setup;
        setup.services = Keys(keys);
        setup.services.order = order.split(u' ', Qt::SkipEmptyParts);
        QStringList ids;
        for (const Road road : RoadOrder({u"hi"_s, engine, 0, 1, {}}, setup))
            ids << RoadId(road) + (RoadSpeaks(road) ? u""_s : u" (silent)"_s);
        QCOMPARE(ids.join(u' '), roads);
    }

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
        const QString refused = u"|Google 短文本接口：连接被拒绝|"_s;
        const auto keyed = [&](const char *id, const char *reply, const QString &road) {
            QTest::addRow("only the %s key", id)
                << u"zh-CN en 你好"_s << busy << CannedReply::page(200, reply)
                << u"key "_s + QLatin1StringView(id) << u"Hello"_s + refused + road + u"：成功"_s;
        };
        keyed("deepl", R"({"translations":[{"detected_source_language":"ZH","text":"Hello"}]})",
              u"DeepL 接口"_s);
        keyed("google-cloud", R"({"data":{"translations":[{"translatedText":"Hello"}]}})",
              u"Google Cloud 翻译接口"_s);
        keyed("baidu", R"({"from":"zh","to":"en","trans_result":[{"src":"你好","dst":"Hello"}]})",
              u"百度通用翻译接口"_s);
        keyed("youdao-api", R"({"errorCode":"0","query":"你好","translation":["Hello"]})",
              u"有道智云接口"_s);
        QTest::newRow("a refusal that quotes the key")
            << u"zh-CN en 你好"_s << busy
            << CannedReply::page(403, R"({"message":"Wrong key KEY-deepl"})") << u"key deepl"_s
            << refused + u"DeepL 接口：HTTP 403（拒绝访问）“Wrong key …”|"_s + noPair;
        QTest::newRow("a refusal with its HTTP status")
            << u"zh-CN en 你好"_s << busy
            << CannedReply::page(400, R"({"error":{"code":400,"message":"API key not valid."}})")
            << u"key google-cloud"_s
            << refused + u"Google Cloud 翻译接口：HTTP 400“API key not valid.”|"_s + noPair;
        QTest::newRow("a language outside the service's list")
            << u"zh-CN sq 你好"_s << busy << busy << u"key deepl"_s
            << refused + u"DeepL 接口：不支持这种语言|"_s + noPair;
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
        for (const QByteArray path :
             {"/v2/translate", "/language/translate/v2", "/api/trans/vip/translate", "/api"})
            server.serve(path, api);
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
        if (setup.startsWith(u"key ")) { // every keyless host refuses
            const QString closed = StandInServer::closedPortUrl({});
            roads.endpoints.google = roads.endpoints.googleApi = closed.chopped(1);
            roads.services = Keys(setup.sliced(4), server.origin());
        }
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
