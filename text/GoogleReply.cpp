#include "GoogleReply.h"

#include "TextHelpers.h"

#include <cstring>

namespace GetPostByXmlHttp {
namespace {

constexpr int EnglishPosition = 1;

// Replaces every occurrence of `from`, left to right without overlap, by the no longer `to`,
// in one pass inside the text's own buffer: the part written never overtakes the part still
// to be searched. Qt 6.4's QString::replace moves the whole tail once per occurrence when
// the replacement is shorter, which turns a long reply into quadratic work.
void replaceInPlace(QString &text, QStringView from, QStringView to)
{
    Q_ASSERT(to.size() <= from.size());
    char16_t *const data = reinterpret_cast<char16_t *>(text.data());
    const QStringView unread(data, text.size());
    qsizetype read = 0;
    qsizetype written = 0;
    auto keep = [&](const char16_t *source, qsizetype count) {
        if (count == 0)
            return; // an empty replacement has no buffer at all
        std::memmove(data + written, source, std::size_t(count) * sizeof(char16_t));
        written += count;
    };
    for (qsizetype at = unread.indexOf(from); at >= 0; at = unread.indexOf(from, read)) {
        keep(data + read, at - read);
        keep(to.utf16(), to.size());
        read = at + from.size();
    }
    keep(data + read, unread.size() - read);
    text.resize(written);
}

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
    replaceInPlace(s, u"]],", u"\r\n");
    replaceInPlace(s, u",[", u":");
    s.remove(u'[');
    s.remove(u'"');
    return s;
}

QString renderPageText(QStringView text)
{
    // A replacement yields a bare quote mark, which can never complete a new "&amp;quot;",
    // so one pass leaves none.
    QString s = text.toString();
    replaceInPlace(s, u"&amp;quot;", u"\"");
    replaceInPlace(s, u"&lt;", {});
    replaceInPlace(s, u"br&gt;", {});
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
