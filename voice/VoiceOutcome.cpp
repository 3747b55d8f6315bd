#include "VoiceOutcome.h"

using namespace Qt::StringLiterals;

QString VoiceOutcomeWords(const VoiceOutcome &outcome)
{
    switch (outcome.failure) {
    case VoiceFailure::None:
        return u"成功"_s;
    case VoiceFailure::NotInstalled:
        return u"未安装 espeak-ng"_s;
    case VoiceFailure::NoVoice:
        return u"没有这种语言的语音"_s;
    case VoiceFailure::TimedOut:
        return u"超时"_s;
    case VoiceFailure::TooLong:
        return u"语音过长"_s;
    case VoiceFailure::EngineFailed:
        return u"运行出错（退出码 "_s + QString::number(outcome.exitCode) + u"）"_s;
    case VoiceFailure::NoSound:
        return u"没有生成语音"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString OfflineVoiceLine(const VoiceOutcome &outcome)
{
    return u"离线语音："_s + VoiceOutcomeWords(outcome);
}
