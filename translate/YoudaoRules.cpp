#include "YoudaoRules.h"

#include "SpokenLength.h"
#include "TextHelpers.h"

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

namespace Youdao {

QString RequestUrl(QStringView endpoint)
{
    return endpoint + u"/translate"_s;
}

QString RequestBody(QStringView source)
{
    return u"i="_s + UrlEncodeUtf8(source) +
           u"&type=AUTO&action=%E7%BF%BB%E8%AF%91&ue=UTF-8&keyfrom=fanyi.web"
           u"&smartresult=dict&smartresult=rule"_s;
}

QString ResultOfPage(QStringView page)
{
    QString result = TextBetween(page, u"name=\"o\">", u"</textarea>");
    result.replace(u"&#10;"_s, u"\r\n"_s);
    result.remove(u',');
    return result;
}

std::optional<QString> SpeechUrl(QStringView voiceEndpoint, QStringView result)
{
    if (result.isEmpty() || result.size() > MaxSpokenLength)
        return std::nullopt;
    // Encoded whole, so that "&", "#", "%", "+" or a line break in the result cannot break
    // the query or add parameters to it.
    return voiceEndpoint + u"/fanyivoice?word="_s + UrlEncodeUtf8(result);
}

} // namespace Youdao
