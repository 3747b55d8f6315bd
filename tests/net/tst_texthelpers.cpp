#include "GetPostByXmlHttp.h"

#include <QTest>

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

class TestTextHelpers final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void urlEncodeUtf8_data();
    void urlEncodeUtf8();
    void urlEncodeUtf8EscapesEveryByteValue();
    void textBetween_data();
    void textBetween();
    void parseGoogleReply_data();
    void parseGoogleReply();
};

void TestTextHelpers::urlEncodeUtf8_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letter") << u"a"_s << u"%61"_s;
    QTest::newRow("space is %20, never +") << u"A b"_s << u"%41%20%62"_s;
    QTest::newRow("CJK ideograph") << u"中"_s << u"%E4%B8%AD"_s;
    QTest::newRow("CR LF") << u"Hi!\r\n"_s << u"%48%69%21%0D%0A"_s;
    QTest::newRow("two-byte and unreserved") << u"é~"_s << u"%C3%A9%7E"_s;
    QTest::newRow("percent and plus") << u"%+"_s << u"%25%2B"_s;
    QTest::newRow("surrogate pair") << u"😀"_s << u"%F0%9F%98%80"_s;
    QTest::newRow("code unit 0") << QString(QChar(0)) + u"x"_s << u"%00%78"_s;
    QTest::newRow("unpaired surrogates become ?")
        << QString(QChar(0xD800)) + u"a"_s + QChar(0xDC00) << u"%3F%61%3F"_s;
    QTest::newRow("three-byte and four-byte mixed") << u"中😀a"_s << u"%E4%B8%AD%F0%9F%98%80%61"_s;
    QTest::newRow("reserved characters") << u"&=#?/"_s << u"%26%3D%23%3F%2F"_s;
}

void TestTextHelpers::urlEncodeUtf8()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(UrlEncodeUtf8(text), encoded);
}

void TestTextHelpers::urlEncodeUtf8EscapesEveryByteValue()
{
    // U+0000..U+007F are the one-byte UTF-8 values; each must come out as its own escape.
    QString text;
    QString expected;
    for (int c = 0; c < 0x80; ++c) {
        text += QChar(c);
        expected += u'%' + QString::number(c, 16).toUpper().rightJustified(2, u'0');
    }
    QCOMPARE(UrlEncodeUtf8(text), expected);
}

void TestTextHelpers::textBetween_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("between");

    QTest::newRow("simple") << u"<a>x</a>"_s << u"<a>"_s << u"</a>"_s << u"x"_s;
    QTest::newRow("no start marker") << u"<b>x</a>"_s << u"<a>"_s << u"</a>"_s << QString();
    QTest::newRow("end only before start") << u"</a><a>x"_s << u"<a>"_s << u"</a>"_s << QString();
    QTest::newRow("end right after start") << u"<a></a>"_s << u"<a>"_s << u"</a>"_s << QString();
    QTest::newRow("first of two enclosures")
        << u"<a>1</a><a>2</a>"_s << u"<a>"_s << u"</a>"_s << u"1"_s;
    QTest::newRow("markers overlap") << u"]]],[[abc"_s << u"]],[["_s << u"]]]"_s << QString();
    QTest::newRow("case differs") << u"<A>x</a>"_s << u"<a>"_s << u"</a>"_s << QString();
    QTest::newRow("only the first start counts") << u"[x[y]"_s << u"["_s << u"]"_s << u"x[y"_s;
    QTest::newRow("empty text") << QString() << u"<a>"_s << u"</a>"_s << QString();
    QTest::newRow("empty start marker") << u"abc</a>"_s << QString() << u"</a>"_s << u"abc"_s;
    QTest::newRow("empty end marker") << u"<a>abc"_s << u"<a>"_s << QString() << QString();
    QTest::newRow("code unit 0 inside")
        << u"<a>"_s + QChar(0) + u"</a>"_s << u"<a>"_s << u"</a>"_s << QString(QChar(0));
    QTest::newRow("youdao textarea") << u"<textarea name=\"o\">Hello, world</textarea>"_s
                                     << u"name=\"o\">"_s << u"</textarea>"_s << u"Hello, world"_s;
}

void TestTextHelpers::textBetween()
{
    QFETCH(QString, text);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, between);
    QCOMPARE(TextBetween(text, start, end), between);
}

void TestTextHelpers::parseGoogleReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("result");

    const QString dictionary =
        u"[[[\"Hello\",\"你好\",\"\",\"\"]],[[\"interjection\",[\"hello\",\"hi\"]],"
        u"[\"noun\",[\"greeting\"]]],\"zh-CN\"]"_s;

    QTest::newRow("first segment")
        << u"[[[\"Bonjour\",\"Hello\",\"\",\"\"]],,\"en\"]"_s << u"GET"_s << 4 << u"Bonjour"_s;
    QTest::newRow("full stop for English") << u"[[[\"Thank you\",\"谢谢\",\"\",\"\"]],,\"zh-CN\"]"_s
                                           << u"GET"_s << 1 << u"Thank you."_s;
    QTest::newRow("dictionary") << dictionary << u"GET"_s << 4
                                << u"interjection:hello,hi\r\nnoun:greeting"_s;
    QTest::newRow("dictionary gets no full stop")
        << dictionary << u"GET"_s << 1 << u"interjection:hello,hi\r\nnoun:greeting"_s;
    QTest::newRow("three dictionary entries")
        << u"[[[\"x\"]],[[\"a\",[\"1\"]],[\"b\",[\"2\"]],[\"c\",[\"3\"]]],\"en\"]"_s << u"GET"_s
        << 0 << u"a:1\r\nb:2\r\nc:3"_s;
    QTest::newRow("two segments, first only")
        << u"[[[\"One.\",\"一。\",\"\",\"\"],[\"Two.\",\"二。\",\"\",\"\"]],,\"zh-CN\"]"_s
        << u"GET"_s << 4 << u"One."_s;
    QTest::newRow("empty first segment, English")
        << u"[[[\"\",\"x\"]],,\"en\"]"_s << u"GET"_s << 1 << QString();
    QTest::newRow("error page") << u"<html>502</html>"_s << u"GET"_s << 1 << QString();
    QTest::newRow("empty reply") << QString() << u"GET"_s << 1 << QString();
    QTest::newRow("]]] without dictionary start")
        << u"[[[\"a\",\"b\"]]]"_s << u"GET"_s << 1 << QString();
    QTest::newRow("brackets and quotes in a segment lost")
        << u"[[[\"a[b\\\"c\",\"x\"]],,\"en\"]"_s << u"GET"_s << 4 << u"ab\\c"_s;
    QTest::newRow("page text") << u"He said &amp;quot;hi&amp;quot;&lt;br&gt;Bye"_s << u"POST"_s << 1
                               << u"He said \"hi\"Bye"_s;
    QTest::newRow("lone &lt; removed") << u"a &lt; b"_s << u"POST"_s << 1 << u"a  b"_s;
    QTest::newRow("two escaped quotes") << u"&amp;quot;&amp;quot;"_s << u"POST"_s << 1 << u"\"\""_s;
    QTest::newRow("other entities stay")
        << u"&amp; &gt; &quot; &#39;"_s << u"POST"_s << 1 << u"&amp; &gt; &quot; &#39;"_s;
    QTest::newRow("get in lower case is page text")
        << u"[[[\"Bonjour\",\"Hello\"]],,\"en\"]"_s << u"get"_s << 1
        << u"[[[\"Bonjour\",\"Hello\"]],,\"en\"]"_s;
    QTest::newRow("removal at the very start") << u"&lt;x&lt;"_s << u"POST"_s << 1 << u"x"_s;
    QTest::newRow("removal joins a new escaped break")
        << u"br&lt;&gt;"_s << u"POST"_s << 1 << QString();
    QTest::newRow("page text, empty") << QString() << u"POST"_s << 1 << QString();
}

void TestTextHelpers::parseGoogleReply()
{
    QFETCH(QString, reply);
    QFETCH(QString, mode);
    QFETCH(int, target);
    QFETCH(QString, result);
    QCOMPARE(ParseGoogleReply(reply, mode, target), result);
}

QTEST_APPLESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
