#include "ScriptTranslation.h"

#include "Speech.h"

ScriptTranslation TranslateForScript(const QString &source, const PrintJob &job,
                                     const Endpoints &endpoints, VoiceChoice voice,
                                     const ServiceSettings &services)
{
    RoadsSetup setup;
    setup.endpoints = endpoints;
    setup.services = services;
    Translation translation =
        TranslateByRoads({source, job.engine, job.sourcePosition, job.targetPosition, {}}, setup);
    std::optional<SpeechPlan> speech = SpeechPlanOf(
        translation, job.engine, endpoints, {translation.text, source, job.targetPosition}, voice);
    return {std::move(translation), std::move(speech)};
}
