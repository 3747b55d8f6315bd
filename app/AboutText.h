#pragma once

#include <QStringView>

// The author's note that 程序说明 shows; it lives in the hidden label Label5.
constexpr QStringView AboutText =
    u"Bremo互译工具的2.0版本只能在英语和中文之间互相翻译。\r\n"
    u"这次更新，起初是应一位朋友的要求加入了中日互译，\r\n"
    u"后来索性又加入了更多国家的语言，现在57种语言之间都可以互译了。\r\n"
    u"日语部分目前还有以下三点限制：\r\n"
    u"1.日语译文暂时不能在线发音；\r\n"
    u"2.\"中国\"的中文名称不能翻译成日语；\r\n"
    u"3.中文同样不能在线发音。\r\n"
    u"祝大家使用愉快，学习进步，万事如意！\r\n";
