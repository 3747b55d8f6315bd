#include "MpegAudio.h"
#include "Require.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

// Any bytes a speech host may send: the gate reads only inside them, answers in its fixed
// words, and an empty ID3v2 tag in front of them changes nothing, as tags are skipped.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray clip(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString verdict = WhyNotMpegAudio(clip);
    Require(verdict.isEmpty() || verdict == u"empty body"_s || verdict == u"not MP3 audio"_s,
            "the gate answers in its fixed words");
    if (!clip.isEmpty()) {
        const QByteArray tagged = QByteArray("ID3\x04\x00\x00\x00\x00\x00\x00", 10) + clip;
        Require(WhyNotMpegAudio(tagged) == verdict, "an empty tag in front changes nothing");
    }
    return 0;
}
