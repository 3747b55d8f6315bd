#include "Recording.h"

#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace TestSupport::Recording {

namespace {

constexpr int Rate = 16000;
constexpr int WindowMs = 20;
constexpr int Window = Rate * WindowMs / 1000;

struct Run
{
    int hertz;
    int ms;
};

// One for every 20 ms: 0 for silence (against the tones' -6 dB), else the pitch by zero
// crossings, within 25 Hz in 20 ms, rounded to the tones' spacing.
QList<int> Pitches(qint64 fromBytes = 0)
{
    QFile file(Path);
    const QByteArray pcm = file.open(QIODevice::ReadOnly) && file.seek(fromBytes / 2 * 2)
                               ? file.readAll()
                               : QByteArray();
    const auto *samples = reinterpret_cast<const qint16 *>(pcm.constData());
    QList<int> pitches;
    for (qsizetype start = 0; start + Window <= pcm.size() / 2; start += Window) {
        qint64 energy = 0;
        int crossings = 0;
        for (qsizetype i = start; i < start + Window; ++i) {
            energy += qint64(samples[i]) * samples[i];
            crossings += i > start && (samples[i - 1] < 0) != (samples[i] < 0);
        }
        const int hertz = (crossings * Rate / (2 * Window) + 110) / 220 * 220;
        pitches.append(energy / Window < 500'000 ? 0 : hertz);
    }
    return pitches;
}

void Append(QList<Run> &runs, Run run)
{
    if (!runs.isEmpty() && runs.last().hertz == run.hertz)
        runs.last().ms += run.ms;
    else
        runs.append(run);
}

} // namespace

int QuietTailMs()
{
    const QList<int> pitches = Pitches();
    const auto sound = std::find_if(pitches.crbegin(), pitches.crend(), [](int p) { return p; });
    return int(sound - pitches.crbegin()) * WindowMs;
}

int LongestSoundMs(qint64 fromBytes)
{
    int longest = 0;
    int run = 0;
    int pause = 0;
    for (int hertz : Pitches(fromBytes)) {
        pause = hertz ? 0 : pause + WindowMs;
        run = hertz ? run + WindowMs : pause <= 100 && run ? run + WindowMs : 0;
        longest = std::max(longest, hertz ? run : 0);
    }
    return longest;
}

QStringList TonesHeard(int wholeMs)
{
    QList<Run> runs;
    for (int hertz : Pitches())
        Append(runs, {hertz, WindowMs});
    // A window that straddles the start of a tone must not split a run, nor a click add one.
    QList<Run> heard;
    for (const Run &run : std::as_const(runs)) {
        if (run.ms >= 60)
            Append(heard, run);
    }
    QStringList tones;
    for (const Run &run : std::as_const(heard)) {
        if (run.hertz != 0)
            tones << u"%1 Hz, "_s.arg(run.hertz) + (run.ms >= wholeMs && run.ms < 3 * wholeMs
                                                        ? u"whole"_s
                                                        : u"%1 ms"_s.arg(run.ms));
    }
    return tones;
}

} // namespace TestSupport::Recording
