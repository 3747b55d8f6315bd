#include "StandInServer.h"
#include "Voice.h"

#include <QApplication>
#include <QAudioOutput>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMediaPlayer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Serves one MP3 at /translate_tts and keeps the request lines; the first `failures`
// requests get a 404 page instead.
class AudioServer final
{
public:
    explicit AudioServer(QByteArray audio, int failures = 0)
    {
        m_server.setHandler("/translate_tts", [this, audio = std::move(audio),
                                               failures](const TestSupport::RecordedRequest &) {
            using TestSupport::CannedReply;
            return m_server.requests().size() <= failures
                       ? CannedReply::page(404, "gone", "text/plain")
                       : CannedReply::page(200, audio, "audio/mpeg");
        });
    }

    QString base() const { return u"http://127.0.0.1:%1"_s.arg(m_server.port()); }
    QList<QByteArray> requestLines() const
    {
        QList<QByteArray> lines;
        for (const TestSupport::RecordedRequest &request : m_server.requests())
            lines << request.requestLine;
        return lines;
    }

private:
    TestSupport::StandInServer m_server;
};

// A port on 127.0.0.1 that nothing listens on.
quint16 ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// 0.99 s of silence; "silence-5s.mp3" lasts 4.99 s.
QByteArray SilenceMp3(const char *name = "silence.mp3")
{
    QFile file(QFINDTESTDATA(u"../data/"_s + QLatin1StringView(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Saw(const QSignalSpy &statusChanges, QMediaPlayer::MediaStatus status)
{
    return std::any_of(statusChanges.cbegin(), statusChanges.cend(), [status](const auto &args) {
        return args.at(0).template value<QMediaPlayer::MediaStatus>() == status;
    });
}

bool AnyDialogShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *window) {
        return window->isVisible() && qobject_cast<const QDialog *>(window);
    });
}

} // namespace

class TestVoice final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestsWhatTheTextSays_data();
    void requestsWhatTheTextSays();
    void sameUrlAgainFetchesAndPlaysAgain_data();
    void sameUrlAgainFetchesAndPlaysAgain();
    void sameUrlAgainRetriesAfterAFailedFetch();
    void emptyTextUnloads();
    void unplayableAddressStaysSilent_data();
    void unplayableAddressStaysSilent();
    void timeShowsLengthOnceKnown();
    void spaceTogglesPlayback();
    void volumeClamps_data();
    void volumeClamps();
    void volumeStartsAtHalfAndFollowsTheSlider();
    void mouseUpOnlyOverBlankSurface_data();
    void mouseUpOnlyOverBlankSurface();
};

void TestVoice::requestsWhatTheTextSays_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("target");

    QTest::newRow("escaped space stays escaped")
        << u"q=how%20are%20you&tl=en"_s << "q=how%20are%20you&tl=en"_ba;
    QTest::newRow("Chinese goes out as UTF-8 escapes")
        << u"q=你好&tl=zh-CN"_s << "q=%E4%BD%A0%E5%A5%BD&tl=zh-CN"_ba;
    QTest::newRow("existing UTF-8 escapes are not escaped again")
        << u"q=%E4%BD%A0%20好"_s << "q=%E4%BD%A0%20%E5%A5%BD"_ba;
}

void TestVoice::requestsWhatTheTextSays()
{
    QFETCH(QString, query);
    QFETCH(QByteArray, target);

    AudioServer server(SilenceMp3());
    Voice voice;
    const QString url = server.base() + u"/translate_tts?"_s + query;
    voice.setURL(url);

    QCOMPARE(voice.URL(), url);
    QTRY_VERIFY(!server.requestLines().isEmpty());
    QCOMPARE(server.requestLines().first(), "GET /translate_tts?" + target + " HTTP/1.1");
}

void TestVoice::sameUrlAgainFetchesAndPlaysAgain_data()
{
    QTest::addColumn<bool>("playToTheEnd");

    QTest::newRow("after the audio ended") << true;
    // The player then still holds the audio, and resuming it would fetch nothing.
    QTest::newRow("while paused in the middle") << false;
}

void TestVoice::sameUrlAgainFetchesAndPlaysAgain()
{
    QFETCH(bool, playToTheEnd);

    AudioServer server(SilenceMp3());
    Voice voice;
    QMediaPlayer *player = voice.mediaPlayer();
    QSignalSpy status(player, &QMediaPlayer::mediaStatusChanged);
    QSignalSpy errors(player, &QMediaPlayer::errorOccurred);
    const QString url = server.base() + u"/translate_tts?q=again"_s;

    voice.setURL(url);
    if (playToTheEnd) {
        QTRY_COMPARE(player->mediaStatus(), QMediaPlayer::EndOfMedia);
    } else {
        player->pause();
        QTRY_VERIFY(Saw(status, QMediaPlayer::BufferedMedia));
    }
    QCOMPARE(server.requestLines().size(), 1);
    status.clear();

    voice.setURL(url);
    QCOMPARE(voice.URL(), url);
    QCOMPARE(player->playbackState(), QMediaPlayer::PlayingState);
    // Unloading a paused clip rewinds it first, which may fetch it once more on the way out.
    QTRY_VERIFY(server.requestLines().size() >= 2);
    QTRY_VERIFY(Saw(status, QMediaPlayer::EndOfMedia));
    QVERIFY(errors.isEmpty());
}

void TestVoice::sameUrlAgainRetriesAfterAFailedFetch()
{
    AudioServer server(SilenceMp3(), 1);
    Voice voice;
    QMediaPlayer *player = voice.mediaPlayer();
    QSignalSpy errors(player, &QMediaPlayer::errorOccurred);
    const QString url = server.base() + u"/translate_tts?q=retry"_s;

    voice.setURL(url);
    QTRY_VERIFY(!errors.isEmpty());
    QTRY_COMPARE(voice.mediaPlayer()->playbackState(), QMediaPlayer::StoppedState);

    voice.setURL(url);
    QCOMPARE(voice.URL(), url);
    QTRY_COMPARE(server.requestLines().size(), 2);
}

void TestVoice::emptyTextUnloads()
{
    AudioServer server(SilenceMp3());
    Voice voice;
    QMediaPlayer *player = voice.mediaPlayer();
    voice.setURL(server.base() + u"/translate_tts?q=bye"_s);
    QTRY_VERIFY(!server.requestLines().isEmpty());

    voice.setURL(QString());
    QCOMPARE(voice.URL(), QString());
    QVERIFY(player->source().isEmpty());
    QCOMPARE(player->playbackState(), QMediaPlayer::StoppedState);
    QCOMPARE(player->mediaStatus(), QMediaPlayer::NoMedia);
}

void TestVoice::unplayableAddressStaysSilent_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::newRow("nothing listens") << false;
    QTest::newRow("the reply is not audio") << true;
}

void TestVoice::unplayableAddressStaysSilent()
{
    QFETCH(bool, reachable);
    AudioServer server(QByteArray(4096, '\0'));
    Voice voice;
    voice.show();
    QMediaPlayer *player = voice.mediaPlayer();
    QSignalSpy errors(player, &QMediaPlayer::errorOccurred);
    const QString url = (reachable ? server.base() : u"http://127.0.0.1:%1"_s.arg(ClosedPort())) +
                        u"/translate_tts?q=%E4%BD%A0"_s;

    voice.setURL(url);
    QTRY_VERIFY(!errors.isEmpty());
    // The failed player is dropped rather than stopped: stopping a pipeline that failed to
    // decode blocks the window for a second.
    QVERIFY(voice.mediaPlayer() != player);
    QCOMPARE(voice.mediaPlayer()->playbackState(), QMediaPlayer::StoppedState);
    QVERIFY(voice.mediaPlayer()->source().isEmpty());
    QCOMPARE(voice.URL(), url);
    QVERIFY(!AnyDialogShown());
}

void TestVoice::timeShowsLengthOnceKnown()
{
    AudioServer server(SilenceMp3("silence-5s.mp3"));
    Voice voice;
    auto *time = voice.findChild<QLabel *>(u"voiceTime"_s);
    QVERIFY(time);
    QCOMPARE(time->text(), u"0:00 / 0:00"_s);

    voice.setURL(server.base() + u"/translate_tts?q=time"_s);
    QCOMPARE(time->text(), u"0:00 / -:--"_s);
    QTRY_VERIFY(QRegularExpression(u"^0:0[0-4] / 0:05$"_s).match(time->text()).hasMatch());

    voice.setURL(QString());
    QCOMPARE(time->text(), u"0:00 / 0:00"_s);
}

void TestVoice::spaceTogglesPlayback()
{
    AudioServer server(SilenceMp3());
    Voice voice;
    QMediaPlayer *player = voice.mediaPlayer();
    voice.setURL(server.base() + u"/translate_tts?q=space"_s);
    QCOMPARE(player->playbackState(), QMediaPlayer::PlayingState);

    QTest::keyClick(&voice, Qt::Key_Space);
    QCOMPARE(player->playbackState(), QMediaPlayer::PausedState);
    QTest::keyClick(&voice, Qt::Key_Space);
    QCOMPARE(player->playbackState(), QMediaPlayer::PlayingState);
}

void TestVoice::volumeClamps_data()
{
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("kept");
    QTest::addColumn<float>("gain");

    QTest::newRow("below the scale") << -5 << 0 << 0.0f;
    QTest::newRow("silent") << 0 << 0 << 0.0f;
    QTest::newRow("full") << 100 << 100 << 1.0f;
    QTest::newRow("above the scale") << 101 << 100 << 1.0f;
}

void TestVoice::volumeClamps()
{
    QFETCH(int, given);
    QFETCH(int, kept);
    QFETCH(float, gain);

    Voice voice;
    voice.setVolume(given);
    QCOMPARE(voice.volume(), kept);
    QCOMPARE(voice.mediaPlayer()->audioOutput()->volume(), gain);
}

void TestVoice::volumeStartsAtHalfAndFollowsTheSlider()
{
    Voice voice;
    auto *slider = voice.findChild<QSlider *>(u"voiceVolume"_s);
    QVERIFY(slider);
    QCOMPARE(voice.volume(), 50);
    QCOMPARE(slider->value(), 50);
    const float before = voice.mediaPlayer()->audioOutput()->volume();

    slider->setValue(80);
    QCOMPARE(voice.volume(), 80);
    QVERIFY(voice.mediaPlayer()->audioOutput()->volume() > before);
}

void TestVoice::mouseUpOnlyOverBlankSurface_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("reported");

    const Qt::KeyboardModifiers none;
    QTest::newRow("left on the margin") << QString() << Qt::LeftButton << none << true;
    QTest::newRow("right on the margin") << QString() << Qt::RightButton << none << true;
    QTest::newRow("middle with shift on the margin")
        << QString() << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("right on the time") << u"voiceTime"_s << Qt::RightButton << none << true;
    QTest::newRow("right on play") << u"voicePlayPause"_s << Qt::RightButton << none << false;
    QTest::newRow("middle on stop") << u"voiceStop"_s << Qt::MiddleButton << none << false;
    QTest::newRow("right on position") << u"voicePosition"_s << Qt::RightButton << none << false;
    QTest::newRow("right on volume") << u"voiceVolume"_s << Qt::RightButton << none << false;
}

void TestVoice::mouseUpOnlyOverBlankSurface()
{
    QFETCH(QString, target);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, reported);

    Voice voice;
    voice.resize(481, 41);
    voice.show();
    QVERIFY(QTest::qWaitForWindowExposed(&voice));
    QSignalSpy mouseUp(&voice, &Voice::mouseUp);

    QWidget *receiver = &voice;
    QPoint at(2, voice.height() / 2);
    if (!target.isEmpty()) {
        receiver = voice.findChild<QWidget *>(target);
        QVERIFY(receiver);
        at = receiver->rect().center();
    }
    QTest::mousePress(receiver, button, modifiers, at);
    QTest::mouseRelease(receiver, button, modifiers, at);

    QCOMPARE(mouseUp.size(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(mouseUp.first().at(0).value<Qt::MouseButton>(), button);
        QCOMPARE(mouseUp.first().at(1).value<Qt::KeyboardModifiers>(), modifiers);
        QCOMPARE(mouseUp.first().at(2).toPoint(), receiver->mapTo(&voice, at));
    }
}

QTEST_MAIN(TestVoice)
#include "tst_voice.moc"
