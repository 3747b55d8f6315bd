#include "BoxText.h"
#include "Form1.h"

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
    // The engine waits with the window's events flowing; the button keeps a second
    // translation from starting inside this one, and the window may be gone afterwards.
    const QPointer<Form1> alive(this);
    m_command1->setEnabled(false);
    const QString translation = m_option1->isChecked() ? YoudaoTranslate() : GoogleTranslate();
    if (!alive)
        return;
    m_resultContent->setPlainText(translation);
    setStatus(BoxText(*m_resultContent).isEmpty()
                  ? u"请检查您的网络连接是否有问题..."_s
                  : u"在线翻译成功!因官方限制,日语不可发音,其他如需发音,请再次点击翻译.."_s);
    m_command1->setEnabled(true);
    translateWaitingText();
}
