#include "AboutText.h"
#include "FormHarness.h"
#include "InstalledFamilies.h"
#include "LanguageCatalogue.h"
#include "SessionEnd.h"
#include "StandInServer.h"
#include "Voice.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorSpace>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

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

// A session manager that answers as scripted and records every call, in order.
struct ScriptedSessionEnd final : SessionEndRequest
{
    bool interaction = true;
    QStringList calls;
    bool allowsInteraction() override
    {
        calls.append(u"allowsInteraction"_s);
        return interaction;
    }
    void release() override { calls.append(u"release"_s); }
    void cancel() override { calls.append(u"cancel"_s); }
};

} // namespace

class TestWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the window makes of the roads' outcome: the result, the status line and its tool tip,
    // what of the window's settings reaches the road, and the speech URL after a second run,
    // which the button allows again (a Google result is spoken from the second time on). Which
    // road follows which failure is the roads' own test's. An empty first path: every web host
    // refuses.
    void translate_data()
    {
        QTest::addColumn<QString>("request"); // "engine from to text"
        QTest::addColumn<QByteArray>("firstPath");
        QTest::addColumn<CannedReply>("first");
        QTest::addColumn<QByteArray>("second"); // Google's JSON road's, or LibreTranslate's
        QTest::addColumn<QByteArray>("sent");   // in the last request's target and body
        QTest::addColumn<QString>("outcome");   // "result | tool tip | speech path"
        const QByteArray hello =
            "{\"sentences\":[{\"trans\":\"Hello, \"},{\"translit\":\"Nǐ hǎo\"},"
            "{\"trans\":\"world\"}]}";
        QTest::newRow("youdao") << u"youdao zh-CN en hi"_s << QByteArray("/translate")
                                << CannedReply::page(
                                       200, "<textarea name=\"o\">你好,&#10;world</textarea>")
                                << QByteArray() << QByteArray("i=%68%69&type=AUTO&")
                                << u"你好\r\nworld | 有道网页翻译：成功 | "
                                   u"/fanyivoice?word=%E4%BD%A0%E5%A5%BD%0D%0A%77%6F%72%6C%64"_s;
        QTest::newRow("google, 429")
            << u"google zh-CN en 你好"_s << QByteArray("/translate_a/t")
            << CannedReply::page(429, "<html>sorry</html>") << hello
            << QByteArray(
                   "client=gtx&sl=zh-CN&tl=en&dt=t&dj=1&ie=UTF-8&oe=UTF-8&q=%E4%BD%A0%E5%A5%BD")
            << u"Hello, world | Google 短文本接口：HTTP 429（请求过于频繁）\n"
               u"Google JSON 接口：成功 | "
               u"/translate_tts?q=%48%65%6C%6C%6F%2C%20%77%6F%72%6C%64&tl=en"_s;
        QTest::newRow("google, long")
            << u"google zh-CN en "_s + QString(220, u'x') << QByteArray("/")
            << CannedReply::page(200, "<input name=gtrans value=\"a&lt;br&gt;b\"><div id=sug_exp>")
            << QByteArray() << QByteArray("%78&file=&sl=zh-CN&tl=en")
            << u"ab | Google 网页表单：成功 | "_s;
        QTest::newRow("youdao, 403")
            << u"youdao zh-CN en hello"_s << QByteArray("/translate")
            << CannedReply::page(403, "<html>blocked</html>")
            << QByteArray("{\"sentences\":[{\"trans\":\"你好\"}]}")
            << QByteArray("client=gtx&sl=auto&tl=zh-CN&")
            << u"你好 | 有道网页翻译：HTTP 403（拒绝访问）\nGoogle JSON 接口：成功 | "
               u"/fanyivoice?word=%E4%BD%A0%E5%A5%BD"_s;
        QTest::newRow("libretranslate, after a refused network")
            << u"google zh-CN en 你好"_s << QByteArray() << CannedReply()
            << QByteArray("{\"translatedText\":\"Hello\"}")
            << QByteArray("{\"api_key\":\"k\",\"format\":\"text\",\"q\":\"你好\",\"source\":\"zh\","
                          "\"target\":\"en\"}")
            << u"Hello | Google 短文本接口：连接被拒绝\nLibreTranslate 服务器：成功 | "
               u"/translate_tts?q=%48%65%6C%6C%6F&tl=en"_s;
        QTest::newRow("apertium, offline")
            << u"google en es Good morning\r\nmy friend"_s << QByteArray() << CannedReply()
            << QByteArray() << QByteArray()
            << u"Buenos días\r\nMi amigo | Google 短文本接口：连接被拒绝\nApertium 离线引擎：成功 | "_s;
    }

    void translate()
    {
        QFETCH(QString, request);
        QFETCH(QByteArray, firstPath);
        QFETCH(CannedReply, first);
        QFETCH(QByteArray, second);
        QFETCH(QByteArray, sent);
        QFETCH(QString, outcome);
        StandInServer server;
        server.serve(firstPath, first);
        server.serve(firstPath.isEmpty() ? "/translate" : "/translate_a/single",
                     CannedReply::page(200, second, "application/json"));
        const QString web =
            firstPath.isEmpty() ? StandInServer::closedPortUrl(u"") : server.origin();
        FormHarness h(Endpoints{
            web, web, web, u"https://forum.invalid"_s, web,
            second.isEmpty() || !firstPath.isEmpty() ? QString() : server.origin(), u"k"_s});
        h.setRequest(request);
        h.translate();
        QCOMPARE(h.status(), outcome.contains(u"Apertium 离线引擎：成功")
                                 ? u"离线翻译成功(Apertium)"_s
                                 : Succeeded);
        if (!sent.isEmpty())
            QVERIFY2(QByteArray(server.requests().last().target + server.requests().last().body)
                         .contains(sent),
                     server.requests().last().target.constData());
        const QString shown =
            h.box("ResultContent") + u" | "_s + h.child<QLabel>("Panel2")->toolTip();
        h.translate();
        QCOMPARE(shown + u" | "_s + h.child<Voice>("Voice")->URL(),
                 outcome.replace(u"| /"_s, u"| "_s + web + u'/'));
    }

    // A command's status text and what it leaves behind: the source box, the clipboard and
    // the message shown, as "source|clipboard|title: message".
    void commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("after");
        const QString welcome = u"欢迎使用Qirel的作品..."_s;
        const auto row = [](const char *name, const QString &command, const QString &clipboard,
                            const QString &result, const QString &status, const QString &after) {
            QTest::newRow(name) << command << clipboard << result << status << after;
        };
        const QString c = u"c"_s;
        row("release notes", u"Command4"_s, c, {}, Loaded,
            welcome +
                u"|c|QirelTaluvo提示: 1.新增了保存在线发音音频的功能\r\n"
                u"2.将英汉互译工具更改为多国语言互译版\r\n3.新增了数十种各国语言之间的互译功能"
                u"\r\n4.解除了单独英汉两种语言之间切换限制"_s);
        row("about", u"Command2"_s, c, {}, Loaded, welcome + u"|c|QirelTaluvo提示: "_s + AboutText);
        row("paste, clipboard empty", u"Command5"_s, {}, {},
            u"剪贴板为空!请您先复制原文在进行粘贴..."_s, welcome + u"||"_s);
        row("paste replaces", u"Command5"_s, u"a\nb"_s, {}, u"已粘贴原文到指定翻译框中..."_s,
            u"a\r\nb|a\nb|"_s);
        row("copy, nothing translated", u"Command6"_s, c, {},
            u"请先在线互译,在在进行译文复制操作..."_s, welcome + u"|c|"_s);
        row("copy", u"Command6"_s, c, u"x\ny"_s, u"译文已复制成功!"_s, welcome + u"|x\r\ny|"_s);
        row("save without audio", u"bc"_s, c, {}, u"请您先生成音频文件在进行保存..."_s,
            welcome + u"|c|"_s);
        row("Return in the source box", u"Return"_s, c, {}, Loaded, u"\r\n"_s + welcome + u"|c|"_s);
        row("Ctrl+Return translates", u"Ctrl+Return"_s, c, {}, u"请检查您的网络连接是否有问题..."_s,
            welcome + u"|c|"_s);
        row("translate nothing", u"Command1"_s, c, {}, u"请您先输入原文再进行翻译"_s, u"|c|"_s);
        // Longer than any result may be: refused with its limit, before any request.
        row("translate too much", u"Command1"_s, c, {},
            u"原文过长（超过 50000 个字符），无法翻译"_s, QString(50001, u'a') + u"|c|"_s);
    }

    void commands()
    {
        QFETCH(QString, command);
        QFETCH(QString, clipboard);
        QFETCH(QString, result);
        QFETCH(QString, status);
        QFETCH(QString, after);
        FormHarness h;
        QGuiApplication::clipboard()->setText(clipboard);
        h.child<QPlainTextEdit>("ResultContent")->setPlainText(result);
        if (command == u"Command1")
            h.setSource(after.section(u'|', 0, 0));
        if (auto *action = h.form->findChild<QAction *>(command))
            action->trigger();
        else if (command.endsWith(u"Return"))
            QTest::keySequence(h.child<QPlainTextEdit>("SourceContent"), QKeySequence(command));
        else
            h.child<QPushButton>(qPrintable(command))->click();
        QCOMPARE(h.status(), status);
        QCOMPARE(h.box("SourceContent") + u'|' + QGuiApplication::clipboard()->text() + u'|' +
                     h.dialogs->texts.join(u'+'),
                 after);
    }

    // The text boxes name only the installed families of their list, by any of a font's names
    // and in the list's order; with none of them installed, the whole list, for fontconfig.
    void installedFamilies()
    {
        const QStringList missing{u"Bremo No Such Font"_s, u"Nor This One"_s};
        QCOMPARE(InstalledFamilies(missing), missing);
        const QStringList found{u"WenQuanYi Micro Hei Mono"_s, u"文泉驿微米黑"_s};
        QCOMPARE(InstalledFamilies({missing[0], found[0], missing[1], found[1]}), found);
    }

    // After start-up: a window of one size with its captions (the about label's never shown),
    // both lists holding the whole catalogue from Chinese to English, text boxes that show their
    // scroll bar, the player at full volume, every control named for a screen reader; a release
    // over the player opens its menu.
    void startedWindow()
    {
        FormHarness h;
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        QCOMPARE(h.form->minimumSize(), h.form->maximumSize());
        // Centred on the screen, give or take the frame the platform adds.
        QVERIFY((h.form->geometry().center() - h.form->screen()->availableGeometry().center())
                    .manhattanLength() <= 4);
        QVERIFY(h.child<QPlainTextEdit>("ResultContent")->isReadOnly());
        // The engine choice lies hidden beneath the result frame.
        for (const char *option : {"Option1", "Option2"}) {
            const QWidget *button = h.child(option);
            QVERIFY(!qobject_cast<QRadioButton *>(
                h.form->childAt(button->mapTo(h.form.get(), button->rect().center()))));
        }
        // Tab moves on from a text box; it types no tab into it.
        h.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
        h.child("SourceContent")->setFocus();
        QTest::keyClick(h.child("SourceContent"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), h.child("Command5"));
        QCOMPARE(h.box("SourceContent"), u"欢迎使用Qirel的作品..."_s);
        QStringList captions;
        const QRegularExpression designName(u"^(Command|Option|Frame|Label|Panel)\\d$"_s);
        for (const QWidget *widget : h.form->findChildren<QWidget *>(designName)) {
            if (widget->isVisible())
                captions << widget->objectName() + u'=' +
                                widget->property(widget->inherits("QGroupBox") ? "title" : "text")
                                    .toString();
        }
        captions.sort();
        QCOMPARE(
            h.form->windowTitle() + u' ' + captions.join(u' '),
            u"Bremo.多国语言在线互译工具 V3.0 Command1=翻译 Command2=程序说明 Command3=退出程序 "
            u"Command4=更新介绍 Command5=粘贴原文 Command6=复制译文 Frame1=语种互译 "
            u"Frame2=翻译的结果[音频操作请点击播放器空白部分] Frame3=翻译的原文 Label3=从： "
            u"Label4=翻译成： Option1=Option1 Option2=Google(谷歌) Panel1=运行状态： "
            u"Panel2=程序加载完毕..请先输入您要翻译的内容.."_s);
        QVERIFY(h.child("Panel1")->geometry().right() < h.child("Panel2")->geometry().left());
        const char *column[] = {"Frame3", "Frame1", "Frame2", "Command1"}; // top to bottom
        for (std::size_t i = 1; i < std::size(column); ++i)
            QVERIFY(h.child(column[i - 1])->geometry().bottom() < h.child(column[i])->y());
        const auto drawing = [](QImage image) { // the pixels alone, whatever their colour space
            image.setColorSpace({});
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        for (const int size : {16, 24, 32, 48}) // the window's icon: the drawing at each size
            QCOMPARE(drawing(h.form->windowIcon().pixmap(size).toImage()),
                     drawing(QImage(u"" BREMO_ICONS_DIR "/bremo-%1.png"_s.arg(size))));
        QStringList tabOrder{u"Voice"_s};
        const QRegularExpression tabStop(u"^(Combo|Option|Command)\\d$|Content$"_s);
        for (QWidget *w = h.child("Voice")->nextInFocusChain(); w != h.child("Voice");
             w = w->nextInFocusChain())
            tabOrder << (tabStop.match(w->objectName()).hasMatch() ? w->objectName() : QString());
        tabOrder.removeAll(QString());
        QCOMPARE(tabOrder.join(u' '), u"Voice Combo2 Combo1 Option2 Option1 Command1 Command2 "
                                      u"Command3 Command4 ResultContent SourceContent Command5 "
                                      u"Command6"_s);
        for (const char *name : {"Combo1", "Combo2"}) {
            const auto *list = h.child<QComboBox>(name);
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->itemText(i);
            QCOMPARE(items, LanguageCatalogue::build().displayNames);
            QCOMPARE(list->currentText(), name == QByteArray("Combo1") ? u"中文"_s : u"英语"_s);
        }
        for (const char *box : {"SourceContent", "ResultContent"})
            QVERIFY(h.child<QPlainTextEdit>(box)->verticalScrollBar()->isVisible());
        QCOMPARE(h.child<Voice>("Voice")->volume(), 100);
        for (QWidget *widget : h.form->findChildren<QWidget *>()) {
            const bool control = widget->focusPolicy() != Qt::NoFocus ||
                                 qobject_cast<QAbstractButton *>(widget) ||
                                 qobject_cast<QAbstractSlider *>(widget);
            if (!control || !widget->isVisibleTo(h.form.get()))
                continue;
            const QAccessibleInterface *named = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(named && !named->text(QAccessible::Name).isEmpty(),
                     qPrintable(widget->objectName() + u' ' + widget->metaObject()->className()));
        }
        QTest::mouseRelease(h.child<Voice>("Voice"), Qt::RightButton, {}, QPoint(1, 1));
        QTRY_VERIFY(h.form->findChild<QMenu *>(u"caidan"_s)->isVisible());
        const auto items = h.form->findChild<QMenu *>(u"caidan"_s)->actions();
        QCOMPARE(items.size() == 3 && items[1]->isSeparator(), true);
    }

    // What the file holds on each road is the download's business; here the status line, the
    // name offered again, and clearing.
    void saveAudio()
    {
        StandInServer server;
        server.serve("/gone.mp3", CannedReply::page(404, "gone"));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"发音.mp3"_s);
        FormHarness h;
        auto *save = h.form->findChild<QAction *>(u"bc"_s);
        h.child<Voice>("Voice")->setURL(server.url(u"/a.mp3"));
        save->trigger();
        QCOMPARE(h.status(), u"您取消了音频保存操作..."_s);
        h.dialogs->saveAnswer = path;
        server.serve("/a.mp3", CannedReply::page(
                                   200, QByteArray("\xFF\xFB\x10\xC4").append(100, 0).repeated(3),
                                   "audio/mpeg"));
        save->trigger();
        QCOMPARE(h.status(), u"音频文件已保存,路径:["_s + path + u"]"_s);
        h.child<Voice>("Voice")->setURL(server.url(u"/gone.mp3"));
        save->trigger();
        QCOMPARE(h.status(), u"音频文件保存失败,请检查网络连接或保存路径..."_s);
        QCOMPARE(h.dialogs->offered.last(), path);
        h.form->findChild<QAction *>(u"qc"_s)->trigger();
        QCOMPARE(h.child<Voice>("Voice")->URL(), QString());
        QCOMPARE(h.status(), QString());
    }

    // The closing message, for the exit button and for the end of the desktop session; a
    // session that is not cancelled then closes the window (the manager's "die"). A session
    // saved without leave to ask may go on: the exit button still asks.
    void closing_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("interaction");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("calls");
        QTest::newRow("exit, yes") << u"exit"_s << true << true << QString();
        QTest::newRow("exit, no") << u"exit"_s << true << false << QString();
        QTest::newRow("session end, yes")
            << u"session end"_s << true << true << u"allowsInteraction release"_s;
        QTest::newRow("session end, no cancels it")
            << u"session end"_s << true << false << u"allowsInteraction cancel"_s;
        QTest::newRow("session end without leave to ask")
            << u"session end"_s << false << false << u"allowsInteraction"_s;
        QTest::newRow("session saved without leave to ask, then exit, no")
            << u"session saved, exit"_s << false << false << u"allowsInteraction"_s;
    }

    void closing()
    {
        QFETCH(QString, steps);
        QFETCH(bool, interaction);
        QFETCH(bool, yes);
        QFETCH(QString, calls);
        FormHarness h;
        PageCatcher pages;
        h.form->show();
        h.setSource(u"kept"_s);
        h.child<QPlainTextEdit>("ResultContent")->setPlainText(u"also kept"_s);
        h.dialogs->yesNoAnswer =
            yes ? MessageBoxService::Answer::Yes : MessageBoxService::Answer::No;
        ScriptedSessionEnd request;
        request.interaction = interaction;
        if (steps.startsWith(u"session"))
            h.form->answerSessionEnd(request);
        if (steps == u"session end" && !request.calls.contains(u"cancel"_s)) {
            // The manager's "die" reaches Qt as a termination of the application, which ends
            // its loop even when a window stays.
            QTimer::singleShot(0, qApp, [] {
                QCoreApplication::quit();
                QCoreApplication::exit();
            });
            QCoreApplication::exec();
        }
        if (steps.endsWith(u"exit")) {
            QEvent other(QEvent::ApplicationStateChange); // the application's life goes on
            QCoreApplication::sendEvent(qApp, &other);
            h.child<QPushButton>("Command3")->click();
        }
        const bool asks = interaction || steps.endsWith(u"exit");
        const bool stays = !yes && asks;
        QCOMPARE(h.form->isVisible(), stays);
        QCOMPARE(request.calls.join(u' '), calls);
        QCOMPARE(h.dialogs->texts.size(), asks ? 1 : 0);
        QCOMPARE(pages.opened,
                 yes ? QList<QUrl>{QUrl(u"https://forum.invalid/bremo"_s)} : QList<QUrl>{});
        if (stays)
            QCOMPARE(h.box("SourceContent") + h.box("ResultContent"), u"keptalso kept"_s);
    }

    // During the wait for "a" the window takes other commands (a paste) and texts from outside:
    // the newest waits outside the source box and is translated when that one ends, unless the
    // window closed meanwhile or a newer text came first after the end (after "|"). A window
    // destroyed during the wait is written to no more.
    void translateTextDuringATranslation_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("translated"); // the texts sent, in order
        QTest::addColumn<QString>("box");        // the source box during the wait
        QTest::newRow("one") << u"b"_s << u"a b"_s << u"a"_s;
        QTest::newRow("the newest of two") << u"b c"_s << u"a c"_s << u"a"_s;
        QTest::newRow("window closed") << u"b close"_s << u"a"_s << u"a"_s;
        QTest::newRow("a newer one first after the end") << u"b | d"_s << u"a d"_s << u"a"_s;
        QTest::newRow("paste, window destroyed") << u"paste destroy"_s << u"a"_s << u"pasted"_s;
    }

    void translateTextDuringATranslation()
    {
        QFETCH(QString, steps);
        QFETCH(QString, translated);
        QFETCH(QString, box);
        StandInServer server;
        FormHarness h(server.origin());
        h.dialogs->yesNoAnswer = MessageBoxService::Answer::Yes;
        PageCatcher pages;
        QStringList sent;
        QString boxDuringWait;
        const QStringList during = steps.section(u" | "_s, 0, 0).split(u' ');
        server.setHandler("/translate_a/t", [&](const RecordedRequest &request) {
            sent << QUrlQuery(QUrl::fromEncoded(request.target)).queryItemValue(u"text"_s);
            for (const QString &step : sent.size() == 1 ? during : QStringList()) {
                if (step == u"destroy") {
                    h.form.reset();
                    return CannedReply{200, {}, {}, -1, CannedReply::Fault::Hang};
                }
                QGuiApplication::clipboard()->setText(u"pasted"_s);
                if (step == u"paste")
                    h.child<QPushButton>("Command5")->click();
                else
                    step == u"close" ? void(h.form->close()) : h.form->translateText(step);
                boxDuringWait =
                    h.box("SourceContent") +
                    (h.child<QPushButton>("Command1")->isEnabled() ? u" live"_s : u""_s);
            }
            return CannedReply::page(200, GoogleShortReply);
        });
        h.form->show();
        h.form->translateText(u"a"_s);
        if (steps.contains(u'|') && h.form)
            h.form->translateText(steps.section(u" | "_s, 1));
        QCoreApplication::processEvents(); // delivers what waited for the end of the first
        QCOMPARE(sent.join(u' '), translated);
        QCOMPARE(boxDuringWait, box);
        QCOMPARE(pages.opened.size(), steps.contains(u"close") ? 1 : 0);
        if (h.form) {
            QCOMPARE(h.box("SourceContent"), translated.right(1));
            QCOMPARE(h.status(), Succeeded);
        }
    }

    // The desktop's own dialogs, driven once each as a user would (a name typed and Return, a
    // button, Esc), so that the scripted ones of these tests stand for something true.
    void dialogs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("action"); // the button pressed, or else Esc
        QTest::addColumn<QString>("answer"); // what the window is told
        QTest::newRow("save, cancel") << u"save"_s << u"Cancel"_s << u"none"_s;
        QTest::newRow("save") << u"save"_s << u"&Save"_s << u"发音"_s;
        QTest::newRow("yes") << u"yes/no"_s << u"&Yes"_s << u"yes"_s;
        QTest::newRow("escape is no") << u"yes/no"_s << u"Esc"_s << u"no"_s;
        QTest::newRow("ok") << u"ok"_s << u"OK"_s << u"ok"_s;
    }

    void dialogs()
    {
        QFETCH(QString, kind);
        QFETCH(QString, action);
        QFETCH(QString, answer);
        QTemporaryDir dir;
        bool information = false; // the icon of a message box
        QString offered;          // the name a save dialog offers
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            poll.stop();
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                information = box->icon() == QMessageBox::Information;
            if (auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)) {
                offered = name->text();
                name->setText(dir.filePath(u"发音"_s)); // no extension: none is added
            }
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == action)
                    return button->click();
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        poll.start(10);
        QString told;
        if (kind == u"save") {
            told = QtSaveFileDialog()
                       .ask(nullptr, u"T"_s, u"MP3音频文件 (*.mp3)"_s, dir.filePath(u"上次.mp3"_s))
                       .value_or(u"none"_s)
                       .remove(dir.path() + u'/');
            QCOMPARE(offered, u"上次.mp3"_s);
        } else {
            const auto got = QtMessageBox().inform(
                nullptr, u"text"_s, u"T"_s,
                kind == u"ok" ? MessageBoxService::Buttons::Ok : MessageBoxService::Buttons::YesNo);
            told = QStringList{u"ok"_s, u"yes"_s, u"no"_s}.at(int(got));
            QVERIFY(information);
        }
        QCOMPARE(told, answer);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
