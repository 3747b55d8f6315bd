#include "Speech.h"

#include "GoogleApiRules.h"
#include "GoogleRules.h"
#include "LanguageCatalogue.h"
#include "YoudaoRules.h"

using namespace Qt::StringLiterals;

std::optional<SpeechPlan> SpeechPlanOf(const Translation &translation, Engine engine,
                                       const Endpoints &endpoints, const SpeechContext &context,
                                       VoiceChoice choice)
{
    if (!translation.road || !RoadSpeaks(*translation.road))
        return std::nullopt;
    SpeechPlan plan;
    plan.text = translation.text;
    switch (engine) {
    case Engine::Google:
        plan.url = Google::SpeechUrl(endpoints.google, {translation.text, context.previousResult,
                                                        context.source, context.targetPosition});
        plan.host = u"Google 语音"_s;
        plan.languageCode =
            CodeForPosition(LanguageCatalogue::build().codes, context.targetPosition)
                .value_or(QString());
        break;
    case Engine::Youdao:
        plan.url = Youdao::SpeechUrl(endpoints.youdaoVoice, translation.text);
        plan.host = u"有道语音"_s;
        plan.languageCode = GoogleApi::YoudaoTargetCode(context.source);
        break;
    case Engine::LibreTranslateOnly:
    case Engine::ApertiumOnly:
    case Engine::DeepLOnly:
    case Engine::GoogleCloudOnly:
    case Engine::BaiduOnly:
    case Engine::YoudaoApiOnly:
        return std::nullopt;
    }
    if (!plan.url)
        return std::nullopt;
    if (*translation.road == Road::Apertium || choice == VoiceChoice::Offline)
        plan.url.reset();
    return plan;
}
