#include "GetPostByXmlHttp.h"
#include "Require.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace Qt::StringLiterals;
using GetPostByXmlHttp::ParseGoogleReply;

namespace {

constexpr int EnglishPosition = 1;

void checkCompactReply(const QString &reply, int targetPosition)
{
    const QString result = ParseGoogleReply(reply, u"GET", targetPosition);
    Require(!result.contains(u'['), "no '[' left in a compact rendering");
    Require(!result.contains(u'"'), "no quote mark left in a compact rendering");
    Require(result.size() <= reply.size() + 1, "never longer than the reply and a full stop");

    const bool hasDictionary = reply.contains(u"]]]");
    if (!hasDictionary && !reply.contains(u"[[[\""))
        Require(result.isEmpty(), "empty without the markers of either rendering");

    // Only the English target changes anything, and only the first-segment rendering.
    const QString atOther = ParseGoogleReply(reply, u"GET", EnglishPosition + 1);
    if (targetPosition != EnglishPosition || hasDictionary) {
        Require(result == atOther, "the target matters only for English");
        return;
    }
    const bool hasSegment = !GetPostByXmlHttp::TextBetween(reply, u"[[[\"", u"\",").isEmpty();
    Require(result == (hasSegment ? atOther + u'.' : atOther),
            "English gets one full stop after a non-empty segment");
}

void checkPageText(const QString &reply, QStringView mode, int targetPosition)
{
    const QString result = ParseGoogleReply(reply, mode, targetPosition);
    Require(result.size() <= reply.size(), "unescaping never lengthens");
    Require(result == ParseGoogleReply(reply, u"POST", 0),
            "every mode but GET is the page-text rendering, at any target");
    if (!reply.contains(u'&'))
        Require(result == reply, "text without '&' passes unchanged");
}

} // namespace

// Layout of an input: one byte picks the mode, four bytes give the target position, and
// the rest is the reply as UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::array modes = {u"GET"_s, u"POST"_s, u"get"_s, u"GET "_s, QString()};
    if (size < 5)
        return 0;
    const QString &mode = modes[data[0] % modes.size()];
    int32_t targetPosition = 0;
    std::memcpy(&targetPosition, data + 1, sizeof targetPosition);
    const QString reply =
        QString::fromUtf8(reinterpret_cast<const char *>(data) + 5, qsizetype(size - 5));

    if (mode == u"GET")
        checkCompactReply(reply, targetPosition);
    else
        checkPageText(reply, mode, targetPosition);
    return 0;
}
