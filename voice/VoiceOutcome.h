#pragma once

#include <QString>

// Why the offline voice spoke a text or not, in the words the user reads after the translation
// roads (the status line's tool tip, script mode's standard error, bremo --check): fixed texts
// chosen by kind, never the text or what espeak-ng said.
enum class VoiceFailure
{
    None,
    NotInstalled, // no espeak-ng program
    NoVoice,      // espeak-ng has no voice for the target language
    TimedOut,
    TooLong,      // the rendering grew past the cap
    EngineFailed, // espeak-ng ended with an error
    NoSound       // it ended well, without a WAV with sound in it
};

struct VoiceOutcome
{
    VoiceFailure failure = VoiceFailure::None;
    int exitCode = 0; // espeak-ng's, for EngineFailed
};

// "成功", "未安装 espeak-ng", "没有这种语言的语音", ...
QString VoiceOutcomeWords(const VoiceOutcome &outcome);
// "离线语音：成功": the line of the roads' report.
QString OfflineVoiceLine(const VoiceOutcome &outcome);
