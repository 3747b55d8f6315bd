#include "ScriptTranslation.h"

#include "NetLog.h"
#include "ResultCap.h"
#include "Speech.h"

ScriptTranslation TranslateForScript(const QString &source, const PrintJob &job,
                                     const Endpoints &endpoints)
{
    RoadsSetup setup;
    setup.endpoints = endpoints;
    Translation translation =
        TranslateByRoads({source, job.engine, job.sourcePosition, job.targetPosition, {}}, setup);
    // Script mode writes the reasons of bremo.net on standard error.
    if (translation.sourceTooLong)
        qCWarning(lcNet, "the text is too long: a translation holds at most %lld characters",
                  static_cast<long long>(MaxResultLength));
    std::optional<QString> speech = SpeechUrlOf(translation, job.engine, endpoints,
                                                {translation.text, source, job.targetPosition});
    return {std::move(translation), std::move(speech)};
}
