// Bremo reached from outside its window: script mode as a script runs it, and a second start
// that hands its request to the window of the first. Run in a session bus and on a display of
// their own (in-session.sh); bremo itself always runs without a display, which neither needs.
#include "ApplicationService.h"
#include "FormHarness.h"
#include "Handover.h"
#include "LanguageCatalogue.h"
#include "OutsideRequests.h"
#include "ScreenText.h"
#include "ServiceSettingsDialog.h"
#include "SessionLock.h"
#include "SessionNames.h"
#include "StandInServer.h"
#include "Voice.h"

#include <QAbstractNativeEventFilter>
#include <QAction>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <xcb/xcb.h>

#include <unistd.h>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1; // -1 also for a crash
    QByteArray out;
    QByteArray err;
};

// bremo started without a display, its services played by server as the system's proxy;
// leading NAME=value words are its environment.
Run Bremo(const StandInServer &server, QStringList arguments, const QByteArray &input = {},
          const QString &outputFile = {})
{
    QProcess process;
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"http_proxy"_s, server.origin());
    while (!arguments.isEmpty() && arguments.first().contains(u'=') &&
           !arguments.first().startsWith(u'-')) {
        const QString variable = arguments.takeFirst();
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    }
    for (const QString &name : {u"no_proxy"_s, u"NO_PROXY"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s})
        environment.remove(name);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s); // a window tried would fail
    process.setProcessEnvironment(environment);
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(QStringLiteral(BREMO_STANDIN), arguments);
    process.write(input);
    process.closeWriteChannel();
    // The server answers from this thread's event loop, so wait in one.
    if (!finished.wait(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// An X selection owned by another client (xclip), which stays in the background until another
// owner or the display ends.
bool OwnSelection(QProcess &owner, const QString &selection, const QByteArray &text)
{
    owner.start(u"xclip"_s, {u"-selection"_s, selection});
    owner.write(text);
    owner.closeWriteChannel();
    return owner.waitForFinished() && owner.exitCode() == 0;
}

// What the window tells the launcher and the window manager over X: the start-up notification
// messages on the root window, in pieces of which the first has a type of its own, and the
// start-up id on the window.
class StartupNotice final : public QAbstractNativeEventFilter
{
public:
    StartupNotice() { qApp->installNativeEventFilter(this); }
    ~StartupNotice() override { qApp->removeNativeEventFilter(this); }
    QByteArrayList messages;

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const auto *event = static_cast<const xcb_client_message_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE || event->format != 8)
            return false;
        if (event->type == atom("_NET_STARTUP_INFO_BEGIN"))
            messages << QByteArray();
        else if (event->type != atom("_NET_STARTUP_INFO") || messages.isEmpty())
            return false;
        const auto *text = reinterpret_cast<const char *>(event->data.data8);
        messages.last() += QByteArray(text, qstrnlen(text, sizeof event->data.data8));
        return false;
    }

    static QByteArray idOn(const QWidget &window)
    {
        auto *property = xcb_get_property_reply(
            x(),
            xcb_get_property(x(), 0, window.winId(), atom("_NET_STARTUP_ID"), XCB_ATOM_ANY, 0, 64),
            nullptr);
        const QByteArray id(static_cast<const char *>(xcb_get_property_value(property)),
                            xcb_get_property_value_length(property));
        std::free(property);
        return id;
    }

private:
    static xcb_connection_t *x()
    {
        return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    }
    static xcb_atom_t atom(const char *name)
    {
        auto *reply = xcb_intern_atom_reply(
            x(), xcb_intern_atom(x(), 1, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }
};

// Three frames of MP3 silence: a clip that the save keeps.
const QByteArray SilentClip = QByteArray("\xFF\xFB\x10\xC4").append(100, 0).repeated(3);
// How the offline voice's MP3 begins: the sync of MPEG-2 Layer III, at espeak-ng's 22050 Hz.
const QByteArray OfflineMp3 = "\xFF\xF3";

// The session's Bremo played by the test on a connection of its own: it refuses every request,
// or quits without answering, as a window ended while it was stopped does.
struct RivalWindow final : QDBusVirtualObject
{
    explicit RivalWindow(bool refuses)
        : refuses(refuses)
    {
        HoldSessionLock(); // as the session's Bremo does
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"rival"_s);
        bus.registerVirtualObject(Session::ObjectPath, this);
        bus.registerService(Session::ApplicationId);
    }
    ~RivalWindow() override { QDBusConnection::disconnectFromBus(u"rival"_s); }
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (refuses)
            return connection.send(
                message.createErrorReply(QDBusError::AccessDenied, u"not now"_s));
        QMetaObject::invokeMethod(
            this, [] { QDBusConnection::disconnectFromBus(u"rival"_s); }, Qt::QueuedConnection);
        return true;
    }
    const bool refuses;
};

// The lines of text as a screen shows them, in the Chinese font of the window, one size each.
// ScreenLines shown on the screen at x, y, above every window.
struct Shown final : QLabel
{
    Shown(int x, int y)
    {
        setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        setPixmap(QPixmap::fromImage(ScreenPicture({700, 130})));
        setGeometry(x, y, 700, 130);
        show();
    }
};

} // namespace

class TestOutside final : public QObject
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
        row("languages, standard input", {u"--from"_s, u"en"_s, u"--to"_s, u"zh-CN"_s, u"-"_s}, 0,
            "Hi\n", {}, "/translate_a/t?client=t&text=a%0D%0Ab&hl=zh-CN&sl=en&tl=zh-CN&",
            GoogleShortReply, "a\r\nb\r\n");
        row("youdao", {u"--engine"_s, u"youdao"_s, u"hi"_s}, 0, "你好\nworld\n", {},
            "/translatei=%68%69&type=AUTO&", "<textarea name=\"o\">你好,&#10;world</textarea>");
        row("apertium",
            {u"--engine"_s, u"apertium"_s, u"--from"_s, u"en"_s, u"--to"_s, u"es"_s, u"-"_s}, 0,
            "Buenos días\nMi amigo\n", {}, {}, {}, "Good morning\nmy friend\n");
        const QString libre = u"BREMO_LIBRETRANSLATE_URL=http://libre.stand-in.invalid/"_s;
        row("libretranslate alone, though Apertium has the pair",
            {libre, u"--engine"_s, u"libretranslate"_s, u"--from"_s, u"en"_s, u"--to"_s, u"es"_s,
             u"hi"_s},
            1, {}, "bremo: LibreTranslate 服务器：回复中没有译文\n", "/translate", "{}");
        row("libretranslate not set", {u"--engine"_s, u"libretranslate"_s, u"hi"_s}, 2, {},
            "BREMO_LIBRETRANSLATE_URL", {});
        row("unknown language", {u"--to"_s, u"xx"_s, u"hi"_s}, 2, {}, "zh-CN", {});
        row("unknown engine", {u"--engine"_s, u"bing"_s, u"hi"_s}, 2, {}, "zh-CN", {});
        row("no text", {}, 2, {}, "zh-CN", {});
        row("empty input", {u"-"_s}, 2, {}, "empty", {}, {}, "\n");
        const QStringList save = {u"--save-audio"_s, u"FILE"_s, u"你好"_s};
        row("saved", save, 0, "Hi.\n", {}, "/translate_a/t|/translate_tts?q=Hi.&tl=en",
            GoogleShortReply, {}, SilentClip);
        row("saving refused, the offline voice's MP3 saved", save, 0, "Hi.\n",
            "bremo: Google 语音：HTTP 500（服务器出错）\nbremo: 离线语音：成功\n",
            "/translate_a/t|/translate_tts?q=Hi.&tl=en", GoogleShortReply, {}, OfflineMp3);
        row("the offline voice alone asks no speech host",
            QStringList{u"BREMO_VOICE=offline"_s} + save, 0, "Hi.\n", "bremo: 离线语音：成功\n",
            "/translate_a/t", GoogleShortReply, {}, OfflineMp3);
        row("standard output full, old file kept", save, 1, "/dev/full",
            "bremo: cannot write the translation to standard output: No space left on device",
            "/translate_a/t|/translate_tts?q=Hi.&tl=en");
        row("Japanese is not spoken", QStringList{u"--to"_s, u"ja"_s} + save, 1, {},
            "no pronunciation: Google does not speak Japanese", "/translate_a/t");
        row("an offline translation is not spoken",
            QStringList{u"--engine"_s, u"apertium"_s, u"--from"_s, u"en"_s, u"--to"_s, u"es"_s} +
                QStringList(save).replaceInStrings(u"你好"_s, u"hello"_s),
            1, {}, "no pronunciation: an offline translation (Apertium) has none", {});
        row("a long Youdao result is not spoken", QStringList{u"--engine"_s, u"youdao"_s} + save, 1,
            {}, "no pronunciation: the translation is too long to be spoken", "/translate",
            "<textarea name=\"o\">" + QByteArray(501, 'a') + "</textarea>");
        row("text too long", {u"-"_s}, 1, {}, "bremo: the text is too long", {}, {},
            QByteArray(50001, 'a'));
        const QString keyed = u"http://keyed.stand-in.invalid"_s;
        row("deepl",
            {u"BREMO_DEEPL_KEY=KEY-deepl"_s, u"BREMO_DEEPL_ENDPOINT="_s + keyed, u"--engine"_s,
             u"deepl"_s, u"你好"_s},
            0, "Hello\n", {}, "/v2/translate{\"source_lang\":\"ZH\",\"target_lang\":\"EN-US\"",
            R"({"translations":[{"text":"Hello"}]})");
        row("deepl without its key", {u"--engine"_s, u"deepl"_s, u"hi"_s}, 2, {},
            "bremo: --engine deepl needs the user's key: set BREMO_DEEPL_KEY\n", {});
        // Pictures: the text recognised exactly, line by line; the reason for any other.
        const QStringList image = {u"--image"_s, u"-"_s};
        const QByteArray shot = Png(ScreenPicture({700, 130}));
        row("picture, recognised", image + QStringList{u"--recognise-only"_s}, 0,
            ScreenLines.join(u'\n').toUtf8() + '\n', {}, {}, {}, shot);
        row("picture, translated", image, 0, "Hi.\n", {},
            "&text=" + QUrl::toPercentEncoding(ScreenLines.join(u"\r\n"_s).toUtf8()) +
                "&hl=zh-CN&sl=zh-CN",
            GoogleShortReply, shot);
        QFont font(u"WenQuanYi Micro Hei"_s);
        font.setPixelSize(36); // the first line's, drawn at 20, 50
        const QRect firstLine = QFontMetrics(font).tightBoundingRect(ScreenLines[0]);
        row("picture cut close to the text", image + QStringList{u"--recognise-only"_s}, 0,
            ScreenLines[0].toUtf8() + '\n', {}, {}, {},
            Png(ScreenPicture({700, 130}).copy(firstLine.translated(20, 50))));
        row("picture without text", image, 1, {}, "bremo: no text was recognised in the picture\n",
            {}, {}, Png(ScreenPicture({400, 100}, true)));
        row("not a picture", image, 1, {}, "bremo: - is not a PNG or JPEG picture\n", {}, {},
            "GIF89a, or so it says");
        row("too many pixels", image, 1, {}, "too large to recognise", {}, {},
            Png(ScreenPicture({9000, 5000}, true, QImage::Format_Mono)));
        row("no model", QStringList{u"TESSDATA_PREFIX=/nonexistent"_s} + image, 1, {},
            "model chi_sim is not installed (package tesseract-ocr-chi-sim)", {}, {}, shot);
        row("text and picture", image + QStringList{u"hi"_s}, 2, {}, "--image", {});
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
        for (const QByteArray path :
             {"/translate_a/t", "/translate", "/translate_a/single", "/v2/translate"})
            server.serve(path, CannedReply::page(200, reply));
        const bool refused = QByteArray(QTest::currentDataTag()).contains("refused");
        server.serve("/translate_tts", CannedReply::page(refused ? 500 : 200, SilentClip));
        QTemporaryDir folder;
        const QString path = folder.filePath(u"hi.mp3"_s);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        arguments.replaceInStrings(u"FILE"_s, path);
        const bool full = out == "/dev/full";
        const Run run = Bremo(server, arguments << u"--print"_s, input,
                              full ? QString::fromLatin1(out) : QString());
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, full ? QByteArray() : out);
        QVERIFY2(run.err.contains(err) && !run.err.contains("bremo.roads") &&
                     !run.err.contains("KEY-"),
                 run.err.constData());
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray held = old.readAll();
        QCOMPARE(file == OfflineMp3 ? held.left(2) : held, file);
        const QByteArrayList expected = sent.isEmpty() ? QByteArrayList() : sent.split('|');
        QCOMPARE(server.requests().size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY(QByteArray(server.requests()[i].target + server.requests()[i].body)
                        .contains(expected[i]));
    }

    // bremo --check: a line for each road, and whether both engines still have one that
    // answers; --help-all is help, --version the version.
    void check_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("apiStatus"); // of Google's JSON road
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out"); // contained in standard output, one line each
        QTest::newRow("both engines have a road")
            << QStringList{u"--check"_s} << 200 << 0
            << QByteArray(
                   "google          services.stand-in.invalid      HTTP 429（请求过于频繁） |"
                   "google-long     services.stand-in.invalid      HTTP 404（页面不存在） |"
                   "youdao          services.stand-in.invalid      回复中没有译文 |"
                   "google-api      services.stand-in.invalid      ok |"
                   "apertium        eng-spa                        ok |"
                   "google-voice    services.stand-in.invalid      HTTP 404（页面不存在） |"
                   "youdao-voice    services.stand-in.invalid      ok |"
                   "espeak-ng       cmn-latn-pinyin                ok ");
        QTest::newRow("help-all") << QStringList{u"--help-all"_s} << 200 << 0
                                  << QByteArray("--check ");
        QTest::newRow("version") << QStringList{u"--version"_s} << 200 << 0
                                 << QByteArray("bremo " BREMO_VERSION "\n");
        QTest::newRow("hosts that never answer")
            << QStringList{u"--check"_s} << 0 << 1
            << QByteArray("google          services.stand-in.invalid      超时 |"
                          "google-api      services.stand-in.invalid      超时 |apertium ");
        QTest::newRow("a key's road answers for both")
            << QStringList{u"BREMO_DEEPL_KEY=KEY-deepl"_s,
                           u"BREMO_DEEPL_ENDPOINT=http://keyed.stand-in.invalid"_s, u"--check"_s}
            << 503 << 0
            << QByteArray("google-api |deepl           keyed.stand-in.invalid         ok ");
    }

    void check()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, apiStatus);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(429, "<html>sorry</html>"));
        server.serve("/translate", CannedReply::page(200, "<html></html>"));
        server.serve("/fanyivoice", CannedReply::page(200, SilentClip));
        server.serve("/translate_a/single",
                     CannedReply::page(apiStatus, apiStatus == 200
                                                      ? "{\"sentences\":[{\"trans\":\"Hello\"}]}"
                                                      : "<html>sorry</html>"));
        server.serve("/v2/translate",
                     CannedReply::page(200, R"({"translations":[{"text":"Hello"}]})"));
        for (const QByteArray path : {"/translate_a/t", "/", "/translate", "/translate_a/single"})
            if (apiStatus == 0) // every host hangs
                server.serve(path, {200, {}, {}, -1, CannedReply::Fault::Hang});
        const Run run = Bremo(server, arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.out.contains("KEY-"));
        qsizetype at = 0; // the lines in their order
        for (const QByteArray &line : out.split('|')) {
            at = run.out.indexOf(line, at);
            QVERIFY2(at >= 0, run.out.constData());
        }
        QCOMPARE(run.err, QByteArray()); // the table alone
    }

    // A second start hands its request to the window of the first and ends: a text, what is
    // highlighted, what is copied (owned by another X client), the text shown in an area of
    // the screen or in one dragged on the frozen screen (xdotool plays the user; Esc or a
    // right-click cancels), nothing, or the window alone. The window completes the launcher's
    // start-up notification.
    void handOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("selection"); // the X selection that xclip owns
        QTest::addColumn<QString>("source");    // the source box afterwards
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("user"); // on the frozen screen
        const auto row = [](const char *name, const QStringList &arguments, const QString &source,
                            const QString &status, const QString &selection = {},
                            const QString &user = {}) {
            QTest::newRow(name) << arguments << selection << source << status
                                << user.split(u' ', Qt::SkipEmptyParts);
        };
        const QString welcome = u"欢迎使用Qirel的作品..."_s;
        const QString screen = ScreenLines.join(u"\r\n"_s);
        row("text", {u"one text"_s}, u"one text"_s, Succeeded);
        row("text after Qt's options", {u"-session"_s, u"restored"_s, u"-reverse"_s, u"one text"_s},
            u"one text"_s, Succeeded);
        row("selection", {u"--selection"_s}, u"highlighted words"_s, Succeeded, u"primary"_s);
        row("clipboard", {u"--clipboard"_s}, u"copied words"_s, Succeeded, u"clipboard"_s);
        row("screen", {u"--screen=20,880,700,130"_s}, screen, Succeeded);
        row("screen, no text there", {u"--screen=1200,20,60,40"_s}, welcome,
            u"所选区域中没有识别到文字..."_s);
        // Over the shown lines, from corner to corner.
        row("screen, dragged", {u"--screen"_s}, screen, Succeeded, {},
            u"mousemove 22 882 mousedown 1 mousemove 300 950 mousemove 718 1008 mouseup 1"_s);
        row("screen, Esc", {u"--screen"_s}, welcome, u"您取消了屏幕取词..."_s, {}, u"key Escape"_s);
        row("screen, right-click", {u"--screen"_s}, welcome, u"您取消了屏幕取词..."_s, {},
            u"mousemove 600 500 click 3"_s);
        row("empty text", {QString()}, {}, u"请您先输入原文再进行翻译"_s);
        row("window alone", {}, welcome, Loaded);
        row("standard input", {u"-"_s}, u"piped words"_s, Succeeded);
        row("settings", {u"--settings"_s}, welcome, Loaded);
    }

    void handOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, selection);
        QFETCH(QString, source);
        QFETCH(QString, status);
        QFETCH(QStringList, user);
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, GoogleShortReply));
        FormHarness h(server.origin());
        ApplicationService service;
        QCOMPARE(HandOver({}), Handover::NoPrimary); // the first start of the session
        QCOMPARE(service.claim(), ApplicationService::Claim::Claimed);
        connect(&service, &ApplicationService::requested, h.form.get(),
                [&h](const OutsideRequest &request) { ServeOutsideRequest(*h.form, request); });
        QProcess owner;
        if (!selection.isEmpty())
            QVERIFY(OwnSelection(owner, selection, source.toUtf8()));
        Shown shown(20, 880); // lines of text where the screen rows look
        QVERIFY(QTest::qWaitForWindowExposed(&shown));

        StartupNotice startup;
        const QString startupId = u"bremo/a\"\\b_TIME0"_s; // a quote, a backslash, two pieces
        // The source, followed by a line break, is standard input.
        const Run second =
            Bremo(server, QStringList{u"DESKTOP_STARTUP_ID="_s + startupId} + arguments,
                  source.toUtf8() + '\n');
        QVERIFY2(second.exitCode == 0, second.err.constData());
        if (!user.isEmpty()) {
            QTRY_VERIFY(FrozenScreen());
            QWidget *frozen = FrozenScreen();
            QCOMPARE(frozen->geometry(), QGuiApplication::primaryScreen()->geometry());
            QVERIFY(QTest::qWaitForWindowExposed(frozen));
            QProcess xdotool;
            xdotool.start(u"xdotool"_s, user);
            QVERIFY(xdotool.waitForFinished() && xdotool.exitCode() == 0);
        }
        // 翻译服务设置 takes the focus over the window.
        if (arguments == QStringList{u"--settings"_s})
            QTRY_VERIFY(h.form->findChild<ServiceSettingsDialog *>());
        else
            QTRY_VERIFY_WITH_TIMEOUT(h.form->isActiveWindow(), 20000);
        QTRY_COMPARE(startup.messages, QByteArrayList{"remove: ID=\"bremo/a\\\"\\\\b_TIME0\""});
        QCOMPARE(StartupNotice::idOn(*h.form), startupId.toUtf8());
        QTRY_COMPARE_WITH_TIMEOUT(h.status(), status, 20000);
        QCOMPARE(h.box("SourceContent"), source);
        QCOMPARE(server.requests().size(), status == Succeeded ? 1 : 0);
    }

    // A source language whose model is not installed is read with English alone, and the
    // window says so once.
    void screenModelMissingSaidOnce()
    {
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, GoogleShortReply));
        FormHarness h(server.origin());
        h.child<QComboBox>("Combo1")->setCurrentIndex(
            int(LanguageCatalogue::build().codes.indexOf(u"ja"_s)));
        Shown shown(20, 880);
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        for (const QString &status :
             {u"未安装 tesseract-ocr-jpn,只识别其中的英文..."_s, u"正在识别屏幕上的文字..."_s}) {
            h.form->translateScreenArea(shown.geometry());
            QCOMPARE(h.status(), status);
            QTRY_COMPARE_WITH_TIMEOUT(h.status(), Succeeded, 20000);
        }
    }

    // Where only the focused window may read the selection, the requests that come before the
    // focus are served once, when it comes.
    void selectionWaitsForTheFocus()
    {
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, GoogleShortReply));
        FormHarness h(server.origin()); // not shown: the focus comes after both requests
        QProcess owner;
        QVERIFY(OwnSelection(owner, u"primary"_s, "highlighted"));
        OutsideRequest selection;
        selection.kind = OutsideRequest::Kind::Selection;
        ServeOutsideRequest(*h.form, selection, SelectionAccess::WhenFocused);
        ServeOutsideRequest(*h.form, selection, SelectionAccess::WhenFocused);
        QTRY_COMPARE(h.status(), Succeeded);
        QCOMPARE(h.box("SourceContent"), u"highlighted"_s);
        QCOMPARE(server.requests().size(), 1);
    }

    // One holder of the lock per session bus; a link put in the lock's place is not followed.
    void sessionLock_data()
    {
        QTest::addColumn<QByteArray>("held"); // the bus whose lock another holds
        QTest::addColumn<QByteArray>("asked");
        QTest::addColumn<bool>("link");
        QTest::addColumn<bool>("taken");
        const QByteArray a = "unix:path=/run/a", b = "unix:path=/run/b";
        QTest::newRow("free") << QByteArray() << a << false << true;
        QTest::newRow("held") << a << a << false << false;
        QTest::newRow("another bus") << a << b << false << true;
        QTest::newRow("a link in its place") << QByteArray() << a << true << false;
    }

    void sessionLock()
    {
        QFETCH(QByteArray, held);
        QFETCH(QByteArray, asked);
        QFETCH(bool, link);
        QFETCH(bool, taken);
        QTemporaryDir runtime;
        const QByteArray path = QFile::encodeName(runtime.path());
        const int other = held.isEmpty() ? -1 : TakeSessionLock(path, held);
        if (link) {
            ::close(TakeSessionLock(path, asked));
            const QString lock = runtime.filePath(QDir(runtime.path()).entryList(QDir::Files)[0]);
            QVERIFY(QFile::remove(lock) && QFile::link(runtime.filePath(u"elsewhere"_s), lock));
        }
        const int mine = TakeSessionLock(path, asked);
        QCOMPARE(mine >= 0, taken);
        ::close(mine);
        ::close(other);
    }

    // The Bremo that claimed the session first quits before it takes the request: the name is
    // claimed again, and this start serves the request itself.
    void lostRaceClaimsAgain()
    {
        QVERIFY(QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"rival"_s)
                    .registerService(Session::ApplicationId));
        ApplicationService service;
        const auto rivalQuits = [](const OutsideRequest &) {
            QDBusConnection(u"rival"_s).unregisterService(Session::ApplicationId);
            return Handover::NoPrimary;
        };
        QCOMPARE(ClaimOrHandOver(service, {}, rivalQuits), SessionClaim::Serve);
    }

    // A start that finds no Bremo, or one that quits before it answers, opens the window and
    // translates the text, or the text of an area of the screen, there; the text is gone from
    // the process list by then.
    void startServesItself_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("rivalQuits");
        QTest::addColumn<QByteArray>("sent"); // contained in the request's target
        const QByteArray text("text=first%20text&");
        QTest::newRow("first start") << QStringList{u"first text"_s} << false << text;
        QTest::newRow("window quits before answering")
            << QStringList{u"first text"_s} << true << text;
        QTest::newRow("screen") << QStringList{u"--screen=300,400,700,130"_s} << false
                                << QByteArray("text=%E4%BB%8A%E5%A4%A9%E5%A4%A9%E6%B0%94");
    }

    void startServesItself()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, rivalQuits);
        QFETCH(QByteArray, sent);
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, GoogleShortReply));
        std::optional<RivalWindow> rival;
        if (rivalQuits)
            rival.emplace(false);
        Shown shown(300, 400); // under the middle of the screen, where the new window appears
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        QProcess first; // with a window offscreen
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"http_proxy"_s, server.origin());
        environment.remove(u"no_proxy"_s);
        first.setProcessEnvironment(environment);
        first.start(QStringLiteral(BREMO_STANDIN), arguments);
        QTRY_VERIFY_WITH_TIMEOUT(!server.requests().isEmpty(), 20000);
        QVERIFY2(server.requests().first().target.contains(sent),
                 server.requests().first().target.constData());
        QFile commandLine(u"/proc/%1/cmdline"_s.arg(first.processId()));
        QVERIFY(commandLine.open(QIODevice::ReadOnly));
        const QByteArray listed = commandLine.readAll();
        QVERIFY2(listed.startsWith(BREMO_STANDIN) && !listed.contains("first"), listed.constData());
        first.kill(); // the window would ask before it closes
        first.waitForFinished();
    }

    // Script mode gives a road that failed one line on standard error, its own, though the
    // exchange logged why as well; here the next road translates.
    void oneLinePerFailedRoad()
    {
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(500, "busy"));
        server.serve("/translate_a/single",
                     CannedReply::page(200, "{\"sentences\":[{\"trans\":\"Hello\"}]}"));
        const Run run = Bremo(server, {u"--print"_s, u"hi"_s});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, "Hello\n");
        QCOMPARE(run.err, "bremo: Google 短文本接口：HTTP 500（服务器出错）\n");
    }

    // A second start that hands nothing over says why, with its exit status.
    void secondStartFails_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("window refuses")
            << QStringList{u"text"_s} << QByteArray() << 1
            << QByteArray("the running Bremo did not take the request: not now\n");
        QTest::newRow("text and selection")
            << QStringList{u"--selection"_s, u"text"_s} << QByteArray() << 2
            << QByteArray("bremo: give one of TEXT, --selection, --clipboard and --screen\n");
        QTest::newRow("standard input over 1 MiB")
            << QStringList{u"-"_s} << QByteArray((1 << 20) + 1, 'a') << 1
            << QByteArray("bremo: standard input holds more than the 1 MiB that a window takes\n");
    }

    void secondStartFails()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, err);
        StandInServer server;
        RivalWindow rival(true);
        const Run second = Bremo(server, arguments, input);
        QCOMPARE(second.exitCode, exitCode);
        QVERIFY2(second.err.contains(err), second.err.constData());
    }

    // A text handed over during 保存音频 waits for the save to end, as for a translation; a
    // translation's wait shows the busy cursor, until the result comes.
    void waitsOfTheWindow()
    {
        StandInServer server;
        std::optional<Qt::CursorShape> cursor;
        server.setHandler("/translate_a/t", [&cursor](const RecordedRequest &) {
            cursor = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                                       : Qt::ArrowCursor;
            return CannedReply::page(200, GoogleShortReply);
        });
        FormHarness h(server.origin());
        h.form->show();
        bool saving = false;
        server.setHandler("/clip.mp3", [&h, &saving](const RecordedRequest &) {
            if (saving)
                QMetaObject::invokeMethod(
                    h.form.get(), [&h] { h.form->translateText(u"你好"_s); }, Qt::QueuedConnection);
            CannedReply clip = CannedReply::page(200, SilentClip, "audio/mpeg");
            clip.delay = std::chrono::milliseconds(500); // the hand-over comes first
            return clip;
        });
        h.child<Voice>("Voice")->setURL(server.url(u"clip.mp3"));
        QTemporaryDir folder;
        h.dialogs->saveAnswer = folder.filePath(u"hi.mp3"_s);
        saving = true;
        h.form->findChild<QAction *>(u"bc"_s)->trigger();
        saving = false;
        QCOMPARE(cursor, std::nullopt); // no translation during the save
        QTRY_COMPARE(h.status(), Succeeded);
        QCOMPARE(cursor, Qt::BusyCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestOutside)
#include "tst_outside.moc"
