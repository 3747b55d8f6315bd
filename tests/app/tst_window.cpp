#include "FormHarness.h"
#include "GoogleRules.h"
#include "SessionEnd.h"
#include "StandInServer.h"
#include "Voice.h"
#include "YoudaoRules.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

const QString Succeeded = u"在线翻译成功!因官方限制,日语不可发音,其他如需发音,请再次点击翻译.."_s;
const QString NetworkFailed = u"请检查您的网络连接是否有问题..."_s;

QString base(const StandInServer &server)
{
    return u"http://127.0.0.1:%1"_s.arg(server.port());
}

// Catches the pages the window opens instead of starting a browser.
class PageCatcher final : public QObject
{
    Q_OBJECT

public:
    PageCatcher() { QDesktopServices::setUrlHandler(u"https"_s, this, "open"); }
    ~PageCatcher() override { QDesktopServices::unsetUrlHandler(u"https"_s); }
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

class ScriptedSessionEnd final : public SessionEndRequest
{
public:
    bool interaction = true;
    bool cancelled = false;
    bool allowsInteraction() override { return interaction; }
    void release() override {}
    void cancel() override { cancelled = true; }
};

} // namespace

class TestWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void youdao()
    {
        StandInServer server;
        server.serve("/translate",
                     CannedReply::page(200, "<textarea name=\"o\">你好,&#10;world</textarea>"));
        FormHarness h(base(server));
        h.child<QRadioButton>("Option1")->setChecked(true);
        h.setSource(u"hello"_s);
        h.translate();
        QCOMPARE(h.box("ResultContent"), u"你好\r\nworld"_s);
        QCOMPARE(h.status(), Succeeded);
        QCOMPARE(server.requests().first().body, Youdao::RequestBody(u"hello").toLatin1());
        QCOMPARE(h.child<Voice>("Voice")->URL(),
                 *Youdao::SpeechUrl(base(server), u"你好\r\nworld"));
    }

    void googleShortRoadSpeaksTheSecondTime()
    {
        StandInServer server;
        server.serve("/translate_a/t",
                     CannedReply::page(200, "[[[\"Hello\",\"你好\",\"\",\"\"]],,\"zh-CN\"]"));
        FormHarness h(base(server));
        h.setSource(u"你好"_s);
        h.translate();
        QCOMPARE(h.box("ResultContent"), u"Hello."_s);
        QCOMPARE(h.status(), Succeeded);
        QVERIFY(h.child<Voice>("Voice")->URL().isEmpty());
        QVERIFY(server.lastRequest().target.contains("&sl=zh-CN&tl=en&"));

        h.translate();
        QCOMPARE(h.child<Voice>("Voice")->URL(),
                 server.url(u"/translate_tts?q=%48%65%6C%6C%6F%2E&tl=en"));
    }

    void googleLongRoad()
    {
        StandInServer server;
        server.serve("/", CannedReply::page(
                              200, "<input name=gtrans value=\"a&lt;br&gt;b\"><div id=sug_exp>"));
        FormHarness h(base(server));
        const QString source(220, u'x');
        h.setSource(source);
        h.translate();
        QCOMPARE(h.box("ResultContent"), u"ab"_s);
        QCOMPARE(server.lastRequest().method, "POST");
        QCOMPARE(server.lastRequest().body,
                 Google::LongRoadBody(source, u"zh-CN", u"en").toLatin1());
    }

    void failureSaysNetwork()
    {
        FormHarness h; // nothing listens
        h.setSource(u"hello"_s);
        h.translate();
        QCOMPARE(h.status(), NetworkFailed);
        QCOMPARE(h.box("ResultContent"), QString());
        QVERIFY(h.child<QPushButton>("Command1")->isEnabled());
    }

    // During the wait the window takes other commands, refuses a second translation, and may be
    // closed and destroyed; the translation then writes nowhere.
    void waitKeepsTheWindowLive()
    {
        StandInServer server;
        FormHarness h(base(server));
        h.messageBox->yesNoAnswer = MessageBoxService::Answer::Yes;
        PageCatcher pages;
        bool enabledDuringWait = true;
        server.setHandler("/translate_a/t", [&](const RecordedRequest &) {
            QTimer::singleShot(0, [&] {
                enabledDuringWait = h.child<QPushButton>("Command1")->isEnabled();
                QGuiApplication::clipboard()->setText(u"during"_s);
                h.child<QPushButton>("Command5")->click();
                QVERIFY(h.form->close());
                h.form.reset();
            });
            CannedReply reply;
            reply.fault = CannedReply::Fault::Hang;
            return reply;
        });
        h.setSource(u"hello"_s);
        h.translate();
        QVERIFY(!h.form);
        QVERIFY(!enabledDuringWait);
        QCOMPARE(pages.opened.size(), 1);
    }

    void commands_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("source"); // afterwards
        QTest::addColumn<QString>("copied"); // afterwards
        QTest::addColumn<QString>("shown");  // in a message box
        const QString welcome = u"欢迎使用Qirel的作品..."_s;
        QTest::newRow("nothing yet")
            << QString() << QString() << QString() << u"程序加载完毕..请先输入您要翻译的内容.."_s
            << welcome << QString() << QString();
        QTest::newRow("release notes")
            << QString() << QString() << u"Command4"_s
            << u"程序加载完毕..请先输入您要翻译的内容.."_s << welcome << QString()
            << u"QirelTaluvo提示: "
               u"1.新增了保存在线发音音频的功能\r\n2.将英汉互译工具更改为多国语言互译版\r\n"
               u"3.新增了数十种各国语言之间的互译功能\r\n4.解除了单独英汉两种语言之间切换限制"_s;
        QTest::newRow("paste, clipboard empty")
            << QString() << QString() << u"Command5"_s
            << u"剪贴板为空!请您先复制原文在进行粘贴..."_s << welcome << QString() << QString();
        QTest::newRow("paste replaces")
            << u"a\nb"_s << QString() << u"Command5"_s << u"已粘贴原文到指定翻译框中..."_s
            << u"a\r\nb"_s << u"a\nb"_s << QString();
        QTest::newRow("copy, nothing translated")
            << u"keep"_s << QString() << u"Command6"_s << u"请先在线互译,在在进行译文复制操作..."_s
            << welcome << u"keep"_s << QString();
        QTest::newRow("copy") << u"old"_s << u"x\ny"_s << u"Command6"_s << u"译文已复制成功!"_s
                              << welcome << u"x\r\ny"_s << QString();
        QTest::newRow("save without audio")
            << QString() << QString() << u"bc"_s << u"请您先生成音频文件在进行保存..."_s << welcome
            << QString() << QString();
        QTest::newRow("translate nothing")
            << QString() << QString() << u"Command1"_s << u"请您先输入原文再进行翻译"_s << QString()
            << QString() << QString();
    }

    void commands()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, result);
        QFETCH(QString, command);
        QFETCH(QString, status);
        QFETCH(QString, source);
        QFETCH(QString, copied);
        QFETCH(QString, shown);
        FormHarness h;
        QGuiApplication::clipboard()->setText(clipboard);
        h.child<QPlainTextEdit>("ResultContent")->setPlainText(result);
        if (command == u"Command1")
            h.setSource(QString());
        if (auto *action = h.form->findChild<QAction *>(command))
            action->trigger();
        else if (!command.isEmpty())
            h.child<QPushButton>(qPrintable(command))->click();
        QCOMPARE(h.status(), status);
        QCOMPARE(h.box("SourceContent"), source);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        QCOMPARE(h.messageBox->texts.value(0), shown);
    }

    // The about text is the hidden label's caption, read when the button is pressed.
    void aboutAndMenu()
    {
        FormHarness h;
        h.child<QLabel>("Label5")->setText(u"note"_s);
        h.child<QPushButton>("Command2")->click();
        QCOMPARE(h.messageBox->texts, QStringList{u"QirelTaluvo提示: note"_s});
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        QVERIFY(!h.child<QLabel>("Label5")->isVisible());
        QTest::mouseRelease(h.child<Voice>("Voice"), Qt::RightButton, {}, QPoint(1, 1));
        QTRY_VERIFY(h.form->findChild<QMenu *>(u"caidan"_s)->isVisible());
    }

    void saveAudio()
    {
        StandInServer server;
        server.serve("/a.mp3", CannedReply::page(200, "ID3 audio", "audio/mpeg"));
        server.serve("/gone.mp3", CannedReply::page(404, "gone"));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"发音.mp3"_s);
        FormHarness h;
        auto *voice = h.child<Voice>("Voice");
        auto *save = h.form->findChild<QAction *>(u"bc"_s);
        voice->setURL(server.url(u"/a.mp3"));

        save->trigger();
        QCOMPARE(h.status(), u"您取消了音频保存操作..."_s);

        h.saveFileDialog->answer = path;
        save->trigger();
        QCOMPARE(h.status(), u"音频文件已保存,路径:["_s + path + u"]"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "ID3 audio");
        file.close();

        voice->setURL(server.url(u"/gone.mp3"));
        save->trigger();
        QCOMPARE(h.status(), u"音频文件保存失败,请检查网络连接或保存路径..."_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "ID3 audio");
        // The dialog offers the name chosen last.
        QCOMPARE(h.saveFileDialog->offered.last(), path);

        h.form->findChild<QAction *>(u"qc"_s)->trigger();
        QCOMPARE(voice->URL(), QString());
        QCOMPARE(h.status(), QString());
    }

    // The closing message, for the exit button and for the end of the desktop session.
    void closing_data()
    {
        QTest::addColumn<bool>("session");
        QTest::addColumn<bool>("interaction");
        QTest::addColumn<bool>("yes");
        QTest::newRow("exit, yes") << false << true << true;
        QTest::newRow("exit, no") << false << true << false;
        QTest::newRow("session end, yes") << true << true << true;
        QTest::newRow("session end, no cancels it") << true << true << false;
        QTest::newRow("session end without leave to ask") << true << false << false;
    }

    void closing()
    {
        QFETCH(bool, session);
        QFETCH(bool, interaction);
        QFETCH(bool, yes);
        FormHarness h;
        PageCatcher pages;
        h.form->show();
        h.messageBox->yesNoAnswer =
            yes ? MessageBoxService::Answer::Yes : MessageBoxService::Answer::No;
        ScriptedSessionEnd request;
        request.interaction = interaction;
        if (session)
            h.form->answerSessionEnd(request);
        else
            h.child<QPushButton>("Command3")->click();
        QCOMPARE(h.form->isVisible(), session || !yes);
        QCOMPARE(request.cancelled, session && interaction && !yes);
        QCOMPARE(h.messageBox->texts.size(), interaction ? 1 : 0);
        QCOMPARE(pages.opened,
                 yes ? QList<QUrl>{QUrl(u"https://forum.invalid/bremo"_s)} : QList<QUrl>{});
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
