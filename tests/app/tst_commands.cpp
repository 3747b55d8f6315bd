#include "FormHarness.h"
#include "StandInServer.h"
#include "Voice.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Audio =
    QByteArray("ID3\x03\x00\x00\x00\x00\x00\x00", 10) + QByteArray(4096, '\x55');

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void triggerMenuItem(const FormHarness &h, const char *name)
{
    h.child<QMenu>("caidan")->findChild<QAction *>(QString::fromLatin1(name))->trigger();
}

} // namespace

class TestCommands final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paste_data();
    void paste();
    void copy_data();
    void copy();
    void about();
    void releaseNotes();
    void closing_data();
    void closing();
    void noKeepsWindowAndAsksAgain();
    void playerReleaseOpensMenu_data();
    void playerReleaseOpensMenu();
    void saveWithoutAudio();
    void clearEmptiesUrlAndStatus();
    void cancelledSaveWritesNothing();
    void saveWritesWhatTheServerServed_data();
    void saveWritesWhatTheServerServed();
    void secondSaveOffersFirstName();
    void failedDownloadKeepsExistingFile_data();
    void failedDownloadKeepsExistingFile();
};

void TestCommands::paste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("status");

    const QString welcome = u"欢迎使用Qirel的作品..."_s;
    QTest::newRow("empty clipboard")
        << QString() << welcome << u"剪贴板为空!请您先复制原文在进行粘贴..."_s;
    QTest::newRow("one line") << u"Hello"_s << u"Hello"_s << u"已粘贴原文到指定翻译框中..."_s;
    QTest::newRow("several lines replace the welcome text")
        << u"first\r\nsecond\r\nthird"_s << u"first\r\nsecond\r\nthird"_s
        << u"已粘贴原文到指定翻译框中..."_s;
}

void TestCommands::paste()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, source);
    QFETCH(QString, status);

    FormHarness h;
    h.platform.clipboard->content = clipboard;
    h.child<QPushButton>("Command5")->click();
    QCOMPARE(BoxTextOf(h, "SourceContent"), source);
    QCOMPARE(h.status(), status);
}

void TestCommands::copy_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("status");

    QTest::newRow("nothing translated yet")
        << QString() << u"what was there"_s << u"请先在线互译,在在进行译文复制操作..."_s;
    QTest::newRow("replaces the clipboard")
        << u"Hello\r\nWorld"_s << u"Hello\r\nWorld"_s << u"译文已复制成功!"_s;
}

void TestCommands::copy()
{
    QFETCH(QString, result);
    QFETCH(QString, clipboard);
    QFETCH(QString, status);

    FormHarness h;
    h.platform.clipboard->content = u"what was there"_s;
    h.child<QPlainTextEdit>("ResultContent")->setPlainText(result);
    h.child<QPushButton>("Command6")->click();
    QCOMPARE(h.platform.clipboard->content, clipboard);
    QCOMPARE(h.platform.clipboard->clears, result.isEmpty() ? 0 : 1);
    QCOMPARE(h.status(), status);
}

void TestCommands::about()
{
    FormHarness h;
    const QString before = h.status();
    h.child<QPushButton>("Command2")->click();
    QCOMPARE(h.platform.messageBox->shown.size(), 1);
    const auto &shown = h.platform.messageBox->shown.constFirst();
    QCOMPARE(shown.text, h.child<QLabel>("Label5")->text());
    QCOMPARE(shown.title, u"QirelTaluvo提示"_s);
    QCOMPARE(shown.buttons, MessageBoxService::Buttons::Ok);
    QCOMPARE(h.status(), before);
}

void TestCommands::releaseNotes()
{
    FormHarness h;
    h.child<QPushButton>("Command4")->click();
    QCOMPARE(h.platform.messageBox->shown.size(), 1);
    const auto &shown = h.platform.messageBox->shown.constFirst();
    QCOMPARE(shown.text, u"1.新增了保存在线发音音频的功能\r\n"
                         u"2.将英汉互译工具更改为多国语言互译版\r\n"
                         u"3.新增了数十种各国语言之间的互译功能\r\n"
                         u"4.解除了单独英汉两种语言之间切换限制"_s);
    QCOMPARE(shown.title, u"QirelTaluvo提示"_s);
    QCOMPARE(shown.buttons, MessageBoxService::Buttons::Ok);
}

void TestCommands::closing_data()
{
    QTest::addColumn<bool>("byExitButton");
    QTest::newRow("exit button") << true;
    QTest::newRow("close box") << false;
}

void TestCommands::closing()
{
    QFETCH(bool, byExitButton);
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    h.platform.messageBox->yesNoAnswer = MessageBoxService::Answer::Yes;
    if (byExitButton)
        h.child<QPushButton>("Command3")->click();
    else
        h.form->close();

    QVERIFY(!h.form->isVisible());
    QCOMPARE(h.platform.messageBox->shown.size(), 1);
    const auto &shown = h.platform.messageBox->shown.constFirst();
    QCOMPARE(shown.text, u"感谢您对Taluvo、对Bremo系列的软件的支持!"
                         u"请您到论坛可以下载更多Taluvo的原创免费软件!"_s);
    QCOMPARE(shown.title, u"QirelTaluvo提示"_s);
    QCOMPARE(shown.buttons, MessageBoxService::Buttons::YesNo);
    QCOMPARE(h.platform.webPageOpener->opened, QList<QUrl>{QUrl(u"https://forum.invalid/bremo"_s)});

    // Once the user said Yes, a further close request goes through without asking again.
    h.form->show();
    h.form->close();
    QCOMPARE(h.platform.messageBox->shown.size(), 1);
    QCOMPARE(h.platform.webPageOpener->opened.size(), 1);
}

void TestCommands::noKeepsWindowAndAsksAgain()
{
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    h.child<QPlainTextEdit>("SourceContent")->setPlainText(u"keep me"_s);
    h.platform.messageBox->yesNoAnswer = MessageBoxService::Answer::No;

    h.child<QPushButton>("Command3")->click();
    QVERIFY(h.form->isVisible());
    QCOMPARE(BoxTextOf(h, "SourceContent"), u"keep me"_s);
    h.child<QPushButton>("Command3")->click();
    QVERIFY(h.form->isVisible());
    QCOMPARE(h.platform.messageBox->shown.size(), 2);
    QVERIFY(h.platform.webPageOpener->opened.isEmpty());
}

void TestCommands::playerReleaseOpensMenu_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestCommands::playerReleaseOpensMenu()
{
    QFETCH(Qt::MouseButton, button);
    FormHarness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    auto *menu = h.child<QMenu>("caidan");
    QVERIFY(!menu->isVisible());
    Q_EMIT h.child<Voice>("Voice")->mouseUp(button, Qt::NoModifier, QPoint(2, 2));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
}

void TestCommands::saveWithoutAudio()
{
    FormHarness h;
    h.child<QMenu>("caidan")->findChild<QAction *>(u"bc"_s)->trigger();
    QCOMPARE(h.status(), u"请您先生成音频文件在进行保存..."_s);
    QVERIFY(h.platform.saveFileDialog->asked.isEmpty());
}

void TestCommands::clearEmptiesUrlAndStatus()
{
    FormHarness h;
    auto *voice = h.child<Voice>("Voice");
    voice->setURL(u"http://127.0.0.1:9/translate_tts?q=%48%69&tl=en"_s);
    h.child<QMenu>("caidan")->findChild<QAction *>(u"qc"_s)->trigger();
    QVERIFY(voice->URL().isEmpty());
    QVERIFY(h.status().isEmpty());

    h.child<QMenu>("caidan")->findChild<QAction *>(u"bc"_s)->trigger();
    QCOMPARE(h.status(), u"请您先生成音频文件在进行保存..."_s);
    QVERIFY(h.platform.saveFileDialog->asked.isEmpty());
}

void TestCommands::cancelledSaveWritesNothing()
{
    FormHarness h;
    h.child<Voice>("Voice")->setURL(u"http://127.0.0.1:9/translate_tts?q=%48%69&tl=en"_s);
    h.platform.saveFileDialog->answer.reset();
    h.child<QMenu>("caidan")->findChild<QAction *>(u"bc"_s)->trigger();
    QCOMPARE(h.status(), u"您取消了音频保存操作..."_s);
    QCOMPARE(h.platform.saveFileDialog->asked.size(), 1);
    const auto &asked = h.platform.saveFileDialog->asked.constFirst();
    QCOMPARE(asked.title, u"请选择您要保存的路径"_s);
    QCOMPARE(asked.filter, u"MP3音频文件 (*.mp3)"_s);
    QVERIFY(asked.initialPath.isEmpty());
}

void TestCommands::saveWritesWhatTheServerServed_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("with extension") << u"hello.mp3"_s;
    QTest::newRow("without extension, kept as typed") << u"hello"_s;
    QTest::newRow("Chinese and emoji in the path") << u"发音 😀/译文.mp3"_s;
}

void TestCommands::saveWritesWhatTheServerServed()
{
    QFETCH(QString, name);
    StandInServer server;
    server.serve("/translate_tts", CannedReply::page(200, Audio, "audio/mpeg"));
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));

    FormHarness h;
    h.child<Voice>("Voice")->setURL(server.url(u"/translate_tts?q=%48%69&tl=en"));
    h.platform.saveFileDialog->answer = path;
    triggerMenuItem(h, "bc");

    QCOMPARE(h.status(), u"音频文件已保存,路径:["_s + path + u"]"_s);
    QCOMPARE(fileContent(path), Audio);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files),
             QStringList{QFileInfo(path).fileName()});
}

void TestCommands::secondSaveOffersFirstName()
{
    StandInServer server;
    server.serve("/translate_tts", CannedReply::page(200, Audio, "audio/mpeg"));
    QTemporaryDir folder;
    FormHarness h;
    h.child<Voice>("Voice")->setURL(server.url(u"/translate_tts?q=%48%69&tl=en"));
    h.platform.saveFileDialog->answer = folder.filePath(u"first.mp3"_s);
    triggerMenuItem(h, "bc");
    triggerMenuItem(h, "bc");
    QCOMPARE(h.platform.saveFileDialog->asked.size(), 2);
    QVERIFY(h.platform.saveFileDialog->asked.at(0).initialPath.isEmpty());
    QCOMPARE(h.platform.saveFileDialog->asked.at(1).initialPath, folder.filePath(u"first.mp3"_s));
}

void TestCommands::failedDownloadKeepsExistingFile_data()
{
    QTest::addColumn<CannedReply>("reply");

    QTest::newRow("404 page") << CannedReply::page(404, "<html>not found</html>");
    QTest::newRow("500 page") << CannedReply::page(500, "<html>error</html>");
    CannedReply reset = CannedReply::page(200, Audio, "audio/mpeg");
    reset.fault = CannedReply::Fault::ResetMidBody;
    QTest::newRow("reset mid-body") << reset;
    CannedReply closed = CannedReply::page(200, Audio, "audio/mpeg");
    closed.fault = CannedReply::Fault::CloseMidBody;
    QTest::newRow("closed mid-body") << closed;
    CannedReply stalled = CannedReply::page(200, Audio, "audio/mpeg");
    stalled.fault = CannedReply::Fault::StallMidBody;
    QTest::newRow("stalls past the time limit") << stalled;
}

void TestCommands::failedDownloadKeepsExistingFile()
{
    QFETCH(CannedReply, reply);
    StandInServer server;
    server.serve("/translate_tts", reply);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"kept.mp3"_s);
    const QByteArray earlier = "earlier audio, byte for byte";
    writeFile(path, earlier);

    FormHarness h;
    h.child<Voice>("Voice")->setURL(server.url(u"/translate_tts?q=%48%69&tl=en"));
    h.platform.saveFileDialog->answer = path;
    triggerMenuItem(h, "bc");

    QCOMPARE(h.status(), u"音频文件保存失败,请检查网络连接或保存路径..."_s);
    QCOMPARE(fileContent(path), earlier);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"kept.mp3"_s});
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
