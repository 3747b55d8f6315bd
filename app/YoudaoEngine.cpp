#include "BoxText.h"
#include "Form1.h"
#include "HttpText.h"
#include "Voice.h"
#include "YoudaoRules.h"

#include <QPlainTextEdit>
#include <QPointer>

QString Form1::YoudaoTranslate()
{
    const QPointer<Form1> alive(this);
    const QString reply = GetPostByXmlHttp::HttpPostText(
        Youdao::RequestUrl(m_environment.endpoints.youdao),
        Youdao::RequestBody(BoxText(*m_sourceContent)), httpOptions());
    if (!alive)
        return {};
    const QString result = Youdao::ResultOfPage(reply);
    if (const auto speech = Youdao::SpeechUrl(m_environment.endpoints.youdaoVoice, result))
        m_voice->setURL(*speech);
    return result;
}
