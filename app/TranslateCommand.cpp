#include "BoxText.h"
#include "Form1.h"
#include "ResultCap.h"
#include "RoadOutcome.h"
#include "ServiceStore.h"
#include "Speech.h"
#include "Voice.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

void Form1::Command1_Click()
{
    if (BoxText(*m_sourceContent).isEmpty()) {
        setStatus(u"请您先输入原文再进行翻译"_s);
        return;
    }
    // The roads wait with the window's events flowing; the button keeps a second
    // translation from starting inside this one, and the window may be gone afterwards.
    const QPointer<Form1> alive(this);
    m_command1->setEnabled(false);
    const Engine engine = m_option1->isChecked() ? Engine::Youdao : Engine::Google;
    // The keyring is waited for with the events flowing too.
    const RoadsSetup setup = roadsSetup();
    if (!alive)
        return;
    const Translation translation = TranslateByRoads(
        {BoxText(*m_sourceContent), engine, m_combo1->currentIndex(), m_combo2->currentIndex(),
         [this] {
             return m_combo2->currentIndex();
         }},
        setup);
    if (!alive)
        return;

    // The speech rule looks at the boxes and the target list as they are now, the result box
    // still holding the previous translation.
    const QString source = BoxText(*m_sourceContent);
    const QString previousResult = BoxText(*m_resultContent);
    const std::optional<SpeechPlan> speech =
        SpeechPlanOf(translation, engine, m_environment.endpoints,
                     {previousResult, source, m_combo2->currentIndex()}, setup.services.voice);
    if (speech)
        m_voice->setSpeech(
            {speech->url.value_or(QString()), speech->host, speech->text, speech->languageCode});
    m_resultContent->setPlainText(translation.text);
    if (translation.sourceTooLong)
        setStatus(u"原文过长（超过 "_s + QString::number(MaxResultLength) +
                  u" 个字符），无法翻译"_s);
    else if (BoxText(*m_resultContent).isEmpty())
        setStatus(u"请检查您的网络连接是否有问题..."_s);
    else if (translation.road == Road::Apertium)
        setStatus(u"离线翻译成功(Apertium)"_s);
    else
        setStatus(u"在线翻译成功!因官方限制,日语不可发音,其他如需发音,请再次点击翻译.."_s);
    // The speech roads follow the translation roads as the clip player learns how they went;
    // a clip of an earlier translation no longer reports here.
    const QString roads = RoadsReport(translation.attempts);
    m_statusLine->setToolTip(roads);
    disconnect(m_voice, &Voice::spoken, this, nullptr);
    if (speech)
        connect(m_voice, &Voice::spoken, this, [this, roads](const QStringList &report) {
            m_statusLine->setToolTip((QStringList{roads} + report).join(u'\n'));
        });
    m_command1->setEnabled(true);
    translateWaitingText();
}

RoadsSetup Form1::roadsSetup()
{
    RoadsSetup setup;
    setup.endpoints = m_environment.endpoints;
    setup.http = httpOptions();
    // Read at each translation, so that what the dialog saved (keys, the voice) is used at once.
    setup.services = ServicesForRun(ServiceStore(), QProcessEnvironment::systemEnvironment());
    return setup;
}
