#include "SpeechCheck.h"

#include "Exchange.h"
#include "GoogleRules.h"
#include "MpegAudio.h"
#include "OfflineVoiceModule.h"
#include "RoadOutcome.h"
#include "YoudaoRules.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

Failure FailureOf(GetPostByXmlHttp::NetFailure failure)
{
    using GetPostByXmlHttp::NetFailure;
    switch (failure) {
    case NetFailure::Refused:
        return Failure::Refused;
    case NetFailure::HostNotFound:
        return Failure::HostNotFound;
    case NetFailure::TimedOut:
        return Failure::TimedOut;
    case NetFailure::Redirected:
        return Failure::Redirected;
    default:
        return Failure::Broken;
    }
}

// "ok", or why the host gave no clip that the player would play.
QString AskForClip(const QString &url, const GetPostByXmlHttp::HttpOptions &options)
{
    QBuffer clip;
    clip.open(QIODevice::WriteOnly);
    const GetPostByXmlHttp::ExchangeEnd end =
        GetPostByXmlHttp::Exchange("GET", url, {}, {}, clip, options);
    RoadAttempt attempt;
    if (!end.complete) {
        attempt.failure = FailureOf(end.failure);
    } else if (end.status >= 400) {
        attempt.failure = Failure::HttpStatus;
        attempt.code = end.status;
    } else {
        return WhyNotMpegAudio(clip.data()).isEmpty() ? u"ok"_s : u"不是可播放的音频"_s;
    }
    return OutcomeWords(attempt);
}

} // namespace

SpeechCheck::SpeechCheck(const Endpoints &endpoints, const GetPostByXmlHttp::HttpOptions &options)
{
    // "Hello", spoken as the window speaks a translation of 你好 into English.
    const QString google =
        Google::SpeechUrl(endpoints.google, {u"Hello", u"Hello", u"你好", 1}).value_or(QString());
    const QString youdao = Youdao::SpeechUrl(endpoints.youdaoVoice, u"Hello").value_or(QString());
    m_lines = {{u"google-voice"_s, QUrl(google).host(), {}, 0},
               {u"youdao-voice"_s, QUrl(youdao).host(), {}, 0},
               {u"espeak-ng"_s, u"cmn-latn-pinyin"_s, {}, 0}};
    const QString urls[] = {google, youdao};
    for (int i = 0; i < 3; ++i) {
        m_threads.emplace_back(
            QThread::create([this, i, url = i < 2 ? urls[i] : QString(), options] {
                QElapsedTimer clock;
                clock.start();
                if (i < 2) {
                    m_lines[i].outcome = AskForClip(url, options);
                } else {
                    QString words;
                    m_lines[i].outcome =
                        OfflineMp3(u"你好"_s, u"zh-CN"_s, words) ? u"ok"_s : std::move(words);
                }
                m_lines[i].milliseconds = clock.elapsed();
            }));
        m_threads.back()->start();
    }
}

void SpeechCheck::write(QTextStream &out)
{
    for (const auto &thread : m_threads)
        thread->wait();
    for (const Line &line : std::as_const(m_lines))
        out << qSetFieldWidth(15) << Qt::left << line.id << qSetFieldWidth(0) << ' '
            << qSetFieldWidth(30) << line.where << qSetFieldWidth(0) << ' ' << line.outcome << ' '
            << line.milliseconds << " ms\n";
}
