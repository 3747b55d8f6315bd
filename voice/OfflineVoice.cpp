#include "OfflineVoice.h"

#include "ProgramRun.h"
#include "VoiceLog.h"
#include "VoiceTable.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype HeaderBytes = OfflineWavHeaderBytes;
// The header from "fmt " to "data", where espeak-ng's voices all agree: PCM, one channel,
// 22050 Hz, 16 bits, which is the format the player plays.
constexpr QByteArrayView
    Format("fmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data", 28);
// Five minutes, as much as the player holds of a web clip.
constexpr qsizetype MaxWavBytes = HeaderBytes + 5 * 60 * 22050 * 2;

// For a maintainer, by VoiceFailure.
constexpr const char *Reasons[] = {"spoken",       "not installed", "no voice", "timed out",
                                   "over the cap", "failed",        "no sound"};

bool HasSound(const QByteArray &wav)
{
    return wav.size() > HeaderBytes && wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE" &&
           QByteArrayView(wav).sliced(12, Format.size()) == Format;
}

VoiceFailure FailureOf(const ProcessEnd &end)
{
    switch (end.kind) {
    case ProcessEnd::Kind::Finished:
        return end.exitCode != 0       ? VoiceFailure::EngineFailed
               : !HasSound(end.output) ? VoiceFailure::NoSound
                                       : VoiceFailure::None;
    case ProcessEnd::Kind::NotStarted:
        return VoiceFailure::NotInstalled;
    case ProcessEnd::Kind::TimedOut:
        return VoiceFailure::TimedOut;
    case ProcessEnd::Kind::OverCap:
        return VoiceFailure::TooLong;
    case ProcessEnd::Kind::Abandoned:
        return VoiceFailure::None;
    }
    Q_UNREACHABLE();
    return VoiceFailure::None;
}

} // namespace

OfflineSpeech SpeakOffline(const QString &text, QStringView languageCode,
                           const OfflineVoiceSetup &setup)
{
    OfflineSpeech speech;
    const std::optional<QString> voice = EspeakVoiceFor(languageCode);
    if (!voice) {
        speech.outcome.failure = VoiceFailure::NoVoice;
        qCWarning(lcVoice, "espeak-ng: no voice for the language %ls",
                  qUtf16Printable(languageCode.toString()));
        return speech;
    }
    // --stdin takes the whole text at once, where plain standard input is spoken line by line;
    // -b 1 says it is UTF-8 rather than leaving that to a guess.
    const QStringList arguments{u"-v"_s, *voice, u"--stdout"_s, u"--stdin"_s, u"-b"_s, u"1"_s};
    ProcessEnd end = RunProgram(u"espeak-ng"_s, arguments, text.toUtf8(),
                                {setup.timeout, MaxWavBytes, setup.context});
    speech.abandoned = end.kind == ProcessEnd::Kind::Abandoned;
    speech.outcome = {FailureOf(end), end.exitCode};
    if (speech.abandoned)
        return speech;
    if (speech.outcome.failure == VoiceFailure::None)
        speech.wav = std::move(end.output);
    else
        qCWarning(lcVoice, "espeak-ng (%ls): %s, exit code %d", qUtf16Printable(*voice),
                  Reasons[int(speech.outcome.failure)], end.exitCode);
    return speech;
}
