#include "Recording.h"

#include <QFile>

#include <algorithm>

namespace TestSupport::Recording {

namespace {

constexpr int Rate = 16000;
constexpr int WindowMs = 20;
constexpr int Window = Rate * WindowMs / 1000;

// 0 for silence (against the tones' -6 dB), else the pitch by zero crossings, within 25 Hz in
// 20 ms, rounded to the tones' spacing.
int PitchOf(const qint16 *samples)
{
    qint64 energy = 0;
    int crossings = 0;
    for (int i = 0; i < Window; ++i) {
        energy += qint64(samples[i]) * samples[i];
        crossings += i > 0 && (samples[i - 1] < 0) != (samples[i] < 0);
    }
    if (energy / Window < 500'000)
        return 0;
    return (crossings * Rate / (2 * Window) + 110) / 220 * 220;
}

// One for every 20 ms.
QList<int> Pitches()
{
    QFile file(Path());
    const QByteArray pcm = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const auto *samples = reinterpret_cast<const qint16 *>(pcm.constData());
    QList<int> pitches;
    for (qsizetype start = 0; start + Window <= pcm.size() / 2; start += Window)
        pitches.append(PitchOf(samples + start));
    return pitches;
}

void Append(QList<Heard> &runs, Heard run)
{
    if (!runs.isEmpty() && runs.last().hertz == run.hertz)
        runs.last().ms += run.ms;
    else
        runs.append(run);
}

} // namespace

QString Path()
{
    return qEnvironmentVariable("BREMO_RECORDING");
}

int QuietTailMs()
{
    const QList<int> pitches = Pitches();
    const auto sound = std::find_if(pitches.crbegin(), pitches.crend(), [](int p) { return p; });
    return int(sound - pitches.crbegin()) * WindowMs;
}

QList<Heard> TonesHeard()
{
    QList<Heard> runs;
    for (int hertz : Pitches())
        Append(runs, {hertz, WindowMs});
    // A window that straddles the start of a tone must not split a run, nor a click add one.
    QList<Heard> heard;
    for (const Heard &run : std::as_const(runs)) {
        if (run.ms >= 60)
            Append(heard, run);
    }
    heard.removeIf([](const Heard &run) { return run.hertz == 0; });
    return heard;
}

} // namespace TestSupport::Recording
