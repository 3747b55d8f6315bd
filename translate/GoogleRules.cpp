#include "GoogleRules.h"

#include "GoogleReply.h"
#include "SpokenLength.h"
#include "TextHelpers.h"

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

namespace Google {

namespace {

constexpr qsizetype ShortTextLimit = 220;    // shorter texts go by GET
constexpr qsizetype PronunciationLimit = 34; // shorter sources may be spoken
constexpr int JapanesePosition = 35;

} // namespace

Road RoadFor(QStringView source)
{
    return source.size() < ShortTextLimit ? Road::Short : Road::Long;
}

QString ShortRoadUrl(QStringView endpoint, QStringView source, QStringView sourceCode,
                     QStringView targetCode)
{
    return endpoint + u"/translate_a/t?client=t&text="_s + UrlEncodeUtf8(source) +
           u"&hl=zh-CN&sl="_s + sourceCode + u"&tl="_s + targetCode + u"&pc=0&prev=btn"_s;
}

QString LongRoadUrl(QStringView endpoint)
{
    return endpoint + u"/"_s;
}

QString LongRoadBody(QStringView source, QStringView sourceCode, QStringView targetCode)
{
    return u"js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=1&text="_s + UrlEncodeUtf8(source) +
           u"&file=&sl="_s + sourceCode + u"&tl="_s + targetCode;
}

QString ResultOfShortRoad(QStringView reply, int targetPosition)
{
    return ParseGoogleReply(reply, u"GET", targetPosition);
}

QString ResultOfLongRoad(QStringView page, int targetPosition)
{
    const QString field = TextBetween(page, u"name=gtrans value=\"", u"\"><div id=sug_exp>");
    return ParseGoogleReply(field, u"POST", targetPosition);
}

std::optional<QString> SpeechUrl(QStringView endpoint, const Pronunciation &pronunciation)
{
    const QStringView result = pronunciation.result;
    if (result.isEmpty() || result.size() > MaxSpokenLength ||
        pronunciation.previousResult.isEmpty() ||
        pronunciation.source.size() >= PronunciationLimit ||
        pronunciation.targetPosition == JapanesePosition)
        return std::nullopt;
    return endpoint + u"/translate_tts?q="_s + UrlEncodeUtf8(result) + u"&tl=en"_s;
}

} // namespace Google
