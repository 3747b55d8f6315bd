#include "BoxText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

using namespace Qt::StringLiterals;

QString BoxText(const QPlainTextEdit &box)
{
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u"\r\n"_s);
    return text;
}
