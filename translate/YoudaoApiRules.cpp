#include "YoudaoApiRules.h"

#include "TextHelpers.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace YoudaoApi {

namespace {

constexpr QStringView Codes =
    u"auto zh-CN=zh-CHS en sq ar az ga et be bg is pl fa af da de ru fr tl fi ka ht ko nl gl ca "
    u"cs hr lv lt ro mt ms mk no pt ja sv sr=sr-Cyrl sk sl sw th tr cy uk eu es iw=he el hu hy "
    u"it yi hi ur id vi";

// Youdao's refusals carry a code alone; these are its table's words for the ones a user
// can mend.
constexpr std::pair<QStringView, QStringView> Meanings[] = {
    {u"102", u"不支持的语言类型"}, {u"108", u"应用ID无效"},   {u"202", u"签名检验失败"},
    {u"401", u"账户已经欠费"},     {u"411", u"访问频率受限"},
};

QString signInput(QStringView text)
{
    const QList<uint> points = text.toUcs4();
    if (points.size() <= 20)
        return text.toString();
    const auto part = [&points](qsizetype from) {
        return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData()) + from, 10);
    };
    return part(0) + QString::number(points.size()) + part(points.size() - 10);
}

} // namespace

QString Sign(QStringView appKey, QStringView text, QStringView salt, qint64 curtime,
             QStringView secret)
{
    const QByteArray signed_ =
        (appKey + signInput(text) + salt + QString::number(curtime) + secret).toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(signed_, QCryptographicHash::Sha256).toHex());
}

std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, const ApiKey &key, QStringView salt,
                                       qint64 curtime)
{
    const std::optional<QString> from = CodeIn(Codes, query.sourceCode);
    const std::optional<QString> to = CodeIn(Codes, query.targetCode);
    if (!from || !to)
        return std::nullopt;
    return KeyedRequest{
        query.host + u"/api"_s,
        {{"Content-Type", "application/x-www-form-urlencoded"}},
        FormBody({{"q", query.text},
                  {"from", *from},
                  {"to", *to},
                  {"appKey", key.id},
                  {"salt", salt.toString()},
                  {"sign", Sign(key.id, query.text, salt, curtime, key.secret)},
                  {"signType", u"v3"_s},
                  {"curtime", QString::number(curtime)}}),
    };
}

KeyedReply ReadReply(QStringView reply)
{
    const QJsonObject object = QJsonDocument::fromJson(reply.toUtf8()).object();
    const QString code = object[u"errorCode"].toString();
    if (code == u"0") {
        QStringList lines;
        for (const QJsonValue line : object[u"translation"].toArray())
            lines << line.toString();
        return {lines.join(u"\r\n"_s), {}, {}};
    }
    for (const auto &[known, meaning] : Meanings) {
        if (code == known)
            return {{}, code, meaning.toString()};
    }
    return {{}, code, {}};
}

} // namespace YoudaoApi
