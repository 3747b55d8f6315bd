// The entries of the bremo-player module: the player that the widget loads at its first clip,
// and the offline voice as MP3 for script mode and bremo --check.
#include "ClipPlayer.h"
#include "Mp3Encoding.h"
#include "OfflineMp3Entry.h"
#include "OfflineVoice.h"
#include "PlaybackModule.h"
#include "VoiceOutcome.h"

using namespace Qt::StringLiterals;

extern "C" Q_DECL_EXPORT Playback *BremoMakePlayback(QObject *parent)
{
    static_assert(std::is_same_v<decltype(&BremoMakePlayback), PlaybackMaker>);
    return MakeClipPlayer(parent);
}

extern "C" Q_DECL_EXPORT std::optional<QByteArray>
BremoOfflineMp3(const QString &text, const QString &languageCode, QString &words)
{
    static_assert(std::is_same_v<decltype(&BremoOfflineMp3), OfflineMp3Entry>);
    const OfflineSpeech speech = SpeakOffline(text, languageCode, {});
    words = VoiceOutcomeWords(speech.outcome);
    if (speech.wav.isEmpty())
        return std::nullopt;
    std::optional<QByteArray> mp3 = Mp3OfWav(speech.wav);
    if (!mp3)
        words = u"无法生成 MP3"_s;
    return mp3;
}
