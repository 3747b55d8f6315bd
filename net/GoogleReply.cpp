#include "GoogleReply.h"

#include "TextHelpers.h"

using namespace Qt::StringLiterals;

namespace GetPostByXmlHttp {
namespace {

constexpr int EnglishPosition = 1;

QString renderCompactReply(QStringView reply, int targetPosition)
{
    QString s;
    if (reply.contains(u"]]]")) {
        s = TextBetween(reply, u"]],[[", u"]]]");
    } else {
        s = TextBetween(reply, u"[[[\"", u"\",");
        if (targetPosition == EnglishPosition && !s.isEmpty())
            s += u'.';
    }
    // The order matters: "]]," must become a line break before ",[" and "[" are consumed.
    s.replace(u"]],"_s, u"\r\n"_s);
    s.replace(u",["_s, u":"_s);
    s.remove(u'[');
    s.remove(u'"');
    return s;
}

QString renderPageText(QStringView text)
{
    QString s = text.toString();
    // A replacement yields a bare quote mark, which can never complete a new "&amp;quot;",
    // so one pass leaves none.
    s.replace(u"&amp;quot;"_s, u"\""_s);
    s.remove(u"&lt;"_s);
    s.remove(u"br&gt;"_s);
    return s;
}

} // namespace

QString ParseGoogleReply(QStringView reply, QStringView mode, int targetPosition)
{
    if (mode == u"GET")
        return renderCompactReply(reply, targetPosition);
    return renderPageText(reply);
}

} // namespace GetPostByXmlHttp
