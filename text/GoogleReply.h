#pragma once

#include <QString>
#include <QStringView>

namespace GetPostByXmlHttp {

// Turns what the Google engine brought back into the text for the result box.
// mode "GET" (exactly; case counts) reads a compact reply: the dictionary part when the reply
// has one, else the first segment, with a full stop when the target list sits at position 1.
// Any other mode undoes the escapes of the web page's gtrans field.
// targetPosition is the target list's selection at the moment of parsing.
QString ParseGoogleReply(QStringView reply, QStringView mode, int targetPosition);

} // namespace GetPostByXmlHttp
