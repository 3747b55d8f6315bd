#include "BaiduRules.h"

#include "TextHelpers.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace Baidu {

namespace {

// Baidu names most languages by codes of its own.
constexpr QStringView Codes =
    u"auto zh-CN=zh en sq=alb ar=ara az=aze ga=gle et=est be=bel bg=bul is=ice pl fa=per "
    u"af=afr da=dan de ru fr=fra tl=fil fi=fin ka=geo ht ko=kor nl gl=glg ca=cat cs hr=hrv "
    u"lv=lav lt=lit ro=rom mt=mlt ms=may mk=mac no=nor pt ja=jp sv=swe sr=srp sk sl=slo sw=swa "
    u"th tr cy=wel uk=ukr eu=baq es=spa iw=heb el hu hy=arm it yi=yid hi ur=urd id vi=vie";

// Success sometimes comes with this code rather than none.
constexpr QStringView Success = u"52000";

} // namespace

QString Sign(QStringView appId, QStringView text, QStringView salt, QStringView secret)
{
    const QByteArray signed_ = (appId + text + salt + secret).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(signed_, QCryptographicHash::Md5).toHex());
}

std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, const ApiKey &key, QStringView salt)
{
    const std::optional<QString> from = CodeIn(Codes, query.sourceCode);
    const std::optional<QString> to = CodeIn(Codes, query.targetCode);
    if (!from || !to || *to == u"auto")
        return std::nullopt;
    return KeyedRequest{
        query.host + u"/api/trans/vip/translate"_s,
        {{"Content-Type", "application/x-www-form-urlencoded"}},
        FormBody({{"q", query.text},
                  {"from", *from},
                  {"to", *to},
                  {"appid", key.id},
                  {"salt", salt.toString()},
                  {"sign", Sign(key.id, query.text, salt, key.secret)}}),
    };
}

KeyedReply ReadReply(QStringView reply)
{
    const QJsonObject object = QJsonDocument::fromJson(reply.toUtf8()).object();
    const QJsonValue code = object[u"error_code"];
    // Documented as a string, seen as a number.
    const QString codeText = code.isDouble() ? QString::number(code.toInt()) : code.toString();
    if (!codeText.isEmpty() && codeText != Success)
        return {{}, codeText, GetPostByXmlHttp::OneLine(object[u"error_msg"].toString())};
    QStringList lines;
    for (const QJsonValue entry : object[u"trans_result"].toArray())
        lines << entry[u"dst"].toString();
    return {lines.join(u"\r\n"_s), {}, {}};
}

} // namespace Baidu
