#include "MpegAudio.h"

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Frames that follow each other, each where the one before ends, as an encoder writes them:
// a few of them are no accident of the bytes. A clip shorter than that passes when it is whole
// frames to the end.
constexpr int FramesToTrust = 3;

struct Frame
{
    int version; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    int layer;   // 3: Layer I, 2: Layer II, 1: Layer III
    int sampleRateIndex;
    qsizetype length;
};

quint8 At(QByteArrayView bytes, qsizetype i)
{
    return quint8(bytes[i]);
}

// The frame whose header starts at bytes' beginning; none for a reserved value, a free bit rate
// (its length is not in the header) or another stream that shares the sync, such as ADTS.
std::optional<Frame> FrameAt(QByteArrayView bytes)
{
    if (bytes.size() < 4 || At(bytes, 0) != 0xFF || (At(bytes, 1) & 0xE0) != 0xE0)
        return std::nullopt;
    const int version = (At(bytes, 1) >> 3) & 3;
    const int layer = (At(bytes, 1) >> 1) & 3;
    const int bitRateIndex = At(bytes, 2) >> 4;
    const int sampleRateIndex = (At(bytes, 2) >> 2) & 3;
    const int padding = (At(bytes, 2) >> 1) & 1;
    if (version == 1 || layer == 0 || bitRateIndex == 0 || bitRateIndex == 15 ||
        sampleRateIndex == 3)
        return std::nullopt;
    // kbit/s by bit-rate index; MPEG-2 and 2.5 share theirs.
    static constexpr std::array<std::array<int, 15>, 5> BitRates{{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // 1, Layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // 1, Layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // 1, Layer III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // 2, Layer I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // 2, Layer II, III
    }};
    static constexpr std::array<int, 3> Mpeg1SampleRates{44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const int table = mpeg1 ? 3 - layer : (layer == 3 ? 3 : 4);
    const qint64 bitRate = qint64(BitRates[table][bitRateIndex]) * 1000;
    // MPEG-2 halves MPEG-1's rates, MPEG-2.5 halves them again.
    const int sampleRate = Mpeg1SampleRates[sampleRateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    qsizetype length = 0;
    if (layer == 3)
        length = (12 * bitRate / sampleRate + padding) * 4;
    else if (layer == 1 && !mpeg1)
        length = 72 * bitRate / sampleRate + padding;
    else
        length = 144 * bitRate / sampleRate + padding;
    return Frame{version, layer, sampleRateIndex, length};
}

// The bytes of the tag at bytes' beginning, ID3v2 or APE; zero when none starts there.
qsizetype TagLength(QByteArrayView bytes)
{
    if (bytes.size() >= 10 && bytes.startsWith("ID3") && At(bytes, 3) != 0xFF &&
        At(bytes, 4) != 0xFF) {
        qsizetype size = 0;
        for (qsizetype i = 6; i < 10; ++i) {
            if (At(bytes, i) & 0x80)
                return 0; // not the seven bits a byte that the tag's size takes
            size = size << 7 | At(bytes, i);
        }
        const bool footer = At(bytes, 5) & 0x10;
        return 10 + size + (footer ? 10 : 0);
    }
    if (bytes.size() >= 32 && bytes.startsWith("APETAGEX")) {
        // The items and the footer; the header of 32 bytes comes on top.
        const qsizetype size = qsizetype(At(bytes, 12)) | qsizetype(At(bytes, 13)) << 8 |
                               qsizetype(At(bytes, 14)) << 16 | qsizetype(At(bytes, 15)) << 24;
        return 32 + size;
    }
    return 0;
}

} // namespace

QString WhyNotMpegAudio(QByteArrayView clip)
{
    if (clip.isEmpty())
        return u"empty body"_s;
    for (qsizetype tag = TagLength(clip); tag > 0 && tag <= clip.size(); tag = TagLength(clip))
        clip = clip.sliced(tag);
    const std::optional<Frame> first = FrameAt(clip);
    int frames = 0;
    for (std::optional<Frame> frame = first; frame && frame->length <= clip.size();
         frame = FrameAt(clip)) {
        if (frame->version != first->version || frame->layer != first->layer ||
            frame->sampleRateIndex != first->sampleRateIndex)
            break;
        clip = clip.sliced(frame->length);
        if (++frames == FramesToTrust || clip.isEmpty())
            return {};
    }
    return u"not MP3 audio"_s;
}
