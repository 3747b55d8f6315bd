#include "LibreTranslateRules.h"

#include "TextHelpers.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace LibreTranslate {

QString RequestUrl(QStringView server)
{
    return server + u"/translate"_s;
}

QByteArray RequestBody(QStringView source, QStringView sourceCode, QStringView targetCode,
                       QStringView apiKey)
{
    const QJsonObject body{
        {u"q"_s, source.toString()},        {u"source"_s, CodeFor(sourceCode)},
        {u"target"_s, CodeFor(targetCode)}, {u"format"_s, u"text"_s},
        {u"api_key"_s, apiKey.toString()},
    };
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

QString CodeFor(QStringView catalogueCode)
{
    static const std::pair<QStringView, QStringView> renamed[] = {
        {u"zh-CN", u"zh"},
        {u"iw", u"he"},
        {u"no", u"nb"},
    };
    for (const auto &[ours, theirs] : renamed) {
        if (catalogueCode == ours)
            return theirs.toString();
    }
    return catalogueCode.toString();
}

QString ResultOfReply(QStringView reply)
{
    const QJsonObject object = QJsonDocument::fromJson(reply.toUtf8()).object();
    return object[u"translatedText"].toString();
}

QString RefusalOfReply(QStringView reply)
{
    const QJsonObject object = QJsonDocument::fromJson(reply.toUtf8()).object();
    return GetPostByXmlHttp::OneLine(object[u"error"].toString());
}

} // namespace LibreTranslate
