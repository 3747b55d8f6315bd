#include "GoogleRules.h"
#include "LanguageCatalogue.h"
#include "YoudaoRules.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

using OptionalText = std::optional<QString>;

class TestRules final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requests()
    {
        const QString e = u"http://h"_s;
        QCOMPARE(Youdao::RequestUrl(e), u"http://h/translate"_s);
        QCOMPARE(Youdao::RequestBody(u"a b"),
                 u"i=%61%20%62&type=AUTO&action=%E7%BF%BB%E8%AF%91&ue=UTF-8&keyfrom=fanyi.web"
                 u"&smartresult=dict&smartresult=rule"_s);
        QCOMPARE(Google::ShortRoadUrl(e, u"你", u"zh-CN", u"en"),
                 u"http://h/translate_a/t?client=t&text=%E4%BD%A0&hl=zh-CN&sl=zh-CN&tl=en"
                 u"&pc=0&prev=btn"_s);
        QCOMPARE(Google::LongRoadUrl(e), u"http://h/"_s);
        QCOMPARE(Google::LongRoadBody(u"&", u"en", u"ja"),
                 u"js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=1&text=%26&file=&sl=en&tl=ja"_s);
    }

    void googleRoad_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("isShort");
        QTest::newRow("219") << QString(219, u'a') << true;
        QTest::newRow("220") << QString(220, u'a') << false;
        QTest::newRow("218 and CR LF") << QString(218, u'a') + u"\r\n"_s << false;
    }

    void googleRoad()
    {
        QFETCH(QString, source);
        QFETCH(bool, isShort);
        QCOMPARE(Google::RoadFor(source) == Google::Road::Short, isShort);
    }

    void results_data()
    {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("result");
        const QString segment = u"[[[\"Hello\",\"你好\",\"\",\"\"]],,\"zh-CN\"]"_s;
        QTest::newRow("youdao box") << u"youdao"_s
                                    << u"<textarea name=\"i\">x</textarea><textarea name=\"o\">"
                                       u"Hi, you&#10;there</textarea>"_s
                                    << 1 << u"Hi you\r\nthere"_s;
        QTest::newRow("youdao, no box") << u"youdao"_s << u"<html>busy</html>"_s << 1 << QString();
        QTest::newRow("segment") << u"short"_s << segment << 0 << u"Hello"_s;
        QTest::newRow("page field")
            << u"long"_s
            << u"<input name=gtrans value=\"&amp;quot;a&amp;quot;&lt;br&gt;b\"><div id=sug_exp>"_s
            << 1 << u"\"a\"b"_s;
        QTest::newRow("page without field") << u"long"_s << u"<html></html>"_s << 1 << QString();
    }

    void results()
    {
        QFETCH(QString, road);
        QFETCH(QString, reply);
        QFETCH(int, target);
        QFETCH(QString, result);
        QCOMPARE(road == u"youdao"  ? Youdao::ResultOfPage(reply)
                 : road == u"short" ? Google::ResultOfShortRoad(reply, target)
                                    : Google::ResultOfLongRoad(reply, target),
                 result);
    }

    void speech_data()
    {
        QTest::addColumn<bool>("youdao");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<int>("sourceLength");
        QTest::addColumn<int>("target");
        QTest::addColumn<OptionalText>("url");
        const OptionalText none;
        const OptionalText spoken = u"http://h/translate_tts?q=%61%26%23&tl=en"_s;
        const QString a500(500, u'a');
        QTest::newRow("google") << false << u"a&#"_s << u"x"_s << 33 << 1 << spoken;
        QTest::newRow("source of 34") << false << u"a&#"_s << u"x"_s << 34 << 1 << none;
        QTest::newRow("Japanese") << false << u"a&#"_s << u"x"_s << 1 << 35 << none;
        QTest::newRow("next to Japanese") << false << u"a&#"_s << u"x"_s << 1 << 36 << spoken;
        QTest::newRow("first translation") << false << u"a&#"_s << QString() << 1 << 1 << none;
        QTest::newRow("failed translation") << false << QString() << u"x"_s << 1 << 1 << none;
        QTest::newRow("result of 501") << false << a500 + u'a' << u"x"_s << 1 << 1 << none;
        QTest::newRow("result of 500")
            << false << a500 << u"x"_s << 1 << 1
            << OptionalText(u"http://h/translate_tts?q="_s + u"%61"_s.repeated(500) + u"&tl=en"_s);
        QTest::newRow("youdao") << true << u"a +\r\n"_s << QString() << 99 << 35
                                << OptionalText(u"http://h/fanyivoice?word=%61%20%2B%0D%0A"_s);
        QTest::newRow("youdao, empty") << true << QString() << u"x"_s << 1 << 1 << none;
        QTest::newRow("youdao, 501") << true << a500 + u'a' << u"x"_s << 1 << 1 << none;
    }

    void speech()
    {
        QFETCH(bool, youdao);
        QFETCH(QString, result);
        QFETCH(QString, previous);
        QFETCH(int, sourceLength);
        QFETCH(int, target);
        QFETCH(OptionalText, url);
        const QString source(sourceLength, u'a');
        QCOMPARE(youdao ? Youdao::SpeechUrl(u"http://h", result)
                        : Google::SpeechUrl(u"http://h", {result, previous, source, target}),
                 url);
    }

    void catalogue()
    {
        const LanguageCatalogue catalogue = LanguageCatalogue::build();
        QCOMPARE(
            catalogue.codes.join(u' '),
            u"zh-CN en sq ar az ga et be bg is pl fa af da de ru fr tl fi ka ht ko nl gl ca cs "
            u"hr lv lt ro mt ms mk no pt ja sv sr sk sl sw th tr cy uk eu es iw el hu hy it yi "
            u"hi ur id vi"_s);
        QCOMPARE(catalogue.displayNames.size(), 57);
        QCOMPARE(catalogue.displayNames.at(35), u"日语"_s);
        QCOMPARE(catalogue.displayNames.at(56), u"越南语"_s);
        QVERIFY(!catalogue.displayNames.contains(QString()));
        QCOMPARE(CodeForPosition(catalogue.codes, 56), u"vi"_s);
        QCOMPARE(CodeForPosition(catalogue.codes, 57), std::nullopt);
        QCOMPARE(CodeForPosition(catalogue.codes, -1), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"
