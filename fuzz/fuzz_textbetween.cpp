#include "GetPostByXmlHttp.h"
#include "Require.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

// A plain scan, independent of QStringView::indexOf, to hold the helper's answer against.
qsizetype naiveFind(QStringView text, QStringView needle, qsizetype from)
{
    for (qsizetype i = from; i + needle.size() <= text.size(); ++i) {
        if (text.sliced(i, needle.size()) == needle)
            return i;
    }
    return -1;
}

} // namespace

// Layout of an input: one byte for the start marker's length, one for the end marker's,
// then the two markers and the text. Bytes map one-to-one to code units (Latin-1) so that
// short markers turn up in the text often enough to exercise every branch.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QString all =
        QString::fromLatin1(reinterpret_cast<const char *>(data) + 2, qsizetype(size - 2));
    const qsizetype startLength = qMin<qsizetype>(data[0] % 8, all.size());
    const qsizetype endLength = qMin<qsizetype>(data[1] % 8, all.size() - startLength);
    const QStringView startMarker = QStringView(all).first(startLength);
    const QStringView endMarker = QStringView(all).sliced(startLength, endLength);
    const QStringView text = QStringView(all).sliced(startLength + endLength);

    const QString result = GetPostByXmlHttp::TextBetween(text, startMarker, endMarker);

    const qsizetype startAt = naiveFind(text, startMarker, 0);
    const qsizetype contentStart = startAt + startMarker.size();
    const qsizetype endAt = startAt < 0 ? -1 : naiveFind(text, endMarker, contentStart);
    if (endAt < 0) {
        Require(result.isEmpty(), "empty when a marker is missing");
        return 0;
    }
    Require(result == text.sliced(contentStart, endAt - contentStart),
            "the text between the first start marker and the next end marker");
    Require(!endMarker.isEmpty() || result.isEmpty(), "an empty end marker ends at once");
    if (!endMarker.isEmpty())
        Require(!result.contains(endMarker), "the result holds no end marker");
    Require(text.sliced(contentStart + result.size()).startsWith(endMarker),
            "an end marker follows the result");
    return 0;
}
