#include "Speech.h"

#include "GoogleRules.h"
#include "YoudaoRules.h"

std::optional<QString> SpeechUrlOf(const Translation &translation, Engine engine,
                                   const Endpoints &endpoints, const SpeechContext &context)
{
    if (!translation.road || !RoadSpeaks(*translation.road))
        return std::nullopt;
    switch (engine) {
    case Engine::Google:
        return Google::SpeechUrl(endpoints.google, {translation.text, context.previousResult,
                                                    context.source, context.targetPosition});
    case Engine::Youdao:
        return Youdao::SpeechUrl(endpoints.youdaoVoice, translation.text);
    case Engine::LibreTranslateOnly:
    case Engine::ApertiumOnly:
    case Engine::DeepLOnly:
    case Engine::GoogleCloudOnly:
    case Engine::BaiduOnly:
    case Engine::YoudaoApiOnly:
        return std::nullopt;
    }
    Q_UNREACHABLE();
    return std::nullopt;
}
