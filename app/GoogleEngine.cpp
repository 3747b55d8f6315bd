#include "BoxText.h"
#include "Form1.h"
#include "GetPostByXmlHttp.h"
#include "LanguageCatalogue.h"
#include "Voice.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPointer>

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype ShortTextLimit = 220;    // shorter texts go by GET
constexpr qsizetype PronunciationLimit = 34; // shorter sources may be spoken
constexpr int JapanesePosition = 35;         // the speech service refuses Japanese

} // namespace

QString Form1::GoogleTranslate()
{
    return BoxText(*m_sourceContent).size() < ShortTextLimit ? GoogleShortRoad() : GoogleLongRoad();
}

QString Form1::languageCode(int position) const
{
    // The lists are pick-only and always hold a selection, so a miss cannot happen here;
    // an empty code would at worst make the service answer with an error page.
    return CodeForPosition(m_languageCodes, position).value_or(QString());
}

QString Form1::GoogleShortRoad()
{
    const QString sourceCode = languageCode(m_combo1->currentIndex());
    const QString targetCode = languageCode(m_combo2->currentIndex());
    const QString url = m_environment.endpoints.google + u"/translate_a/t?client=t&text="_s +
                        UrlEncodeUtf8(BoxText(*m_sourceContent)) + u"&hl=zh-CN&sl="_s + sourceCode +
                        u"&tl="_s + targetCode + u"&pc=0&prev=btn"_s;
    const QPointer<Form1> alive(this);
    const QString reply = HttpGetText(url, httpOptions());
    if (!alive)
        return {};

    // The user may have changed the target list or the source box during the wait; what
    // counts is what they show now.
    const int targetPosition = m_combo2->currentIndex();
    const QString result = ParseGoogleReply(reply, u"GET", targetPosition);
    // The result box still holds the previous translation: the first translation after
    // start-up or after a failure is never spoken. A failed one never drops good audio.
    if (!result.isEmpty() && !BoxText(*m_resultContent).isEmpty() &&
        BoxText(*m_sourceContent).size() < PronunciationLimit &&
        targetPosition != JapanesePosition) {
        m_voice->setURL(m_environment.endpoints.google + u"/translate_tts?q="_s +
                        UrlEncodeUtf8(result) + u"&tl=en"_s);
    }
    return result;
}

QString Form1::GoogleLongRoad()
{
    const QString sourceCode = languageCode(m_combo1->currentIndex());
    const QString targetCode = languageCode(m_combo2->currentIndex());
    const QString body = u"js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=1&text="_s +
                         UrlEncodeUtf8(BoxText(*m_sourceContent)) + u"&file=&sl="_s + sourceCode +
                         u"&tl="_s + targetCode;
    const QPointer<Form1> alive(this);
    const QString reply =
        HttpPostText(m_environment.endpoints.google + u"/"_s, body, httpOptions());
    if (!alive)
        return {};
    const QString field = TextBetween(reply, u"name=gtrans value=\"", u"\"><div id=sug_exp>");
    return ParseGoogleReply(field, u"POST", m_combo2->currentIndex());
}
