#include "RoadOutcome.h"

#include "KeyedRoad.h"
#include "ResultCap.h"

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

QString StatusMeaning(int status)
{
    switch (status) {
    case 403:
        return u"拒绝访问"_s;
    case 404:
        return u"页面不存在"_s;
    case 429:
        return u"请求过于频繁"_s;
    default:
        return status >= 500 ? u"服务器出错"_s : QString();
    }
}

} // namespace

bool IsAnswered(Failure failure)
{
    return failure == Failure::HttpStatus || failure == Failure::Redirected ||
           failure == Failure::NoTranslation || failure == Failure::TooLong;
}

namespace {

struct RoadNames
{
    Road road;
    QStringView id;   // on the command line
    QStringView name; // in the window
};

constexpr RoadNames Names[] = {
    {Road::GoogleShort, u"google", u"Google 短文本接口"},
    {Road::GoogleLong, u"google-long", u"Google 网页表单"},
    {Road::Youdao, u"youdao", u"有道网页翻译"},
    {Road::GoogleApi, u"google-api", u"Google JSON 接口"},
    {Road::LibreTranslate, u"libretranslate", u"LibreTranslate 服务器"},
    {Road::Apertium, u"apertium", u"Apertium 离线引擎"},
    {Road::DeepL, u"deepl", u"DeepL 接口"},
    {Road::GoogleCloud, u"google-cloud", u"Google Cloud 翻译接口"},
    {Road::Baidu, u"baidu", u"百度通用翻译接口"},
    {Road::YoudaoApi, u"youdao-api", u"有道智云接口"},
};

const RoadNames &NamesOf(Road road)
{
    return *std::find_if(std::begin(Names), std::end(Names),
                         [road](const RoadNames &names) { return names.road == road; });
}

} // namespace

QString RoadName(Road road)
{
    return NamesOf(road).name.toString();
}

QString RoadId(Road road)
{
    return NamesOf(road).id.toString();
}

namespace {

QString KindWords(const RoadAttempt &attempt)
{
    switch (attempt.failure) {
    case Failure::None:
        return u"成功"_s;
    case Failure::HttpStatus: {
        const QString meaning = StatusMeaning(attempt.code);
        return u"HTTP "_s + QString::number(attempt.code) +
               (meaning.isEmpty() ? QString() : u"（"_s + meaning + u"）"_s);
    }
    case Failure::Redirected:
        return u"被重定向到其他页面"_s;
    case Failure::NoTranslation:
        return u"回复中没有译文"_s;
    case Failure::Refused:
        return u"连接被拒绝"_s;
    case Failure::HostNotFound:
        return u"找不到主机"_s;
    case Failure::TimedOut:
        return u"超时"_s;
    case Failure::Broken:
        return u"连接中断或回复不完整"_s;
    case Failure::NotInstalled:
        return u"未安装这两种语言之间的翻译"_s;
    case Failure::EngineFailed:
        return u"运行出错（退出码 "_s + QString::number(attempt.code) + u"）"_s;
    case Failure::TooLong:
        return u"译文过长（超过 "_s + QString::number(MaxResultLength) + u" 个字符）"_s;
    case Failure::Unsupported:
        return UnsupportedLanguage.toString();
    case Failure::ServiceRefused:
        return u"服务拒绝"_s;
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace

QString OutcomeWords(const RoadAttempt &attempt)
{
    const QString words = KindWords(attempt);
    return attempt.detail.isEmpty() ? words : words + u"“"_s + attempt.detail + u"”"_s;
}

QString RoadsReport(const QList<RoadAttempt> &attempts)
{
    QStringList lines;
    for (const RoadAttempt &attempt : attempts)
        lines.append(RoadName(attempt.road) + u"："_s + OutcomeWords(attempt));
    return lines.join(u'\n');
}
