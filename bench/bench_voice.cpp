#include "ClipOutput.h"
#include "ClipPlayer.h"
#include "FormHarness.h"
#include "Mp3Encoding.h"
#include "OfflineVoice.h"
#include "PlaybackModule.h"
#include "Recording.h"
#include "StandInServer.h"
#include "Voice.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample
{
    const char16_t *code;
    const char16_t *voice;
    QString text;
};

// A short result of each kind, and the longest one spoken.
const Sample Samples[] = {
    {u"en", u"en-us", u"Good morning, my friend. The weather is fine today."_s},
    {u"zh-CN", u"cmn-latn-pinyin", u"我们今天去公园散步，天气很好。"_s},
    {u"en", u"en-us", u"The quick brown fox jumps over the lazy dog. "_s.repeated(11).left(500)},
};

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// espeak-ng run alone on text, with the offline voice's arguments: milliseconds.
double EspeakAloneMs(const char16_t *voice, const QString &text)
{
    const auto start = Clock::now();
    QProcess espeak;
    espeak.start(u"espeak-ng"_s, {u"-v"_s, QString::fromUtf16(voice), u"--stdout"_s, u"--stdin"_s,
                                  u"-b"_s, u"1"_s});
    espeak.write(text.toUtf8());
    espeak.closeWriteChannel();
    espeak.waitForFinished();
    benchmark::DoNotOptimize(espeak.readAllStandardOutput());
    return millisecondsSince(start);
}

// The offline voice's rendering, and its rendering and MP3 for a save, beside espeak-ng run
// alone on the same text in the same iteration: what the runner, the checks and the encoder
// add to what espeak-ng itself costs.
void BM_OfflineVoice(benchmark::State &state)
{
    const Sample &sample = Samples[state.range(0)];
    std::vector<double> alones;
    std::vector<double> renders;
    std::vector<double> saves;
    qint64 wavBytes = 0;
    qint64 mp3Bytes = 0;
    const auto alone = [&] {
        alones.push_back(EspeakAloneMs(sample.voice, sample.text));
    };
    bool first = true;
    for (auto _ : state) {
        // Each goes first in every other iteration, so neither always finds the caches warm.
        first = !first;
        if (first)
            alone();
        auto start = Clock::now();
        const OfflineSpeech speech = SpeakOffline(sample.text, sample.code, {});
        renders.push_back(millisecondsSince(start));
        if (!first)
            alone();
        start = Clock::now();
        const std::optional<QByteArray> mp3 =
            Mp3OfWav(SpeakOffline(sample.text, sample.code, {}).wav);
        saves.push_back(millisecondsSince(start));
        if (speech.wav.isEmpty() || !mp3) {
            state.SkipWithError("no clip, or no MP3");
            return;
        }
        wavBytes = speech.wav.size();
        mp3Bytes = mp3->size();
    }
    state.counters["alone_ms_median"] = median(alones);
    state.counters["render_ms_median"] = median(renders);
    state.counters["render_mp3_ms_median"] = median(saves);
    state.counters["render_ratio"] = median(renders) / median(alones);
    state.counters["render_mp3_ratio"] = median(saves) / median(alones);
    state.counters["clip_s"] = double(wavBytes - 44) / (22050 * 2);
    state.counters["mp3_kb"] = double(mp3Bytes) / 1024;
}
BENCHMARK(BM_OfflineVoice)->DenseRange(0, 2)->Iterations(31)->Unit(benchmark::kMillisecond);

namespace Recording = TestSupport::Recording;

// The recording (16 kHz, mono, 16 bit) counts its own time: a sample is 1/16 ms.
constexpr double SamplesPerMs = 16;

qint64 recordedSamples()
{
    return QFileInfo(Recording::Path).size() / 2;
}

// Where the first sample at least -24 dBFS loud lies, counted from sample from; -1: none yet.
qint64 firstLoudSample(qint64 from)
{
    QFile file(Recording::Path);
    const QByteArray pcm =
        file.open(QIODevice::ReadOnly) && file.seek(from * 2) ? file.readAll() : QByteArray();
    const auto *samples = reinterpret_cast<const qint16 *>(pcm.constData());
    for (qsizetype i = 0; i < pcm.size() / 2; ++i) {
        if (std::abs(samples[i]) >= 4096)
            return i;
    }
    return -1;
}

// Runs the event loop, checking every 2 ms, until done says so; false after 10 s.
bool waitFor(const std::function<bool()> &done)
{
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.exit(0);
    });
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    check.start(2);
    return loop.exec() == 0;
}

// The milliseconds from start() until the sink's monitor records the first loud sample, by the
// recording's clock; then stop(), and the recording quiet again for 200 ms. -1: nothing heard.
double msToFirstSound(const std::function<void()> &start, const std::function<void()> &stop)
{
    const qint64 mark = recordedSamples();
    start();
    qint64 loud = -1;
    const bool heard = waitFor([&] { return (loud = firstLoudSample(mark)) >= 0; });
    stop();
    const qint64 stopped = recordedSamples();
    const qint64 quiet = qint64(200 * SamplesPerMs);
    waitFor([&] {
        const qint64 end = recordedSamples();
        return end - stopped >= quiet && firstLoudSample(end - quiet) < 0;
    });
    return heard ? double(loud) / SamplesPerMs : -1;
}

struct Spoken
{
    const char16_t *code;
    const char16_t *voice;
    const char16_t *request; // of the window: "engine from to source"
    QString text;            // the translation the stand-in gives, and what is spoken
};

// Google speaks results of up to 33 characters.
const Spoken SpokenSamples[] = {
    {u"en", u"en-us", u"google zh-CN en 早上好", u"Good morning, my friend."_s},
    {u"zh-CN", u"cmn-latn-pinyin", u"google en zh-CN Let us walk", Samples[1].text},
};

// From the second click on 翻译 with BREMO_VOICE=offline (a Google result, spoken by
// espeak-ng) to the first loud sample on the sound server's null sink, against espeak-ng alone
// on the same text plus the player's sound output started on the same clip in hand. Under
// tests/app/with-sound-server; the translation's own round trip to a stand-in on loopback is
// part of the window's time.
void BM_OfflineFirstSound(benchmark::State &state)
{
    if (Recording::Path.isEmpty()) {
        state.SkipWithError("run me by tests/app/with-sound-server");
        return;
    }
    const Spoken &sample = SpokenSamples[state.range(0)];
    qputenv("BREMO_VOICE", "offline");
    TestSupport::StandInServer server;
    const QString request = QString::fromUtf16(sample.request);
    server.serve("/translate_a/t",
                 TestSupport::CannedReply::page(
                     200, "[[[\"" + sample.text.toUtf8() + "\",\"x\",\"\",\"\"]],,\"" +
                              request.section(u' ', 1, 1).toUtf8() + "\"]"));
    FormHarness h(server.origin());
    h.form->findChild<Voice *>(u"Voice"_s)->setVolume(100);
    h.setRequest(request);
    h.translate(); // the first click fills the result box; Google speaks from the second on
    const auto stopWindow = [&h] {
        if (auto *player = h.form->findChild<ClipPlayer *>())
            player->stop();
    };
    const QByteArray pcm =
        SpeakOffline(sample.text, sample.code, {}).wav.sliced(OfflineWavHeaderBytes);
    std::unique_ptr<ClipOutput> output;
    std::vector<double> windows;
    std::vector<double> alones;
    std::vector<double> starts;
    bool first = true;
    for (auto _ : state) {
        first = !first;
        const auto window = [&] {
            windows.push_back(msToFirstSound([&h] { h.translate(); }, stopWindow));
        };
        if (first)
            window();
        alones.push_back(EspeakAloneMs(sample.voice, sample.text));
        starts.push_back(msToFirstSound([&] { output = ClipOutput::start(pcm, 0, 1.0); },
                                        [&] { output.reset(); }));
        if (!first)
            window();
        if (windows.back() < 0 || starts.back() < 0) {
            state.SkipWithError("nothing heard");
            return;
        }
    }
    const double floor = median(alones) + median(starts);
    state.counters["window_ms_median"] = median(windows);
    state.counters["alone_ms_median"] = median(alones);
    state.counters["player_start_ms_median"] = median(starts);
    state.counters["ratio"] = median(windows) / floor;
}
BENCHMARK(BM_OfflineFirstSound)->DenseRange(0, 1)->Iterations(21)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The window reads no settings of the user's.
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    UsePlaybackMaker(MakeClipPlayer);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
