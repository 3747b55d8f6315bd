#include "FormHarness.h"
#include "ServiceReplies.h"
#include "StandInServer.h"
#include "Voice.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString Success = u"在线翻译成功!因官方限制,日语不可发音,其他如需发音,请再次点击翻译.."_s;
const QString NetworkProblem = u"请检查您的网络连接是否有问题..."_s;

// Long enough for any answer on loopback, short enough that the waits which only the
// time-out can end cost little.
constexpr std::chrono::milliseconds ShortTimeout = 400ms;
// Twice what the HTTP layer accepts.
constexpr qsizetype HugeBody = 64 * 1024 * 1024;

// A second of silence that the player can decode: a speech fetch that failed would make the
// player stop its pipeline, which blocks the one thread, stand-in server included, for about
// a second and so would eat into the short time-outs.
QByteArray speech()
{
    QFile file(QFINDTESTDATA("../data/silence.mp3"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class Road
{
    Youdao,
    GoogleShort,
    GoogleLong
};
constexpr Road Roads[] = {Road::Youdao, Road::GoogleShort, Road::GoogleLong};

struct RoadTraits
{
    const char *name;
    QByteArray path;
    QString source;
    // The whole page comes first and padding after it, so any half of it still holds a
    // complete translation: a layer that passed a cut body on would show one.
    QByteArray goodReply;
    QString goodResult;
    QByteArray markersReversed; // the end marker comes before the start marker
};

QByteArray padded(const QByteArray &page)
{
    return page + QByteArray(8 * 1024, ' ');
}

RoadTraits traits(Road road)
{
    switch (road) {
    case Road::Youdao:
        return {.name = "Youdao",
                .path = "/youdao/translate",
                .source = u"你好"_s,
                .goodReply = padded(youdaoPage("Hello")),
                .goodResult = u"Hello"_s,
                .markersReversed =
                    "<html></textarea>Hello<textarea id=\"outputText\" name=\"o\">Hello"};
    case Road::GoogleShort:
        return {.name = "Google short road",
                .path = "/translate_a/t",
                .source = u"你好"_s,
                .goodReply = padded(googleCompact("Hello")),
                // The target list shows English after start-up, which earns a full stop.
                .goodResult = u"Hello."_s,
                .markersReversed = "\"]]]\",Hello]],[[[[[\"Hello"};
    case Road::GoogleLong:
        return {.name = "Google long road",
                .path = "/",
                .source = QString(250, u'长'),
                .goodReply = padded(googlePage("Hello")),
                .goodResult = u"Hello"_s,
                .markersReversed = "\"><div id=sug_exp>Hello<input name=gtrans value=\"Hello"};
    }
    Q_UNREACHABLE();
    return {};
}

CannedReply withFault(CannedReply reply, CannedReply::Fault fault)
{
    reply.fault = fault;
    return reply;
}

CannedReply gzipped(const QByteArray &compressed)
{
    return CannedReply::page(200, compressed).addHeader("Content-Encoding", "gzip");
}

// A window on a stand-in server that plays all three services.
struct Window
{
    StandInServer server;
    QString base = u"http://127.0.0.1:%1"_s.arg(server.port());
    FormHarness h;

    explicit Window(std::chrono::milliseconds requestTimeout)
        : h(Endpoints{base, base + u"/youdao"_s, base + u"/voice"_s, base + u"/forum"_s},
            requestTimeout)
    {
        h.form->show();
    }

    QPushButton *button(const char *name) const { return h.child<QPushButton>(name); }
    Voice *voice() const { return h.child<Voice>("Voice"); }
    QString result() const { return BoxTextOf(h, "ResultContent"); }

    // The player fetches its speech URLs from the same server; only these paths count.
    qsizetype requestsFor(const QByteArray &path) const
    {
        return std::count_if(
            server.requests().cbegin(), server.requests().cend(),
            [&](const RecordedRequest &request) { return request.path() == path; });
    }

    void translate(Road road, const QString &source)
    {
        h.child<QRadioButton>(road == Road::Youdao ? "Option1" : "Option2")->setChecked(true);
        h.child<QPlainTextEdit>("SourceContent")->setPlainText(source);
        button("Command1")->click();
    }
};

enum class Command
{
    About,
    ReleaseNotes,
    Paste,
    Copy,
    SaveAudio,
    ClearAudio,
    ExitAnsweredNo,
    Translate
};

// As the user would: buttons by a mouse click, the player's menu items by triggering them.
void press(const Window &w, Command command)
{
    const auto click = [&](const char *name) {
        QTest::mouseClick(w.button(name), Qt::LeftButton);
    };
    const auto menuItem = [&](const char *name) {
        w.h.child<QMenu>("caidan")->findChild<QAction *>(QString::fromLatin1(name))->trigger();
    };
    switch (command) {
    case Command::About:
        click("Command2");
        break;
    case Command::ReleaseNotes:
        click("Command4");
        break;
    case Command::Paste:
        click("Command5");
        break;
    case Command::Copy:
        click("Command6");
        break;
    case Command::SaveAudio:
        menuItem("bc");
        break;
    case Command::ClearAudio:
        menuItem("qc");
        break;
    case Command::ExitAnsweredNo:
        click("Command3");
        break;
    case Command::Translate:
        click("Command1");
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Road)
Q_DECLARE_METATYPE(Command)

class TestFaults final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faultEndsInNetworkMessage_data();
    void faultEndsInNetworkMessage();
    void closingDuringWait_data();
    void closingDuringWait();
    void otherCommandRunsDuringWait_data();
    void otherCommandRunsDuringWait();
};

void TestFaults::faultEndsInNetworkMessage_data()
{
    QTest::addColumn<Road>("road");
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<bool>("refused");

    const QByteArray invalidUtf8 =
        QByteArray("\xc3\x28\xa0\xa1\xe2\x28\xa1\xf0\x90\x28\xbc\xf8\x88\x80\x80\x80\xc0\xaf"
                   "\xed\xa0\x80\xfe\xff")
            .repeated(64);
    for (const Road road : Roads) {
        const RoadTraits r = traits(road);
        const CannedReply good = CannedReply::page(200, r.goodReply);
        QByteArray damagedByte = compress(r.goodReply, Compression::Gzip);
        damagedByte[damagedByte.size() / 2] = char(damagedByte[damagedByte.size() / 2] ^ 0x5a);
        QByteArray wrongCheck = compress(r.goodReply, Compression::Gzip);
        wrongCheck[wrongCheck.size() - 8] = char(wrongCheck[wrongCheck.size() - 8] ^ 0x01);
        CannedReply huge = good;
        huge.repeatedBodySize = HugeBody;
        const CannedReply bomb =
            gzipped(compress(r.goodReply, Compression::Gzip, HugeBody / r.goodReply.size() + 1));

        const auto row = [&](const char *fault, const CannedReply &reply, bool refused = false) {
            QTest::addRow("%s, %s", r.name, fault) << road << reply << refused;
        };
        row("refused", {}, true);
        row("hang", withFault(good, CannedReply::Fault::Hang));
        row("stalled mid-body", withFault(good, CannedReply::Fault::StallMidBody));
        row("reset mid-body", withFault(good, CannedReply::Fault::ResetMidBody));
        row("closed mid-body", withFault(good, CannedReply::Fault::CloseMidBody));
        row("500 with a body",
            CannedReply::page(500, "<html><body><h1>500 Internal Server Error</h1></body></html>"));
        row("corrupt gzip, a damaged byte", gzipped(damagedByte));
        row("corrupt gzip, a wrong check value", gzipped(wrongCheck));
        row("64 MiB body", huge);
        row("gzip that inflates to 64 MiB", bomb);
        row("invalid UTF-8", CannedReply::page(200, invalidUtf8));
        row("brackets and quotes", CannedReply::page(200, R"([[[[""]]]"",[[)"));
        row("markers in the wrong order", CannedReply::page(200, r.markersReversed));
    }
}

void TestFaults::faultEndsInNetworkMessage()
{
    QFETCH(Road, road);
    QFETCH(CannedReply, reply);
    QFETCH(bool, refused);
    const RoadTraits r = traits(road);

    Window w(ShortTimeout);
    for (const QByteArray path : {"/translate_tts", "/voice/fanyivoice"})
        w.server.serve(path, CannedReply::page(200, speech(), "audio/mpeg"));
    for (const Road each : Roads)
        w.server.serve(traits(each).path, CannedReply::page(200, traits(each).goodReply));
    // Twice, because the short road speaks only when the result box already holds a result;
    // the long road then works once more and leaves the player alone.
    const Road spoken = road == Road::Youdao ? Road::Youdao : Road::GoogleShort;
    w.translate(spoken, traits(spoken).source);
    w.translate(spoken, traits(spoken).source);
    if (road == Road::GoogleLong)
        w.translate(road, r.source);
    QCOMPARE(w.h.status(), Success);
    QCOMPARE(w.result(), r.goodResult);
    const QString audio = w.voice()->URL();
    QVERIFY(!audio.isEmpty());

    const qsizetype requestsBefore = w.requestsFor(r.path);
    if (refused)
        w.server.stopListening();
    else
        w.server.serve(r.path, reply);
    w.translate(road, r.source);

    QCOMPARE(w.requestsFor(r.path), requestsBefore + (refused ? 0 : 1));
    QCOMPARE(w.h.status(), NetworkProblem);
    QCOMPARE(w.result(), QString());
    QCOMPARE(w.voice()->URL(), audio);
    QVERIFY(w.button("Command1")->isEnabled());
    QVERIFY(w.h.form->isVisible());
}

void TestFaults::closingDuringWait_data()
{
    QTest::addColumn<Road>("road");
    QTest::addColumn<bool>("deferred");

    for (const Road road : Roads) {
        QTest::addRow("%s, deleted at once", traits(road).name) << road << false;
        QTest::addRow("%s, deleted by the event loop", traits(road).name) << road << true;
    }
}

void TestFaults::closingDuringWait()
{
    QFETCH(Road, road);
    QFETCH(bool, deferred);
    const RoadTraits r = traits(road);

    StandInServer server;
    server.serve(r.path, withFault(CannedReply::page(200, r.goodReply), CannedReply::Fault::Hang));
    const QString base = u"http://127.0.0.1:%1"_s.arg(server.port());
    // A time-out far beyond the test's own limit: only the window's going can end the wait.
    FormHarness h(Endpoints{base, base + u"/youdao"_s, base + u"/voice"_s, base + u"/forum"_s},
                  10min);
    h.form->show();
    h.child<QRadioButton>(road == Road::Youdao ? "Option1" : "Option2")->setChecked(true);
    h.child<QPlainTextEdit>("SourceContent")->setPlainText(r.source);
    const QPointer<Form1> form = h.form.get();
    const QPointer<QPushButton> button = h.child<QPushButton>("Command1");
    connect(&server, &StandInServer::requestReceived, this, [&](const RecordedRequest &request) {
        if (request.path() != r.path)
            return;
        if (deferred)
            h.form.release()->deleteLater();
        else
            h.form.reset();
    });

    // Returns once the translate command has: it must not go on with a window that is gone.
    button->click();

    QVERIFY(!form);
    QVERIFY(!button);
    QCOMPARE(server.requests().size(), 1);
    // The request went with the window instead of being left to run on.
    QTRY_COMPARE(server.closedConnections(), 1);
    QVERIFY(h.platform.messageBox->shown.isEmpty());
}

void TestFaults::otherCommandRunsDuringWait_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Road>("road");
    QTest::addColumn<bool>("succeeds");

    const std::pair<Command, const char *> commands[] = {
        {Command::About, "about"},
        {Command::ReleaseNotes, "release notes"},
        {Command::Paste, "paste"},
        {Command::Copy, "copy"},
        {Command::SaveAudio, "save audio"},
        {Command::ClearAudio, "clear audio"},
        {Command::ExitAnsweredNo, "exit answered No"},
        {Command::Translate, "translate again"},
    };
    std::size_t turn = 0;
    for (const auto &[command, name] : commands) {
        for (const Road road : Roads)
            QTest::addRow("%s, %s answers", name, traits(road).name) << command << road << true;
        const Road road = Roads[turn++ % std::size(Roads)];
        QTest::addRow("%s, %s times out", name, traits(road).name) << command << road << false;
    }
}

void TestFaults::otherCommandRunsDuringWait()
{
    QFETCH(Command, command);
    QFETCH(Road, road);
    QFETCH(bool, succeeds);
    const RoadTraits r = traits(road);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString audioFile = folder.filePath(u"voice.mp3"_s);

    Window w(succeeds ? 10s : ShortTimeout);
    w.server.serve(r.path, succeeds ? CannedReply::page(200, r.goodReply)
                                    : withFault(CannedReply(), CannedReply::Fault::Hang));
    const QByteArray audio = speech();
    QVERIFY(!audio.isEmpty());
    w.server.serve("/translate_tts", CannedReply::page(200, audio, "audio/mpeg"));
    w.h.platform.clipboard->content = u"剪贴板里的原文"_s;
    w.h.platform.saveFileDialog->answer = audioFile;
    w.h.child<QPlainTextEdit>("ResultContent")->setPlainText(u"earlier result"_s);
    w.voice()->setURL(w.base + u"/translate_tts?q=earlier&tl=en"_s);
    const QString statusBefore = w.h.status();

    struct Seen
    {
        bool command1Enabled;
        QString status;
        QList<FakeMessageBox::Shown> messages;
        QString source;
        QString clipboard;
        QString voiceUrl;
        QByteArray savedAudio;
        bool visible;
    };
    std::optional<Seen> seen;
    connect(&w.server, &StandInServer::requestReceived, this, [&](const RecordedRequest &request) {
        if (request.path() != r.path || seen)
            return;
        press(w, command);
        QFile saved(audioFile);
        seen = Seen{w.button("Command1")->isEnabled(),
                    w.h.status(),
                    w.h.platform.messageBox->shown,
                    BoxTextOf(w.h, "SourceContent"),
                    w.h.platform.clipboard->content,
                    w.voice()->URL(),
                    saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray(),
                    w.h.form->isVisible()};
    });

    w.translate(road, r.source);

    QVERIFY(seen);
    QVERIFY(!seen->command1Enabled);
    QVERIFY(seen->visible);
    QString statusDuringWait = statusBefore;
    qsizetype messages = 0;
    switch (command) {
    case Command::About:
        messages = 1;
        QCOMPARE(seen->messages.value(0).text, w.h.child<QLabel>("Label5")->text());
        QCOMPARE(seen->messages.value(0).buttons, MessageBoxService::Buttons::Ok);
        break;
    case Command::ReleaseNotes:
        messages = 1;
        QVERIFY(seen->messages.value(0).text.startsWith(u"1.新增了保存在线发音音频的功能"_s));
        QCOMPARE(seen->messages.value(0).buttons, MessageBoxService::Buttons::Ok);
        break;
    case Command::Paste:
        statusDuringWait = u"已粘贴原文到指定翻译框中..."_s;
        QCOMPARE(seen->source, u"剪贴板里的原文"_s);
        break;
    case Command::Copy:
        statusDuringWait = u"译文已复制成功!"_s;
        QCOMPARE(seen->clipboard, u"earlier result"_s);
        break;
    case Command::SaveAudio:
        statusDuringWait = u"音频文件已保存,路径:["_s + audioFile + u"]"_s;
        QCOMPARE(seen->savedAudio, audio);
        break;
    case Command::ClearAudio:
        statusDuringWait = QString();
        QCOMPARE(seen->voiceUrl, QString());
        break;
    case Command::ExitAnsweredNo:
        messages = 1;
        QCOMPARE(seen->messages.value(0).buttons, MessageBoxService::Buttons::YesNo);
        QVERIFY(w.h.platform.webPageOpener->opened.isEmpty());
        break;
    case Command::Translate:
        break;
    }
    QCOMPARE(seen->status, statusDuringWait);
    QCOMPARE(seen->messages.size(), messages);

    // The translation went on, once, to its own end.
    QCOMPARE(w.requestsFor(r.path), 1);
    QCOMPARE(w.h.status(), succeeds ? Success : NetworkProblem);
    QCOMPARE(w.result(), succeeds ? r.goodResult : QString());
    QVERIFY(w.button("Command1")->isEnabled());
    QVERIFY(w.h.form->isVisible());
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
