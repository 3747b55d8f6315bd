#include "DeepLRules.h"

#include "TextHelpers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace DeepL {

namespace {

// The languages DeepL documents (not its beta ones); a source names no regional variant,
// a target must for English and Portuguese.
constexpr QStringView Shared = u"ar bg cs da de el es et fi fr hu id it ja ko lt lv nl pl ro ru "
                               u"sk sl sv th tr uk vi iw=he no=nb";
constexpr QStringView SourceOnly = u"zh-CN=zh en pt";
constexpr QStringView TargetOnly = u"zh-CN=zh-hans en=en-us pt=pt-br";

std::optional<QString> codeFor(QStringView catalogueCode, QStringView ownTable)
{
    std::optional<QString> code = CodeIn(Shared, catalogueCode);
    if (!code)
        code = CodeIn(ownTable, catalogueCode);
    if (code)
        return code->toUpper();
    return std::nullopt;
}

} // namespace

QString HostForKey(QStringView key)
{
    return key.endsWith(u":fx") ? u"https://api-free.deepl.com"_s : u"https://api.deepl.com"_s;
}

std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, QStringView key)
{
    const std::optional<QString> target = codeFor(query.targetCode, TargetOnly);
    const bool detect = query.sourceCode == u"auto";
    const std::optional<QString> source =
        detect ? std::optional<QString>(QString()) : codeFor(query.sourceCode, SourceOnly);
    if (!target || !source)
        return std::nullopt;
    QJsonObject body{{u"text"_s, QJsonArray{query.text}}, {u"target_lang"_s, *target}};
    if (!detect)
        body.insert(u"source_lang"_s, *source);
    return KeyedRequest{
        query.host + u"/v2/translate"_s,
        {{"Authorization", "DeepL-Auth-Key " + key.toUtf8()}, {"Content-Type", "application/json"}},
        QJsonDocument(body).toJson(QJsonDocument::Compact),
    };
}

KeyedReply ReadReply(QStringView reply)
{
    const QJsonObject object = QJsonDocument::fromJson(reply.toUtf8()).object();
    QString translation;
    for (const QJsonValue entry : object[u"translations"].toArray())
        translation += entry[u"text"].toString();
    if (!translation.isEmpty())
        return {std::move(translation), {}, {}};
    return {{}, {}, GetPostByXmlHttp::OneLine(object[u"message"].toString())};
}

} // namespace DeepL
