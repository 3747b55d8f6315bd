#include "Mp3Encoding.h"
#include "OfflineVoice.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <chrono>
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
        const auto start = Clock::now();
        QProcess espeak;
        espeak.start(u"espeak-ng"_s, {u"-v"_s, QString::fromUtf16(sample.voice), u"--stdout"_s,
                                      u"--stdin"_s, u"-b"_s, u"1"_s});
        espeak.write(sample.text.toUtf8());
        espeak.closeWriteChannel();
        espeak.waitForFinished();
        benchmark::DoNotOptimize(espeak.readAllStandardOutput());
        alones.push_back(millisecondsSince(start));
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
