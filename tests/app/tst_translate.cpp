#include "FormHarness.h"
#include "GetPostByXmlHttp.h"
#include "LanguageCatalogue.h"
#include "ServiceReplies.h"
#include "StandInServer.h"
#include "Voice.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace GetPostByXmlHttp;
using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

const QString Success = u"在线翻译成功!因官方限制,日语不可发音,其他如需发音,请再次点击翻译.."_s;
const QString NetworkProblem = u"请检查您的网络连接是否有问题..."_s;

// QUrl and GStreamer both write an escaped unreserved character as the character itself
// (RFC 3986 calls the two forms equivalent), so request targets are compared in that form.
QByteArray normalized(const QByteArray &target)
{
    QByteArray out;
    for (qsizetype i = 0; i < target.size(); ++i) {
        if (target[i] == '%' && i + 2 < target.size()) {
            const char c = char(QByteArray::fromHex(target.mid(i + 1, 2)).at(0));
            if (QByteArrayView("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~")
                    .contains(c)) {
                out += c;
                i += 2;
                continue;
            }
            out += target.mid(i, 3).toUpper();
            i += 2;
            continue;
        }
        out += target[i];
    }
    return out;
}

struct Translator
{
    StandInServer server;
    QString base = u"http://127.0.0.1:%1"_s.arg(server.port());
    FormHarness h{Endpoints{base, base + u"/youdao"_s, base + u"/voice"_s, base + u"/forum"_s}};

    QPlainTextEdit *source() const { return h.child<QPlainTextEdit>("SourceContent"); }
    QPushButton *command1() const { return h.child<QPushButton>("Command1"); }
    QComboBox *combo1() const { return h.child<QComboBox>("Combo1"); }
    QComboBox *combo2() const { return h.child<QComboBox>("Combo2"); }
    Voice *voice() const { return h.child<Voice>("Voice"); }
    QString result() const { return BoxTextOf(h, "ResultContent"); }

    void useYoudao() { h.child<QRadioButton>("Option1")->setChecked(true); }
    void translate(const QString &text)
    {
        source()->setPlainText(text);
        command1()->click();
    }
    QList<RecordedRequest> requestsFor(const QByteArray &path) const
    {
        QList<RecordedRequest> found;
        for (const RecordedRequest &request : server.requests())
            if (request.path() == path)
                found << request;
        return found;
    }
};

} // namespace

class TestTranslate final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptySourceIsRefused();
    void youdao_data();
    void youdao();
    void youdaoIgnoresLanguageLists();
    void googleRoads_data();
    void googleRoads();
    void googleResults_data();
    void googleResults();
    void pronunciationRule_data();
    void pronunciationRule();
    void targetChangedDuringWait_data();
    void targetChangedDuringWait();
    void playerFetchesSpeechUrlAsHeld();
};

void TestTranslate::emptySourceIsRefused()
{
    Translator t;
    t.voice()->setURL(t.base + u"/voice/fanyivoice?word=%61"_s);
    t.translate(QString());
    QCOMPARE(t.h.status(), u"请您先输入原文再进行翻译"_s);
    QVERIFY(t.server.requests().isEmpty());
    QVERIFY(t.command1()->isEnabled());
    QCOMPARE(t.voice()->URL(), t.base + u"/voice/fanyivoice?word=%61"_s);
}

void TestTranslate::youdao_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("result");

    QTest::newRow("two words") << u"你好世界"_s << QByteArray("Hello world") << u"Hello world"_s;
    QTest::newRow("ASCII commas removed, full-width kept")
        << u"Hello, world"_s << QByteArray("你好，世界, 朋友") << u"你好，世界 朋友"_s;
    QTest::newRow("&#10; becomes a line break")
        << u"a\r\nb"_s << QByteArray("line one&#10;line two") << u"line one\r\nline two"_s;
    QTest::newRow("&amp; shown as it came")
        << u"x & y"_s << QByteArray("A &amp; B") << u"A &amp; B"_s;
    QTest::newRow("spaces only are sent") << u"   "_s << QByteArray("?") << u"?"_s;
    QTest::newRow("page without the markers") << u"hi"_s << QByteArray() << QString();
}

void TestTranslate::youdao()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, output);
    QFETCH(QString, result);

    Translator t;
    t.server.serve("/youdao/translate",
                   CannedReply::page(200, output.isNull() ? QByteArray("<html>503</html>")
                                                          : youdaoPage(output)));
    const QString earlierAudio = t.base + u"/voice/fanyivoice?word=%65%61%72%6C%79"_s;
    t.voice()->setURL(earlierAudio);
    t.useYoudao();
    t.translate(source);

    const RecordedRequest request = t.requestsFor("/youdao/translate").constLast();
    QCOMPARE(request.requestLine, QByteArray("POST /youdao/translate HTTP/1.1"));
    QCOMPARE(request.body, ("i=" + UrlEncodeUtf8(source) +
                            u"&type=AUTO&action=%E7%BF%BB%E8%AF%91&ue=UTF-8&keyfrom=fanyi.web"
                            u"&smartresult=dict&smartresult=rule"_s)
                               .toLatin1());
    QCOMPARE(t.result(), result);
    QCOMPARE(t.h.status(), result.isEmpty() ? NetworkProblem : Success);
    QCOMPARE(t.voice()->URL(), result.isEmpty()
                                   ? earlierAudio
                                   : t.base + u"/voice/fanyivoice?word="_s + UrlEncodeUtf8(result));
    QVERIFY(t.command1()->isEnabled());
}

void TestTranslate::youdaoIgnoresLanguageLists()
{
    Translator t;
    t.server.serve("/youdao/translate", CannedReply::page(200, youdaoPage("ok")));
    t.useYoudao();
    t.translate(u"text"_s);
    t.combo1()->setCurrentIndex(14);
    t.combo2()->setCurrentIndex(16);
    t.translate(u"text"_s);
    const QList<RecordedRequest> requests = t.requestsFor("/youdao/translate");
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(0).body, requests.at(1).body);
}

void TestTranslate::googleRoads_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("sourcePosition");
    QTest::addColumn<int>("targetPosition");
    QTest::addColumn<QString>("sl");
    QTest::addColumn<QString>("tl");

    QTest::newRow("219: short road, zh-CN to en") << 219 << 0 << 1 << u"zh-CN"_s << u"en"_s;
    QTest::newRow("220: long road, zh-CN to en") << 220 << 0 << 1 << u"zh-CN"_s << u"en"_s;
    QTest::newRow("short road, en to zh-CN") << 5 << 1 << 0 << u"en"_s << u"zh-CN"_s;
    QTest::newRow("long road, de to fr") << 300 << 14 << 16 << u"de"_s << u"fr"_s;
    QTest::newRow("short road, iw to vi") << 10 << 47 << 56 << u"iw"_s << u"vi"_s;
}

void TestTranslate::googleRoads()
{
    QFETCH(int, length);
    QFETCH(int, sourcePosition);
    QFETCH(int, targetPosition);
    QFETCH(QString, sl);
    QFETCH(QString, tl);

    Translator t;
    t.server.serve("/translate_a/t", CannedReply::page(200, googleCompact("short")));
    t.server.serve("/", CannedReply::page(200, googlePage("long")));
    t.combo1()->setCurrentIndex(sourcePosition);
    t.combo2()->setCurrentIndex(targetPosition);
    // A surrogate pair counts as two: lengths are in UTF-16 code units.
    QString text = u"😀"_s + QString(length - 2, u'字');
    text[3] = u' ';
    t.translate(text);

    const QList<RecordedRequest> requests = t.requestsFor(length < 220 ? "/translate_a/t" : "/");
    QCOMPARE(requests.size(), 1);
    const RecordedRequest request = requests.constFirst();
    if (length < 220) {
        QCOMPARE(request.method, QByteArray("GET"));
        QCOMPARE(normalized(request.target),
                 normalized(("/translate_a/t?client=t&text=" + UrlEncodeUtf8(text) +
                             u"&hl=zh-CN&sl="_s + sl + u"&tl="_s + tl + u"&pc=0&prev=btn"_s)
                                .toLatin1()));
        QCOMPARE(t.result(), targetPosition == 1 ? u"short."_s : u"short"_s);
    } else {
        QCOMPARE(request.requestLine, QByteArray("POST / HTTP/1.1"));
        QCOMPARE(request.body, ("js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=1&text=" +
                                UrlEncodeUtf8(text) + u"&file=&sl="_s + sl + u"&tl="_s + tl)
                                   .toLatin1());
        QCOMPARE(t.result(), u"long"_s);
    }
    QCOMPARE(t.h.status(), Success);
}

void TestTranslate::googleResults_data()
{
    QTest::addColumn<bool>("longRoad");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("result");

    QTest::newRow("several segments: the first")
        << false << QByteArray("[[[\"One.\",\"一。\",\"\",\"\"],[\"Two.\",\"二。\"]],,\"zh-CN\"]")
        << u"One.."_s;
    QTest::newRow("dictionary part")
        << false
        << QByteArray("[[[\"Hello\",\"你好\",\"\",\"\"]],[[\"interjection\",[\"hello\",\"hi\"]],"
                      "[\"noun\",[\"greeting\"]]],\"zh-CN\"]")
        << u"interjection:hello,hi\r\nnoun:greeting"_s;
    QTest::newRow("error page") << false << QByteArray("<html>429 Too Many</html>") << QString();
    QTest::newRow("web page with escapes")
        << true << googlePage("He said &amp;quot;hi&amp;quot;&lt;br&gt;Bye")
        << u"He said \"hi\"Bye"_s;
    QTest::newRow("web page without the field") << true << QByteArray("<html></html>") << QString();
}

void TestTranslate::googleResults()
{
    QFETCH(bool, longRoad);
    QFETCH(QByteArray, reply);
    QFETCH(QString, result);

    Translator t;
    t.server.serve(longRoad ? "/" : "/translate_a/t", CannedReply::page(200, reply));
    t.translate(longRoad ? QString(250, u'a') : u"你好"_s);
    QCOMPARE(t.result(), result);
    QCOMPARE(t.h.status(), result.isEmpty() ? NetworkProblem : Success);
    QVERIFY(t.command1()->isEnabled());
}

void TestTranslate::pronunciationRule_data()
{
    QTest::addColumn<bool>("previousResult");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("targetPosition");
    QTest::addColumn<bool>("spoken");

    QTest::newRow("first translation after start-up") << false << 4 << 1 << false;
    QTest::newRow("second translation") << true << 4 << 1 << true;
    QTest::newRow("33 characters") << true << 33 << 1 << true;
    QTest::newRow("34 characters") << true << 34 << 1 << false;
    QTest::newRow("Japanese target") << true << 4 << 35 << false;
    QTest::newRow("Korean target") << true << 4 << 21 << true;
    QTest::newRow("Chinese target") << true << 4 << 0 << true;
    QTest::newRow("long road never") << true << 250 << 1 << false;
}

void TestTranslate::pronunciationRule()
{
    QFETCH(bool, previousResult);
    QFETCH(int, length);
    QFETCH(int, targetPosition);
    QFETCH(bool, spoken);

    Translator t;
    t.server.serve("/translate_a/t", CannedReply::page(200, googleCompact("Good day")));
    t.server.serve("/", CannedReply::page(200, googlePage("Good day")));
    t.combo2()->setCurrentIndex(targetPosition);
    if (previousResult)
        t.h.child<QPlainTextEdit>("ResultContent")->setPlainText(u"earlier"_s);
    t.translate(QString(length, u'x'));

    // The web page's field gets no full stop; only the compact reply does, for English.
    const QString result = targetPosition == 1 && length < 220 ? u"Good day."_s : u"Good day"_s;
    QCOMPARE(t.result(), result);
    QCOMPARE(t.voice()->URL(),
             spoken ? t.base + u"/translate_tts?q="_s + UrlEncodeUtf8(result) + u"&tl=en"_s
                    : QString());
}

void TestTranslate::targetChangedDuringWait_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("during");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("spoken");

    QTest::newRow("to English: full stop") << 4 << 1 << u"Bonjour."_s << true;
    QTest::newRow("from English: none") << 1 << 4 << u"Bonjour"_s << true;
    QTest::newRow("to Japanese: not spoken") << 1 << 35 << u"Bonjour"_s << false;
}

void TestTranslate::targetChangedDuringWait()
{
    QFETCH(int, before);
    QFETCH(int, during);
    QFETCH(QString, result);
    QFETCH(bool, spoken);

    Translator t;
    t.server.setHandler("/translate_a/t", [&](const RecordedRequest &) {
        t.combo2()->setCurrentIndex(during);
        return CannedReply::page(200, googleCompact("Bonjour"));
    });
    t.h.child<QPlainTextEdit>("ResultContent")->setPlainText(u"earlier"_s);
    t.combo2()->setCurrentIndex(before);
    t.translate(u"hello"_s);

    // The request carries the languages of the click; the parser and the rule see the list now.
    const QByteArray sentTarget =
        "&tl=" + CodeForPosition(LanguageCatalogue::build().codes, before)->toLatin1() + "&";
    QVERIFY(t.requestsFor("/translate_a/t").constLast().target.contains(sentTarget));
    QCOMPARE(t.result(), result);
    QCOMPARE(!t.voice()->URL().isEmpty(), spoken);
}

void TestTranslate::playerFetchesSpeechUrlAsHeld()
{
    Translator t;
    t.server.serve("/youdao/translate", CannedReply::page(200, youdaoPage("R&D #1 100% a+b")));
    t.useYoudao();
    t.translate(u"研发"_s);
    const QString held = t.voice()->URL();
    QCOMPARE(held, t.base + u"/voice/fanyivoice?word="_s + UrlEncodeUtf8(u"R&D #1 100% a+b"_s));
    QTRY_COMPARE(t.requestsFor("/voice/fanyivoice").size(), 1);
    QCOMPARE(normalized(t.requestsFor("/voice/fanyivoice").constFirst().target),
             normalized(held.mid(t.base.size()).toLatin1()));
}

QTEST_MAIN(TestTranslate)
#include "tst_translate.moc"
