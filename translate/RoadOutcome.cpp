#include "RoadOutcome.h"

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
           failure == Failure::NoTranslation;
}

QString RoadName(Road road)
{
    switch (road) {
    case Road::GoogleShort:
        return u"Google 短文本接口"_s;
    case Road::GoogleLong:
        return u"Google 网页表单"_s;
    case Road::Youdao:
        return u"有道网页翻译"_s;
    case Road::GoogleApi:
        return u"Google JSON 接口"_s;
    case Road::LibreTranslate:
        return u"LibreTranslate 服务器"_s;
    case Road::Apertium:
        return u"Apertium 离线引擎"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString RoadId(Road road)
{
    switch (road) {
    case Road::GoogleShort:
        return u"google"_s;
    case Road::GoogleLong:
        return u"google-long"_s;
    case Road::Youdao:
        return u"youdao"_s;
    case Road::GoogleApi:
        return u"google-api"_s;
    case Road::LibreTranslate:
        return u"libretranslate"_s;
    case Road::Apertium:
        return u"apertium"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString OutcomeWords(const RoadAttempt &attempt)
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
    }
    Q_UNREACHABLE();
    return {};
}

QString RoadsReport(const QList<RoadAttempt> &attempts)
{
    QStringList lines;
    for (const RoadAttempt &attempt : attempts)
        lines.append(RoadName(attempt.road) + u"："_s + OutcomeWords(attempt));
    return lines.join(u'\n');
}
