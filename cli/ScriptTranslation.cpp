#include "ScriptTranslation.h"

#include "Speech.h"

ScriptTranslation TranslateForScript(const QString &source, const PrintJob &job,
                                     const Endpoints &endpoints, VoiceChoice voice)
{
    RoadsSetup setup;
    setup.endpoints = endpoints;
    Translation translation =
        TranslateByRoads({source, job.engine, job.sourcePosition, job.targetPosition, {}}, setup);
    std::optional<SpeechPlan> speech = SpeechPlanOf(
        translation, job.engine, endpoints, {translation.text, source, job.targetPosition}, voice);
    return {std::move(translation), std::move(speech)};
}
