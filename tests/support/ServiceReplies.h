#pragma once

#include <QByteArray>

namespace TestSupport {

// Reply bodies of the translation services, shaped as far as the engines rely on them.

// The Youdao web page: the translation is the content of the output textarea named "o".
inline QByteArray youdaoPage(const QByteArray &output)
{
    return "<html><body><textarea id=\"inputText\" name=\"i\">x</textarea>"
           "<textarea id=\"outputText\" name=\"o\">" +
           output + "</textarea></body></html>";
}

// A compact Google reply of the short road, one segment long.
inline QByteArray googleCompact(const QByteArray &translation)
{
    return "[[[\"" + translation + "\",\"source\",\"\",\"\"]],,\"zh-CN\"]";
}

// The Google web page of the long road: the translation is the value of the gtrans field.
inline QByteArray googlePage(const QByteArray &field)
{
    return "<form><input type=hidden name=gtrans value=\"" + field +
           "\"><div id=sug_exp></div></form>";
}

} // namespace TestSupport
