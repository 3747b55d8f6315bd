#include "ScriptTranslation.h"

#include "Speech.h"

ScriptTranslation TranslateForScript(const QString &source, const PrintJob &job,
                                     const Endpoints &endpoints, const ServiceSettings &services)
{
    RoadsSetup setup;
    setup.endpoints = endpoints;
    setup.services = services;
    Translation translation =
        TranslateByRoads({source, job.engine, job.sourcePosition, job.targetPosition, {}}, setup);
    std::optional<QString> speech = SpeechUrlOf(translation, job.engine, endpoints,
                                                {translation.text, source, job.targetPosition});
    return {std::move(translation), std::move(speech)};
}
