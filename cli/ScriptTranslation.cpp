#include "ScriptTranslation.h"

#include "GoogleRules.h"
#include "HttpText.h"
#include "LanguageCatalogue.h"
#include "YoudaoRules.h"

using namespace GetPostByXmlHttp;

namespace {

ScriptTranslation ByYoudao(const QString &source, const Endpoints &endpoints)
{
    const QString reply =
        HttpPostText(Youdao::RequestUrl(endpoints.youdao), Youdao::RequestBody(source));
    const QString result = Youdao::ResultOfPage(reply);
    return {result, Youdao::SpeechUrl(endpoints.youdaoVoice, result)};
}

ScriptTranslation ByGoogle(const QString &source, const PrintJob &job, const Endpoints &endpoints)
{
    const QStringList codes = LanguageCatalogue::build().codes;
    const QString sourceCode = CodeForPosition(codes, job.sourcePosition).value_or(QString());
    const QString targetCode = CodeForPosition(codes, job.targetPosition).value_or(QString());
    if (Google::RoadFor(source) == Google::Road::Long) {
        const QString reply = HttpPostText(Google::LongRoadUrl(endpoints.google),
                                           Google::LongRoadBody(source, sourceCode, targetCode));
        return {Google::ResultOfLongRoad(reply, job.targetPosition), std::nullopt};
    }
    const QString reply =
        HttpGetText(Google::ShortRoadUrl(endpoints.google, source, sourceCode, targetCode));
    const QString result = Google::ResultOfShortRoad(reply, job.targetPosition);
    return {result,
            Google::SpeechUrl(endpoints.google, {result, result, source, job.targetPosition})};
}

} // namespace

ScriptTranslation TranslateForScript(const QString &source, const PrintJob &job,
                                     const Endpoints &endpoints)
{
    return job.youdao ? ByYoudao(source, endpoints) : ByGoogle(source, job, endpoints);
}
