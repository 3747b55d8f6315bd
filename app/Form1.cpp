#include "Form1.h"

using namespace Qt::StringLiterals;

Form1::Form1(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(u"Bremo.多国语言在线互译工具 V3.0"_s);
}
