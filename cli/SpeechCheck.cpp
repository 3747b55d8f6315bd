#include "SpeechCheck.h"

#include "ClipWords.h"
#include "GoogleRules.h"
#include "MpegAudio.h"
#include "OfflineVoiceModule.h"
#include "YoudaoRules.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// "ok", or why the host gave no clip that the player would play.
QString AskForClip(const QString &url, const GetPostByXmlHttp::HttpOptions &options)
{
    QBuffer clip;
    clip.open(QIODevice::WriteOnly);
    const GetPostByXmlHttp::ExchangeEnd end =
        GetPostByXmlHttp::Exchange("GET", url, {}, {}, clip, options);
    if (const QString why = WhyNoClip(end); !why.isEmpty())
        return why;
    return WhyNotMpegAudio(clip.data()).isEmpty() ? u"ok"_s : QString::fromUtf16(NotPlayableWords);
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
