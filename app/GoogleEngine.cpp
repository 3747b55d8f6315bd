#include "BoxText.h"
#include "Form1.h"
#include "GoogleRules.h"
#include "HttpText.h"
#include "LanguageCatalogue.h"
#include "Voice.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPointer>

using namespace GetPostByXmlHttp;

QString Form1::GoogleTranslate()
{
    return Google::RoadFor(BoxText(*m_sourceContent)) == Google::Road::Short ? GoogleShortRoad()
                                                                             : GoogleLongRoad();
}

QString Form1::languageCode(int position) const
{
    // The lists are pick-only and always hold a selection, so a miss cannot happen here;
    // an empty code would at worst make the service answer with an error page.
    return CodeForPosition(m_languageCodes, position).value_or(QString());
}

QString Form1::GoogleShortRoad()
{
    const QString url = Google::ShortRoadUrl(
        m_environment.endpoints.google, BoxText(*m_sourceContent),
        languageCode(m_combo1->currentIndex()), languageCode(m_combo2->currentIndex()));
    const QPointer<Form1> alive(this);
    const QString reply = HttpGetText(url, httpOptions());
    if (!alive)
        return {};

    // The user may have changed the target list or the source box during the wait; what
    // counts is what they show now.
    const int targetPosition = m_combo2->currentIndex();
    const QString result = Google::ResultOfShortRoad(reply, targetPosition);
    const QString source = BoxText(*m_sourceContent);
    const QString previousResult = BoxText(*m_resultContent);
    if (const auto speech = Google::SpeechUrl(m_environment.endpoints.google,
                                              {result, previousResult, source, targetPosition}))
        m_voice->setURL(*speech);
    return result;
}

QString Form1::GoogleLongRoad()
{
    const QString body =
        Google::LongRoadBody(BoxText(*m_sourceContent), languageCode(m_combo1->currentIndex()),
                             languageCode(m_combo2->currentIndex()));
    const QPointer<Form1> alive(this);
    const QString reply =
        HttpPostText(Google::LongRoadUrl(m_environment.endpoints.google), body, httpOptions());
    if (!alive)
        return {};
    return Google::ResultOfLongRoad(reply, m_combo2->currentIndex());
}
