#include "ApertiumRules.h"
#include "BaiduRules.h"
#include "DeepLRules.h"
#include "Endpoints.h"
#include "GoogleApiRules.h"
#include "GoogleCloudRules.h"
#include "GoogleReply.h"
#include "GoogleRules.h"
#include "LanguageCatalogue.h"
#include "LibreTranslateRules.h"
#include "TextHelpers.h"
#include "YoudaoApiRules.h"
#include "YoudaoRules.h"

#include <QTest>

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

namespace {

QString road(const QString &source)
{
    return Google::RoadFor(source) == Google::Road::Short ? u"short"_s : u"long"_s;
}

QString googleSpeech(const QString &result, const QString &previous, int sourceLength, int target)
{
    return Google::SpeechUrl(u"http://h", {result, previous, QString(sourceLength, u'a'), target})
        .value_or(u"none"_s);
}

QString youdaoSpeech(const QString &result)
{
    return Youdao::SpeechUrl(u"http://h", result).value_or(u"none"_s);
}

// A keyed road's request as one text: URL, headers, body; "none" when it sends nothing.
QString shown(const std::optional<KeyedRequest> &request)
{
    if (!request)
        return u"none"_s;
    QStringList parts{request->url};
    for (const auto &[name, value] : request->headers)
        parts << QString::fromUtf8(name + ": " + value);
    return (parts << QString::fromUtf8(request->body)).join(u" | "_s);
}

void row(const char *name, const QString &actual, const QString &expected)
{
    QTest::newRow(name) << actual << expected;
}

QString shown(const KeyedReply &reply)
{
    return reply.translation + u'|' + reply.code + u'|' + reply.message;
}

} // namespace

class TestRules final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const LanguageCatalogue catalogue = LanguageCatalogue::build();
        const QString a500(500, u'a');

        // The text helpers the rules are made of.
        row("encode: 1, 2, 3 and 4 bytes, a lone surrogate",
            UrlEncodeUtf8(QString(u"A b~\r\n\u07FF\u0800中😀\U000E0001"_s + QChar(0xDC00))),
            u"%41%20%62%7E%0D%0A%DF%BF%E0%A0%80%E4%B8%AD%F0%9F%98%80%F3%A0%80%81%3F"_s);
        row("between", TextBetween(u"<a>1</a><a>2</a>", u"<a>", u"a>"), u"1</"_s);
        row("between, no end marker", TextBetween(u"<a>1</b>", u"<a>", u"</a>"), QString());
        row("one line", OneLine(u" Invalid\r\n\tAPI\u202Ekey\u0007 x"), u"Invalid API key x"_s);
        row("one line, 200 characters at most, cut whole",
            OneLine(QString(QString(198, u'a') + u"😀b"_s)) + OneLine(QString(201, u'b')),
            QString(198, u'a') + u'…' + QString(199, u'b') + u'…');
        row("dictionary",
            ParseGoogleReply(u"[[[\"Hi\"]],[[\"v\",[\"a\",\"b\"]],[\"n\",[\"x\"]]],\"\"]", u"GET",
                             1),
            u"v:a,b\r\nn:x"_s);
        row("segment, English", ParseGoogleReply(u"[[[\"Thanks\",\"谢谢\"]],,\"zh\"]", u"GET", 1),
            u"Thanks."_s);
        row("page", ParseGoogleReply(u"&amp;quot;a&amp;quot;&lt;br&gt;b &lt;", u"POST", 1),
            u"\"a\"b "_s);

        row("youdao url", Youdao::RequestUrl(u"http://h"), u"http://h/translate"_s);
        row("youdao body", Youdao::RequestBody(u"a b"),
            u"i=%61%20%62&type=AUTO&action=%E7%BF%BB%E8%AF%91&ue=UTF-8&keyfrom=fanyi.web"
            u"&smartresult=dict&smartresult=rule"_s);
        row("short road url", Google::ShortRoadUrl(u"http://h", u"你", u"zh-CN", u"en"),
            u"http://h/translate_a/t?client=t&text=%E4%BD%A0&hl=zh-CN&sl=zh-CN&tl=en&pc=0"
            u"&prev=btn"_s);
        row("long road url", Google::LongRoadUrl(u"http://h"), u"http://h/"_s);
        row("long road body", Google::LongRoadBody(u"&", u"en", u"ja"),
            u"js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=1&text=%26&file=&sl=en&tl=ja"_s);

        row("219 goes short", road(QString(219, u'a')), u"short"_s);
        row("220 goes long", road(QString(220, u'a')), u"long"_s);
        row("CR LF counts two", road(QString(218, u'a') + u"\r\n"_s), u"long"_s);

        row("youdao result",
            Youdao::ResultOfPage(u"<textarea name=\"i\">x</textarea><textarea "
                                 u"name=\"o\">Hi, you&#10;there</textarea>"),
            u"Hi you\r\nthere"_s);
        row("youdao, no output box", Youdao::ResultOfPage(u"<html>busy</html>"), QString());
        row("short road result",
            Google::ResultOfShortRoad(u"[[[\"Hello\",\"你好\",\"\",\"\"]],,\"zh-CN\"]", 0),
            u"Hello"_s);
        row("long road result",
            Google::ResultOfLongRoad(
                u"<input name=gtrans value=\"&amp;quot;a&amp;quot;&lt;br&gt;b\"><div id=sug_exp>",
                1),
            u"\"a\"b"_s);
        row("long road, no field", Google::ResultOfLongRoad(u"<html></html>", 1), QString());
        const QString spoken = u"http://h/translate_tts?q=%61%26%23&tl=en"_s;
        row("spoken", googleSpeech(u"a&#"_s, u"x"_s, 33, 1), spoken);
        row("source of 34", googleSpeech(u"a&#"_s, u"x"_s, 34, 1), u"none"_s);
        row("Japanese", googleSpeech(u"a&#"_s, u"x"_s, 1, 35), u"none"_s);
        row("next to Japanese", googleSpeech(u"a&#"_s, u"x"_s, 1, 36), spoken);
        row("first translation", googleSpeech(u"a&#"_s, QString(), 1, 1), u"none"_s);
        row("failed translation", googleSpeech(QString(), u"x"_s, 1, 1), u"none"_s);
        row("result of 500", googleSpeech(a500, u"x"_s, 1, 1),
            u"http://h/translate_tts?q="_s + u"%61"_s.repeated(500) + u"&tl=en"_s);
        row("result of 501", googleSpeech(a500 + u'a', u"x"_s, 1, 1), u"none"_s);
        row("youdao spoken", youdaoSpeech(u"a +\r\n"_s),
            u"http://h/fanyivoice?word=%61%20%2B%0D%0A"_s);
        row("youdao, empty", youdaoSpeech(QString()), u"none"_s);
        row("youdao, 500", youdaoSpeech(a500),
            u"http://h/fanyivoice?word="_s + u"%61"_s.repeated(500));
        row("youdao, 501", youdaoSpeech(a500 + u'a'), u"none"_s);

        // Google's JSON road.
        row("api query", GoogleApi::RequestFor(u"http://h", u"你 &", u"zh-CN", u"en").url,
            u"http://h/translate_a/single?client=gtx&sl=zh-CN&tl=en&dt=t&dj=1&ie=UTF-8&oe=UTF-8"
            u"&q=%E4%BD%A0%20%26"_s);
        row("api reply",
            GoogleApi::ResultOfReply(u"{\"sentences\":[{\"trans\":\"A. \"},{\"translit\":\"x\"},"
                                     u"{\"trans\":\"B\"}],\"src\":\"zh-CN\"}"),
            u"A. B"_s);
        row("api, not JSON", GoogleApi::ResultOfReply(u"<html>sorry</html>"), QString());
        row("api, no sentences", GoogleApi::ResultOfReply(u"{\"error\":\"x\"}"), QString());
        row("youdao's target",
            GoogleApi::YoudaoTargetCode(u"abc 𠀀") + u' ' + GoogleApi::YoudaoTargetCode(u"abc ﾃ"),
            u"en zh-CN"_s);
        row("libretranslate body",
            QString::fromUtf8(LibreTranslate::RequestBody(u"\"你\"", u"iw", u"no", {})),
            u"{\"api_key\":\"\",\"format\":\"text\",\"q\":\"\\\"你\\\"\",\"source\":\"he\",\"target\":\"nb\"}"_s);
        row("libretranslate reply",
            LibreTranslate::ResultOfReply(u"{\"translatedText\":\"a\"}") +
                LibreTranslate::ResultOfReply(u"{\"error\":\"Invalid API key\"}"),
            u"a"_s);

        // Apertium's modes: its current names first, variants and tools left out.
        const QStringList modes = Apertium::ModesAmong(
            {u"eng-spa.mode"_s, u"spa-eng_US.mode"_s, u"eng-spa-morph.mode"_s, u"en-es.mode"_s,
             u"hbs-eng.mode"_s, u"nob-nno.mode"_s, u"README"_s, u"cat-spa.modes"_s});
        row("modes", modes.join(u' '), u"eng-spa en-es hbs-eng nob-nno"_s);
        const auto mode = [&modes](QStringView from, QStringView to) {
            return Apertium::ModeFor(modes, from, to).value_or(u"none"_s);
        };
        row("mode en es", mode(u"en", u"es"), u"eng-spa"_s);
        row("mode es en", mode(u"es", u"en"), u"none"_s);
        row("mode sr en, hr en", mode(u"sr", u"en") + u' ' + mode(u"hr", u"en"),
            u"hbs-eng hbs-eng"_s);
        row("mode no no", mode(u"no", u"no"), u"nob-nno"_s);
        row("apertium output", Apertium::ResultOfOutput("Hola\nMundo \n\n"), u"Hola\r\nMundo "_s);

        // Hosts from the environment.
        QProcessEnvironment environment;
        environment.insert(u"BREMO_GOOGLE_ENDPOINT"_s, u"https://mirror.example/g/"_s);
        environment.insert(u"BREMO_YOUDAO_ENDPOINT"_s, u"ftp://mirror.example"_s);
        environment.insert(u"BREMO_GOOGLE_API_ENDPOINT"_s, u"mirror.example"_s);
        QStringList ignored;
        const Endpoints endpoints =
            WithEnvironment({u"g"_s, u"y"_s, u"v"_s, u"f"_s, u"a"_s, {}, {}}, environment, ignored);
        row("hosts from the environment",
            QStringList{endpoints.google, endpoints.youdao, endpoints.googleApi,
                        endpoints.youdaoVoice, endpoints.libreTranslate}
                    .join(u' ') +
                u" | "_s + ignored.join(u' '),
            u"https://mirror.example/g y a v  | BREMO_GOOGLE_API_ENDPOINT BREMO_YOUDAO_ENDPOINT"_s);

        // The pieces the lists are written in join into 57 entries, names and codes aligned.
        QStringList spots{QString::number(catalogue.codes.size()),
                          QString::number(catalogue.displayNames.size())};
        for (const int at : {0, 10, 35, 46, 56})
            spots << catalogue.displayNames[at] + u'=' + catalogue.codes[at];
        row("catalogue", spots.join(u' '),
            u"57 57 中文=zh-CN 波兰语=pl 日语=ja 西班牙语=es 越南语=vi"_s);
        row("past the end", CodeForPosition(catalogue.codes, 57).value_or(u"none"_s), u"none"_s);
        row("no selection", CodeForPosition(catalogue.codes, -1).value_or(u"none"_s), u"none"_s);
    }

    void rules()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void keyedRoads_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const ApiKey baidu{u"2015063000000001"_s, u"12345678"_s};
        const ApiKey youdao{u"appKey1"_s, u"secret1"_s};
        const auto youdaoSign = [&youdao](const QString &text) {
            return YoudaoApi::Sign(youdao.id, text, u"salt1", 1700000000, youdao.secret);
        };

        // The signs against Baidu's documented example and SHA-256 computed elsewhere (the short
        // text's in the request below).
        row("youdao sign, over 20", youdaoSign(u"The quick brown fox jumps over the lazy dog"_s),
            u"0352d130736b07702b8efb3a9169880757d221dbb0a53931dca4e73660068081"_s);
        // Twenty characters beyond the BMP go whole; one more and the text is cut.
        row("youdao sign, 20 and 21 beyond the BMP",
            youdaoSign(u"𠀀😀"_s.repeated(10)) + u' ' + youdaoSign(u"𠀀😀"_s.repeated(10) + u"𠀀"_s),
            u"a27fbeaff1351f75545c5539900fd90fdefba1e014eff6e4f07f9f9c1b7d6680 "
            u"2590231ff4109540308f866919424e2d9f54a2157f71b18cffbfa0575858bb31"_s);

        row("deepl hosts", DeepL::HostForKey(u"k:fx") + u' ' + DeepL::HostForKey(u"k:fx2"),
            u"https://api-free.deepl.com https://api.deepl.com"_s);
        row("deepl request",
            shown(DeepL::RequestFor({u"http://h"_s, u"你"_s, u"zh-CN"_s, u"en"_s}, u"k")),
            u"http://h/v2/translate | Authorization: DeepL-Auth-Key k | Content-Type: "
            u"application/json | {\"source_lang\":\"ZH\",\"target_lang\":\"EN-US\",\"text\":[\"你\"]}"_s);
        row("deepl, detected",
            shown(DeepL::RequestFor({u"h"_s, u"a"_s, u"auto"_s, u"no"_s}, u"k"))
                .section(u" | "_s, 3),
            u"{\"target_lang\":\"NB\",\"text\":[\"a\"]}"_s);
        row("deepl, no Albanian",
            shown(DeepL::RequestFor({u"h"_s, u"a"_s, u"sq"_s, u"en"_s}, u"k")), u"none"_s);
        row("google cloud request",
            shown(GoogleCloud::RequestFor({u"http://h"_s, u"a"_s, u"auto"_s, u"iw"_s}, u"k")),
            u"http://h/language/translate/v2 | X-goog-api-key: k | Content-Type: application/json"
            u" | {\"format\":\"text\",\"q\":[\"a\"],\"target\":\"iw\"}"_s);
        row("baidu request, the documented sign",
            shown(Baidu::RequestFor({u"http://h"_s, u"apple"_s, u"en"_s, u"ja"_s}, baidu,
                                    u"1435660288")),
            u"http://h/api/trans/vip/translate | Content-Type: application/x-www-form-urlencoded | "
            u"q=apple&from=en&to=jp&appid=2015063000000001&salt=1435660288&"
            u"sign=f89f9594663708c1605f3d736d01d2d4"_s);
        row("baidu, no automatic target",
            shown(Baidu::RequestFor({u"h"_s, u"a"_s, u"en"_s, u"auto"_s}, baidu, u"1")), u"none"_s);
        row("youdao request",
            shown(YoudaoApi::RequestFor({u"http://h"_s, u"你好"_s, u"zh-CN"_s, u"sr"_s}, youdao,
                                        u"salt1", 1700000000)),
            u"http://h/api | Content-Type: application/x-www-form-urlencoded | "
            u"q=%E4%BD%A0%E5%A5%BD&from=zh-CHS&to=sr-Cyrl&appKey=appKey1&salt=salt1&"
            u"sign=1cd13f0ed1b9dea347cc86745cd550db495dda1394375eb7ef1c59b7652da854&signType=v3&"
            u"curtime=1700000000"_s);

        // Replies as the services document them, refusals included.
        row("deepl",
            shown(DeepL::ReadReply(u"{\"translations\":[{\"detected_source_language\":\"ZH\","
                                   u"\"text\":\"Hello\"}]}")) +
                shown(DeepL::ReadReply(u"{\"message\":\"Quota\n  exceeded\"}")),
            u"Hello||||Quota exceeded"_s);
        row("google cloud reply",
            shown(GoogleCloud::ReadReply(u"{\"data\":{\"translations\":[{\"translatedText\":"
                                         u"\"Hi\",\"detectedSourceLanguage\":\"zh-CN\"}]}}")),
            u"Hi||"_s);
        row("google cloud refusal",
            shown(GoogleCloud::ReadReply(
                u"{\"error\":{\"code\":400,\"message\":\"API key not valid. Please pass a valid "
                u"API key.\",\"status\":\"INVALID_ARGUMENT\"}}")),
            u"|400|API key not valid. Please pass a valid API key."_s);
        row("baidu reply",
            shown(Baidu::ReadReply(
                u"{\"from\":\"en\",\"to\":\"zh\",\"trans_result\":[{\"src\":"
                u"\"apple\",\"dst\":\"苹果\"},{\"src\":\"pear\",\"dst\":\"梨\"}]}")),
            u"苹果\r\n梨||"_s);
        // Documented as a string, seen as a number.
        row("baidu refusals",
            shown(Baidu::ReadReply(u"{\"error_code\":\"54001\",\"error_msg\":\"Invalid Sign\"}")) +
                shown(Baidu::ReadReply(u"{\"error_code\":52003,\"error_msg\":\"UNAUTHORIZED\"}")),
            u"|54001|Invalid Sign|52003|UNAUTHORIZED"_s);
        row("youdao",
            shown(YoudaoApi::ReadReply(u"{\"errorCode\":\"0\",\"translation\":[\"Hi\"]}")) +
                shown(YoudaoApi::ReadReply(u"{\"errorCode\":\"202\",\"l\":\"zh-CHS2en\"}")) +
                shown(YoudaoApi::ReadReply(u"{\"errorCode\":\"999\"}")),
            u"Hi|||202|签名检验失败|999|"_s);
        row("not JSON", shown(Baidu::ReadReply(u"<html>")) + shown(YoudaoApi::ReadReply(u"<html>")),
            u"||||"_s);
    }

    void keyedRoads() { rules(); }
};

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"
