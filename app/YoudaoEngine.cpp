#include "BoxText.h"
#include "Form1.h"
#include "GetPostByXmlHttp.h"
#include "Voice.h"

#include <QPlainTextEdit>
#include <QPointer>

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

QString Form1::YoudaoTranslate()
{
    // Youdao detects both languages itself: the request names none.
    const QString body = u"i="_s + UrlEncodeUtf8(BoxText(*m_sourceContent)) +
                         u"&type=AUTO&action=%E7%BF%BB%E8%AF%91&ue=UTF-8&keyfrom=fanyi.web"
                         u"&smartresult=dict&smartresult=rule"_s;
    const QPointer<Form1> alive(this);
    const QString reply =
        HttpPostText(m_environment.endpoints.youdao + u"/translate"_s, body, httpOptions());
    if (!alive)
        return {};

    QString result = TextBetween(reply, u"name=\"o\">", u"</textarea>");
    result.replace(u"&#10;"_s, u"\r\n"_s);
    result.remove(u',');
    if (!result.isEmpty()) {
        // Encoded whole, so that "&", "#", "%", "+" or a line break in the result cannot
        // break the query or add parameters to it.
        m_voice->setURL(m_environment.endpoints.youdaoVoice + u"/fanyivoice?word="_s +
                        UrlEncodeUtf8(result));
    }
    return result;
}
