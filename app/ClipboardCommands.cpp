#include "BoxText.h"
#include "Form1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

void Form1::Command5_Click()
{
    // Plain text only: a picture alone on the clipboard reads as nothing to paste.
    const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    if (text.isEmpty()) {
        setStatus(u"剪贴板为空!请您先复制原文在进行粘贴..."_s);
        return;
    }
    m_sourceContent->setPlainText(text);
    setStatus(u"已粘贴原文到指定翻译框中..."_s);
}

void Form1::Command6_Click()
{
    const QString text = BoxText(*m_resultContent);
    if (text.isEmpty()) {
        setStatus(u"请先在线互译,在在进行译文复制操作..."_s);
        return;
    }
    // Emptied first, so that no richer form of what was there before outlives the copy.
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear(QClipboard::Clipboard);
    clipboard->setText(text, QClipboard::Clipboard);
    setStatus(u"译文已复制成功!"_s);
}
