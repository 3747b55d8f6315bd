#include "GoogleApiRules.h"

#include "TextHelpers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

namespace GoogleApi {

namespace {

// Request lines past about 2,000 bytes are where proxies and older servers start to refuse.
constexpr qsizetype MaxUrlLength = 2000;

bool isChinese(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x20000 && c <= 0x2A6DF) || (c >= 0xF900 && c <= 0xFAFF);
}

} // namespace

Request RequestFor(QStringView endpoint, QStringView source, QStringView sourceCode,
                   QStringView targetCode)
{
    const QString query = endpoint + u"/translate_a/single?client=gtx&sl="_s + sourceCode +
                          u"&tl="_s + targetCode + u"&dt=t&dj=1&ie=UTF-8&oe=UTF-8"_s;
    const QString text = UrlEncodeUtf8(source);
    if (query.size() + 3 + text.size() <= MaxUrlLength)
        return {query + u"&q="_s + text, std::nullopt};
    return {query, u"q="_s + text};
}

QString YoudaoTargetCode(QStringView source)
{
    for (const char32_t c : source.toUcs4()) {
        if (isChinese(c))
            return u"en"_s;
    }
    return u"zh-CN"_s;
}

QString ResultOfReply(QStringView reply)
{
    const QJsonValue sentences = QJsonDocument::fromJson(reply.toUtf8()).object()[u"sentences"];
    QString result;
    // Entries without "trans" carry the transliteration; they are not part of the text.
    for (const QJsonValue sentence : sentences.toArray())
        result += sentence[u"trans"].toString();
    return result;
}

} // namespace GoogleApi
