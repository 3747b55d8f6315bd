// The player. Without a sound server (CI's plain run) clips run on the silent clock: what it
// does with each kind of reply, and with a clip replaced, sought and unloaded. Against a
// private sound server (tests/app/with-sound-server), what the user hears, recorded from the
// null sink's monitor.
#include "ClipPlayer.h"
#include "FormHarness.h"
#include "MpegAudio.h"
#include "PlaybackModule.h"
#include "PlayerIcons.h"
#include "Recording.h"
#include "StandInServer.h"
#include "Voice.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <csignal>

#include <unistd.h>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

CannedReply Clip(const QString &name)
{
    QFile file(QFINDTESTDATA(u"../data/"_s + name));
    return CannedReply::page(200, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                             "audio/mpeg");
}

// 5 min 2 s of MP3 silence at the lowest rate there is (MPEG-2.5 Layer III, 8 kbit/s, 8 kHz,
// mono): bare 72-byte frames of 72 ms, 302 KB in all, well under the fetch's cap.
const QByteArray LongSilence =
    QByteArray(QByteArray("\xFF\xE3\x18\xC4") + QByteArray(68, '\0')).repeated(4195);

} // namespace

class TestPlayer final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { UsePlaybackMaker(MakeClipPlayer); }

    // The one gate of the player and the save: MPEG audio frames that follow each other, behind
    // tags of any size, or an error of the service in their place.
    void gate_data()
    {
        QTest::addColumn<QByteArray>("clip");
        QTest::addColumn<QString>("reason");                    // empty: it passes
        const QByteArray frame = LongSilence.first(72);         // MPEG-2.5 Layer III
        const QByteArray silence = Clip(u"silence.mp3"_s).body; // MPEG-1 Layer III, 104 B frames
        // Tags of 128 + 10 bytes (a footer) and of 96 + 32 bytes (a header).
        const QByteArray id3 = QByteArray("ID3\x04\0\x10\0\0\x01\0", 10) + QByteArray(138, 'T');
        const QByteArray ape =
            QByteArray("APETAGEX\xd0\x07\0\0\x60\0\0\0", 16) + QByteArray(112, 'A');
        // MPEG-4 AAC in ADTS frames: MP3's sync, and a length that MP3's rules would give the
        // same header bits, but layer bits 00.
        const QByteArray adts = QByteArray("\xFF\xF1\x50\x80\x20\xBF\xFC").append(254, 0);
        QTest::newRow("tags, then frames") << id3 + ape + silence << QString();
        QTest::newRow("two whole frames") << frame + frame << QString();
        QTest::newRow("ADTS AAC") << adts.repeated(5) << u"not MP3 audio"_s;
        QTest::newRow("a tag alone") << id3 << u"not MP3 audio"_s;
        QTest::newRow("one frame, then a page")
            << silence.first(104) + QByteArray("<html>").repeated(40) << u"not MP3 audio"_s;
        QTest::newRow("a frame cut short") << frame.chopped(1) << u"not MP3 audio"_s;
    }

    void gate()
    {
        QFETCH(QByteArray, clip);
        QFETCH(QString, reason);
        QCOMPARE(WhyNotMpegAudio(clip), reason);
    }

    void reply_data()
    {
        QTest::addColumn<CannedReply>("reply");
        QTest::addColumn<QString>("warning");
        const QByteArray silence = Clip(u"silence.mp3"_s).body; // 0.99 s
        QTest::newRow("a clip") << CannedReply{200, {}, silence} << QString();
        QTest::newRow("HTTP status") << CannedReply{404, {}, silence} << u"HTTP status 404"_s;
        QTest::newRow("FLAC") << CannedReply{200, {}, Clip(u"silence.flac"_s).body}
                              << u"not MP3 audio"_s;
        QTest::newRow("past the cap")
            << CannedReply{200, {}, LongSilence} << u"decoded audio over the cap"_s;
    }

    // Through the widget: a clip that is still arriving is dropped for the next, at the
    // widget's starting volume. A clip plays to its end and rewinds, with Stop still offered; a
    // failure stops, unloads and says why. Whatever came of it, the same URL again fetches
    // anew; a seek while playing and one while paused each move the clip; the empty URL unloads.
    // The play button shows what a click on it does: pause while a clip plays, else play.
    void reply()
    {
        QFETCH(CannedReply, reply);
        QFETCH(QString, warning);
        StandInServer server;
        server.serve("/hangs.mp3", CannedReply{200, {}, {}, -1, CannedReply::Fault::Hang});
        server.serve("/a.mp3", reply);
        const QString url = server.url(u"/a.mp3?q=%E4%BD%A0%20a");
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"/a.mp3: .*("_s + warning + u')'));
        Voice voice;
        voice.ensurePolished(); // as when it is shown: the icons are drawn in its palette
        auto *stop = voice.findChild<QToolButton *>(u"voiceStop"_s);
        auto *button = voice.findChild<QToolButton *>(u"voicePlayPause"_s);
        // The icon's middle row as the user sees it: the triangle, or the two bars.
        const auto shows = [&](PlayerIcon icon) {
            const QImage drawn = button->icon().pixmap(16).toImage();
            QString row;
            for (int x = 0; x < 16; ++x)
                row += qAlpha(drawn.pixel(x, 8)) > 128 ? u'#' : u'.';
            return row == (icon == PlayerIcon::Play ? u"....#########..." : u"...####..####...");
        };
        QVERIFY(!stop->isEnabled() && shows(PlayerIcon::Play));
        voice.setURL(server.url(u"/hangs.mp3"));
        ClipPlayer &player = *voice.findChild<ClipPlayer *>();
        QCOMPARE(qRound(player.volume() * 100), 15); // 50 on the slider
        QTRY_COMPARE(server.requests().size(), 1);
        voice.setURL(url);
        QVERIFY(player.state() == ClipPlayer::State::Playing && shows(PlayerIcon::Pause));
        QTRY_COMPARE(player.state(), ClipPlayer::State::Stopped);
        QCOMPARE(player.isLoaded(), warning.isEmpty());
        QCOMPARE(stop->isEnabled(), warning.isEmpty());
        QCOMPARE(player.durationMs() / 100 + player.positionMs(), warning.isEmpty() ? 9 : 0);
        QCOMPARE(server.requests().last().target, QByteArray("/a.mp3?q=%E4%BD%A0%20a"));

        server.serve("/a.mp3", Clip(u"silence.mp3"_s));
        voice.setURL(url);
        QTRY_VERIFY(player.isReady() && player.state() == ClipPlayer::State::Playing);
        QCOMPARE(server.requests().size(), 3);
        // Dragged by the user: the slider reports its moves only while held down.
        auto *position = voice.findChild<QSlider *>(u"voicePosition"_s);
        position->setSliderDown(true);
        position->setSliderPosition(900);
        position->setSliderDown(false);
        QVERIFY(player.positionMs() >= 900);
        button->click();
        QVERIFY(player.state() == ClipPlayer::State::Paused && shows(PlayerIcon::Play));
        player.setPositionMs(100);
        button->click();
        QVERIFY(player.state() == ClipPlayer::State::Playing && shows(PlayerIcon::Pause));
        QVERIFY(player.positionMs() >= 100 && player.positionMs() < 900);
        stop->click();
        QVERIFY(player.state() == ClipPlayer::State::Stopped && player.positionMs() == 0);
        button->click();
        QTRY_COMPARE(player.state(), ClipPlayer::State::Stopped); // played on to the end
        QVERIFY(shows(PlayerIcon::Play));
        voice.setURL(QString());
        player.play();
        QVERIFY(!player.isLoaded() && player.state() == ClipPlayer::State::Stopped);
        QVERIFY(!stop->isEnabled());
    }

    // Through the widget: the first clip, played again by its button after it ended, the same URL
    // again after the sound server restarted (as a desktop's does on an update), a new one cut
    // off by the next, and that next one. Each is heard at its pitch for at least 80 % of its
    // 0.6 s, the cut one until it is cut, none merely as a click. A clip during which the
    // server restarts goes on to its end on the silent clock; at volume 0, nothing is heard.
    void heard()
    {
        if (Recording::Path.isEmpty())
            QSKIP("run by tests/app/with-sound-server");
        StandInServer server;
        server.serve("/440.mp3", Clip(u"tone-440.mp3"_s));
        server.serve("/880.mp3", Clip(u"tone-880-long.mp3"_s));
        server.serve("/660.mp3", Clip(u"tone-660.mp3"_s));
        QTRY_VERIFY2(QFileInfo(Recording::Path).size() > 0, "nothing recorded");
        Voice voice;
        voice.setVolume(100);
        auto *playPause = voice.findChild<QToolButton *>(u"voicePlayPause"_s);
        const auto playToTheEnd = [&](const QString &path) { // none: as it is
            if (!path.isEmpty())
                voice.setURL(server.url(path));
            QTRY_COMPARE_WITH_TIMEOUT(playPause->toolTip(), u"播放"_s, 10000);
            QTRY_VERIFY(Recording::QuietTailMs() >= 200);
        };
        const auto restartServer = [] {
            QFile restarts(qEnvironmentVariable("BREMO_SOUND_SERVER_RESTARTS"));
            const auto count = [&] {
                restarts.open(QIODevice::ReadOnly);
                const int n = restarts.readAll().trimmed().toInt();
                restarts.close();
                return n;
            };
            const int before = count();
            ::kill(getppid(), SIGUSR1);
            QTRY_VERIFY_WITH_TIMEOUT(count() > before, 20000);
        };
        playToTheEnd(u"/440.mp3"_s);
        QCOMPARE(voice.findChild<QLabel *>(u"voiceTime"_s)->text(), u"0:00 / 0:01"_s);
        playPause->click();
        playToTheEnd({});
        restartServer();
        playToTheEnd(u"/440.mp3"_s);
        auto *position = voice.findChild<QSlider *>(u"voicePosition"_s);
        voice.setURL(server.url(u"/880.mp3"));
        QTRY_VERIFY(position->value() >= 600);
        playToTheEnd(u"/660.mp3"_s);
        voice.setURL(server.url(u"/880.mp3"));
        QTRY_VERIFY(position->value() >= 300);
        restartServer();
        playToTheEnd({});
        voice.setVolume(0);
        playToTheEnd(u"/440.mp3"_s);

        const QStringList heard = Recording::TonesHeard(480);
        QCOMPARE(heard.mid(0, 5),
                 QStringList({u"440 Hz, whole"_s, u"440 Hz, whole"_s, u"440 Hz, whole"_s,
                              u"880 Hz, whole"_s, u"660 Hz, whole"_s}));
        QCOMPARE(heard.size(), 6); // and a part of the second 880 Hz clip
    }

    // The offline voice behind the clip, through the window: every host refused, a Spanish
    // Apertium result at its second click; Google's speech host answering 404; a Chinese Youdao
    // result with its speech host refused. Each is reported after the translation roads, heard
    // (against a sound server: half a second of sound at least) and saved as MP3 of its length.
    void offlineVoice_data()
    {
        QTest::addColumn<QString>("request");  // "engine from to text"
        QTest::addColumn<QByteArray>("reply"); // of the engine's road; none: every host refused
        QTest::addColumn<QString>("tip");
        QTest::newRow("apertium") << u"google en es Good morning my friend"_s << QByteArray()
                                  << u"Google 短文本接口：连接被拒绝\nApertium 离线引擎：成功\n"
                                     u"离线语音：成功"_s;
        QTest::newRow("google, speech 404")
            << u"google zh-CN en 你好"_s
            << QByteArray("[[[\"Good morning my friend\",\"你好\",\"\",\"\"]],,\"zh-CN\"]")
            << u"Google 短文本接口：成功\nGoogle 语音：HTTP 404（页面不存在）\n离线语音：成功"_s;
        QTest::newRow("youdao, Chinese")
            << u"youdao zh-CN en good morning"_s
            << QByteArray("<textarea name=\"o\">早上好我的朋友</textarea>")
            << u"有道网页翻译：成功\n有道语音：连接被拒绝\n离线语音：成功"_s;
    }

    void offlineVoice()
    {
        QFETCH(QString, request);
        QFETCH(QByteArray, reply);
        QFETCH(QString, tip);
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, reply));
        server.serve("/translate", CannedReply::page(200, reply));
        const QString refused = StandInServer::closedPortUrl(u"");
        const QString web = reply.isEmpty() ? refused : server.origin();
        FormHarness h(Endpoints{web, web, refused, u"https://forum.invalid"_s, refused, {}, {}});
        h.setRequest(request);
        h.child<Voice>("Voice")->setVolume(100);
        if (!request.startsWith(u"youdao"))
            h.translate(); // Google speaks from the second click on
        const qint64 recorded = QFileInfo(Recording::Path).size();
        h.translate();
        QTRY_COMPARE_WITH_TIMEOUT(h.child<QLabel>("Panel2")->toolTip(), tip, 10000);
        const ClipPlayer &player = *h.form->findChild<ClipPlayer *>();
        QTRY_COMPARE_WITH_TIMEOUT(player.state(), ClipPlayer::State::Stopped, 10000);
        if (!Recording::Path.isEmpty()) {
            QTRY_VERIFY(Recording::QuietTailMs() >= 200);
            QVERIFY2(Recording::LongestSoundMs(recorded) >= 500,
                     qPrintable(QString::number(Recording::LongestSoundMs(recorded))));
        }

        QTemporaryDir folder;
        h.dialogs->saveAnswer = folder.filePath(u"发音.mp3"_s);
        h.form->findChild<QAction *>(u"bc"_s)->trigger();
        QCOMPARE(h.status(), u"音频文件已保存,路径:["_s + *h.dialogs->saveAnswer + u"]"_s);
        QProcess soxi;
        soxi.start(u"soxi"_s, {u"-D"_s, *h.dialogs->saveAnswer});
        QVERIFY(soxi.waitForFinished() && soxi.exitCode() == 0);
        const double seconds = soxi.readAllStandardOutput().trimmed().toDouble();
        QVERIFY2(qAbs(seconds * 1000 - player.durationMs()) <= player.durationMs() / 10,
                 qPrintable(u"%1 s against %2 ms"_s.arg(seconds).arg(player.durationMs())));
    }
};

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"
