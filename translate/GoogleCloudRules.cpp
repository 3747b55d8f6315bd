#include "GoogleCloudRules.h"

#include "TextHelpers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace GoogleCloud {

std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, QStringView key)
{
    // The service detects the source itself when none is named; a target it must be given.
    if (query.targetCode == u"auto")
        return std::nullopt;
    QJsonObject body{{u"q"_s, QJsonArray{query.text}},
                     {u"target"_s, query.targetCode},
                     {u"format"_s, u"text"_s}};
    if (query.sourceCode != u"auto")
        body.insert(u"source"_s, query.sourceCode);
    return KeyedRequest{
        query.host + u"/language/translate/v2"_s,
        {{"X-goog-api-key", key.toUtf8()}, {"Content-Type", "application/json"}},
        QJsonDocument(body).toJson(QJsonDocument::Compact),
    };
}

KeyedReply ReadReply(QStringView reply)
{
    const QJsonObject object = QJsonDocument::fromJson(reply.toUtf8()).object();
    QString translation;
    for (const QJsonValue entry : object[u"data"][u"translations"].toArray())
        translation += entry[u"translatedText"].toString();
    if (!translation.isEmpty())
        return {std::move(translation), {}, {}};
    const QJsonValue error = object[u"error"];
    const int code = error[u"code"].toInt();
    return {{},
            code ? QString::number(code) : QString(),
            GetPostByXmlHttp::OneLine(error[u"message"].toString())};
}

} // namespace GoogleCloud
