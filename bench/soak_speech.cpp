// A soak run of the spoken road: N translations, each handing the player a speech URL, through
// a real Form1 against canned replies served from this process, with resident memory, open
// descriptors and threads sampled every 100 translations. With --bare, the floor: the same
// clips handed straight to a ClipPlayer, no window. With --listen, under
// tests/app/with-sound-server, the clips heard whole are counted, and with --restart-every the
// sound server is restarted between clips. Run by hand (bench/RESULTS.md).
#include "ClipPlayer.h"
#include "ExchangeJob.h"
#include "Form1.h"
#include "PlaybackModule.h"
#include "Recording.h"
#include "Voice.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A Google compact reply at /translate_a/t and one MP3 at /translate_tts, one request per
// connection. The reply text changes with every translation unless the same URL is wanted,
// so that the player gets a new address each time.
class CannedServer final : public QObject
{
public:
    CannedServer(QByteArray audio, bool sameText)
        : m_audio(std::move(audio))
        , m_sameText(sameText)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &CannedServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }

    QString base() const { return u"http://127.0.0.1:%1"_s.arg(m_server.serverPort()); }
    int speechRequests() const { return m_speechRequests; }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void answer(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        if (!pending.contains("\r\n\r\n"))
            return;
        const QByteArray target = pending.left(pending.indexOf("\r\n")).split(' ').value(1);
        m_pending.remove(socket);

        QByteArray type = "application/json; charset=utf-8";
        QByteArray body;
        if (target.startsWith("/translate_a/t")) {
            ++m_translations;
            body = "[[[\"Hello" +
                   (m_sameText ? QByteArray() : ' ' + QByteArray::number(m_translations)) +
                   "\",\"x\",\"\",\"\"]],,\"zh-CN\"]";
        } else if (target.startsWith("/translate_tts")) {
            ++m_speechRequests;
            type = "audio/mpeg";
            body = m_audio;
        }
        const QByteArray status = body.isEmpty() ? "404 Not Found" : "200 OK";
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QByteArray m_audio;
    bool m_sameText;
    int m_translations = 0;
    int m_speechRequests = 0;
};

// The first frames of an MP3 clip with no tags in front: a shorter clip, so that thousands of
// them fit in minutes.
QByteArray FirstFrames(const QByteArray &mp3, int frames)
{
    static constexpr int Mpeg1Kbps[] = {0,   32,  40,  48,  56,  64,  80,  96,
                                        112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int Mpeg2Kbps[] = {0,  8,  16, 24,  32,  40,  48,  56,
                                        64, 80, 96, 112, 128, 144, 160, 0};
    static constexpr int Rates[] = {44100, 48000, 32000, 0};
    qsizetype at = 0;
    for (int i = 0; i < frames && at + 4 <= mp3.size(); ++i) {
        const auto version = uchar(mp3[at + 1]) >> 3 & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
        const auto bits = uchar(mp3[at + 2]);
        const int kbps = (version == 3 ? Mpeg1Kbps : Mpeg2Kbps)[bits >> 4];
        const int rate = Rates[bits >> 2 & 3] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
        if (kbps == 0 || rate == 0)
            break;
        at += (version == 3 ? 144 : 72) * kbps * 1000 / rate + (bits >> 1 & 1);
    }
    return mp3.left(at);
}

int SoundServerRestarts()
{
    QFile file(qEnvironmentVariable("BREMO_SOUND_SERVER_RESTARTS"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : -1;
}

struct Sample
{
    int translations = 0;
    qint64 rssKb = 0;
    qint64 shmemKb = 0; // the part of rssKb in shared memory, such as the sound server's pool
    qsizetype descriptors = 0;
    int threads = 0;
};

Sample TakeSample(int translations)
{
    Sample sample;
    sample.translations = translations;
    QFile status(u"/proc/self/status"_s);
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.value(0) == "VmRSS:")
                sample.rssKb = fields.value(1).toLongLong();
            else if (fields.value(0) == "RssShmem:")
                sample.shmemKb = fields.value(1).toLongLong();
            else if (fields.value(0) == "Threads:")
                sample.threads = fields.value(1).toInt();
        }
    }
    sample.descriptors = QDir(u"/proc/self/fd"_s)
                             .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                             .size();
    return sample;
}

// Counts what the player does with the clips: decoded ones, ones played to their end, and
// failures. The window makes its player at its first clip and the watch takes it up at the
// next translation, so that first clip may go uncounted.
class PlayerWatch final : public QObject
{
public:
    void attach(ClipPlayer *player)
    {
        if (m_player || !player)
            return;
        m_player = player;
        connect(player, &ClipPlayer::stateChanged, this, &PlayerWatch::see);
        see();
    }

    ClipPlayer *player() const { return m_player; }

    int loaded() const { return m_loaded; }
    int ended() const { return m_ended; }
    int errors() const { return m_errors; }

private:
    void see()
    {
        const bool ready = m_player->isReady();
        const bool loaded = m_player->isLoaded();
        const ClipPlayer::State state = m_player->state();
        m_loaded += ready && !m_wasReady;
        m_ended += ready && m_wasPlaying && state == ClipPlayer::State::Stopped;
        m_errors += m_wasLoaded && !loaded;
        m_wasReady = ready;
        m_wasLoaded = loaded;
        m_wasPlaying = state == ClipPlayer::State::Playing;
    }

    ClipPlayer *m_player = nullptr;
    bool m_wasReady = false;
    bool m_wasLoaded = false;
    bool m_wasPlaying = false;
    int m_loaded = 0;
    int m_ended = 0;
    int m_errors = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(u"N translations with speech through the window."_s);
    options.addHelpOption();
    const QCommandLineOption countOption(
        u"count"_s, u"Translations with speech, in hundreds (1000)."_s, u"n"_s, u"1000"_s);
    const QCommandLineOption intervalOption(
        u"interval"_s, u"Milliseconds from one translation to the next (250)."_s, u"ms"_s,
        u"250"_s);
    const QCommandLineOption sameOption(u"same-url"_s, u"Speak the same text every time."_s);
    const QCommandLineOption unplayableOption(
        u"unplayable"_s, u"Serve bytes that are not audio as the speech (the failure road)."_s);
    const QCommandLineOption audioOption(u"audio"_s, u"The MP3 served as speech."_s, u"file"_s,
                                         QStringLiteral(SOAK_AUDIO));
    const QCommandLineOption bareOption(
        u"bare"_s, u"The floor: hand the speech URLs to a bare ClipPlayer, no window."_s);
    const QCommandLineOption listenOption(
        u"listen"_s, u"Count the clips heard whole in tests/app/with-sound-server's recording."_s);
    const QCommandLineOption framesOption(
        u"clip-frames"_s, u"Serve only the first n MP3 frames of the audio."_s, u"n"_s);
    const QCommandLineOption restartOption(
        u"restart-every"_s,
        u"Restart tests/app/with-sound-server's sound server after every n clips."_s, u"n"_s);
    const QCommandLineOption afterEndOption(
        u"after-end"_s,
        u"Give the next translation only once the last one and its clip have ended."_s);
    const QCommandLineOption moduleOption(
        u"module"_s, u"Load the player as the window does, from player/bremo-player beside this "
                     u"program (clips are then counted only by --listen)."_s);
    options.addOptions({countOption, intervalOption, sameOption, unplayableOption, audioOption,
                        bareOption, listenOption, framesOption, restartOption, afterEndOption,
                        moduleOption});
    options.process(app);
    GetPostByXmlHttp::UseExchange(GetPostByXmlHttp::LinkedExchange); // no module beside it
    if (!options.isSet(moduleOption))
        UsePlaybackMaker(MakeClipPlayer);
    const int count = std::max(1, (options.value(countOption).toInt() + 99) / 100) * 100;
    const int interval = std::max(0, options.value(intervalOption).toInt());

    QFile audioFile(options.value(audioOption));
    if (!audioFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(audioFile.fileName()));
        return 2;
    }
    QByteArray audio = audioFile.readAll();
    if (options.isSet(framesOption))
        audio = FirstFrames(audio, options.value(framesOption).toInt());
    CannedServer server(options.isSet(unplayableOption) ? QByteArray(4096, '\0') : audio,
                        options.isSet(sameOption));
    const int restartEvery = options.value(restartOption).toInt();

    std::unique_ptr<Form1> window;
    std::unique_ptr<ClipPlayer> bare;
    Voice *voice = nullptr;
    QPlainTextEdit *source = nullptr;
    QPlainTextEdit *result = nullptr;
    QPushButton *translate = nullptr;
    if (options.isSet(bareOption)) {
        bare = std::make_unique<ClipPlayer>();
    } else {
        Form1Environment environment;
        environment.programFolder = QCoreApplication::applicationDirPath();
        environment.endpoints = Endpoints{
            server.base(), server.base(), server.base(), server.base(), server.base(), {}, {}};
        environment.requestTimeout = std::chrono::milliseconds(5000);
        window = std::make_unique<Form1>(environment);
        window->show();
        source = window->findChild<QPlainTextEdit *>(u"SourceContent"_s);
        result = window->findChild<QPlainTextEdit *>(u"ResultContent"_s);
        translate = window->findChild<QPushButton *>(u"Command1"_s);
        voice = window->findChild<Voice *>(u"Voice"_s);
        if (!source || !result || !translate || !voice) {
            std::fprintf(stderr, "the window lacks a control this run drives\n");
            return 2;
        }
    }
    PlayerWatch watch;
    watch.attach(bare.get());

    namespace Recording = TestSupport::Recording;
    if ((options.isSet(listenOption) || restartEvery > 0) && Recording::Path.isEmpty()) {
        std::fprintf(stderr, "--listen, --restart-every: run me by tests/app/with-sound-server\n");
        return 2;
    }

    int done = 0;
    int unanswered = 0;
    const auto speak = [&] {
        const QString text = options.isSet(sameOption) ? u"soak"_s : u"soak %1"_s.arg(done + 1);
        if (bare) {
            bare->load(server.base() + u"/translate_tts?ie=UTF-8&q="_s +
                       QString::fromLatin1(QUrl::toPercentEncoding(text)) + u"&tl=en"_s);
            return;
        }
        source->setPlainText(text);
        translate->click();
        if (result->toPlainText().isEmpty())
            ++unanswered;
    };
    // The first translation after start-up is never spoken: it only fills the result box.
    if (window) {
        source->setPlainText(u"soak"_s);
        translate->click();
    }

    std::vector<Sample> samples;
    std::printf("%12s %10s %10s %12s %8s %8s %8s %8s\n", "translations", "rss_kb", "shmem_kb",
                "descriptors", "threads", "fetched", "loaded", "errors");
    QTimer pace;
    pace.setInterval(interval);
    int restarts = 0;
    QObject::connect(&pace, &QTimer::timeout, &app, [&] {
        if (voice)
            watch.attach(voice->findChild<ClipPlayer *>());
        const ClipPlayer *player = watch.player();
        if (options.isSet(afterEndOption) &&
            ((translate && !translate->isEnabled()) ||
             (player && player->state() != ClipPlayer::State::Stopped)))
            return;
        if (restartEvery > 0 && done > 0 && done % restartEvery == 0 && done < count) {
            // Between two clips: the last one is heard out, the next goes to the new server.
            pace.stop();
            if (!QTest::qWaitFor(
                    [&] { return !player || player->state() != ClipPlayer::State::Playing; }))
                std::printf("a clip did not end before a restart\n");
            const int before = SoundServerRestarts();
            ::kill(getppid(), SIGUSR1);
            if (!QTest::qWaitFor([&] { return SoundServerRestarts() > before; }, 30000))
                std::printf("the sound server did not restart\n");
            else
                ++restarts;
            pace.start();
        }
        speak();
        if (++done % 100 != 0)
            return;
        samples.push_back(TakeSample(done));
        const Sample &s = samples.back();
        std::printf("%12d %10lld %10lld %12lld %8d %8d %8d %8d\n", s.translations, s.rssKb,
                    s.shmemKb, static_cast<long long>(s.descriptors), s.threads,
                    server.speechRequests(), watch.loaded(), watch.errors());
        std::fflush(stdout);
        if (done < count)
            return;
        pace.stop();
        // The last clip is heard out before the player goes.
        player = watch.player();
        if (player &&
            !QTest::qWaitFor([&] { return player->state() != ClipPlayer::State::Playing; }))
            std::printf("the last clip did not end\n");
        const qint64 clipMs = player ? player->durationMs() : 0;
        window.reset();
        bare.reset();
        if (options.isSet(listenOption)) {
            if (!QTest::qWaitFor([&] { return Recording::QuietTailMs() >= 300; }))
                std::printf("the recording did not fall silent\n");
            // A clip cut to a few frames still carries the codec's delay of some 50 ms of
            // silence at its head: a quarter of its length, where it is a tenth of a whole one.
            const int percent = options.isSet(framesOption) ? 50 : 80;
            const QStringList heard = Recording::TonesHeard(int(clipMs * percent / 100));
            const qsizetype whole = heard.filter(u"whole").size();
            std::printf(
                "heard: %lld tones, %lld of them for at least %d %% of the clip's %lld ms\n",
                static_cast<long long>(heard.size()), static_cast<long long>(whole), percent,
                static_cast<long long>(clipMs));
        }
        QCoreApplication::exit(unanswered == 0 ? 0 : 1);
    });
    pace.start();
    const int exitCode = app.exec();

    const Sample &first = samples.front();
    const Sample &last = samples.back();
    const int span = last.translations - first.translations;
    if (span > 0) {
        std::printf("\nafter the first %d: rss %+lld KB (%.2f KB per translation), "
                    "shared %+lld KB, descriptors %+lld, threads %+d\n",
                    first.translations, last.rssKb - first.rssKb,
                    double(last.rssKb - first.rssKb) / span, last.shmemKb - first.shmemKb,
                    static_cast<long long>(last.descriptors - first.descriptors),
                    last.threads - first.threads);
    }
    std::printf("played to the end: %d, failed: %d, unanswered translations: %d, "
                "sound server restarts: %d\n",
                watch.ended(), watch.errors(), unanswered, restarts);
    return exitCode;
}
