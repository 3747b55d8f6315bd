#include "Mp3Encoding.h"

#include "VoiceLog.h"
#include "WholeBuffer.h"

#include <QEventLoop>
#include <QTimer>

#include <gst/gst.h>

#include <atomic>

namespace {

// 48 kbit/s: more than the speech hosts send (32), far less than the WAV (353). The fast engine
// takes about a third of the standard one's time (bench_voice). sync=false: encoded as fast as
// it comes, not in real time.
constexpr char Pipeline[] = "appsrc name=wav ! wavparse ! audioconvert ! audioresample"
                            " ! lamemp3enc target=bitrate cbr=true bitrate=48"
                            " encoding-engine-quality=fast"
                            " ! fakesink name=mp3 sync=false";

// Shared with the pipeline's threads until it is set to NULL, which joins them.
struct Encoding
{
    QEventLoop loop;
    QByteArray mp3;
    qsizetype leftBytes = 0;
    std::atomic_bool over = false;
    std::atomic_bool ended = false; // end of stream
    std::atomic_bool failed = false;

    void finish() { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); }
};

GstBusSyncReply OnMessage(GstBus *, GstMessage *message, gpointer data)
{
    auto *encoding = static_cast<Encoding *>(data);
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS)
        encoding->ended = true;
    else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        encoding->failed = true;
    else
        return GST_BUS_DROP;
    encoding->finish();
    return GST_BUS_DROP;
}

GstPadProbeReturn TakeMp3(GstPad *, GstPadProbeInfo *info, gpointer data)
{
    auto *encoding = static_cast<Encoding *>(data);
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    encoding->leftBytes -= qsizetype(gst_buffer_get_size(buffer));
    if (encoding->leftBytes < 0) {
        if (!encoding->over.exchange(true))
            encoding->finish();
        return GST_PAD_PROBE_DROP;
    }
    GstMapInfo map;
    if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        encoding->mp3.append(reinterpret_cast<const char *>(map.data), qsizetype(map.size));
        gst_buffer_unmap(buffer, &map);
    }
    return GST_PAD_PROBE_OK;
}

} // namespace

std::optional<QByteArray> Mp3OfWav(const QByteArray &wav, std::chrono::milliseconds timeout)
{
    // GStreamer makes no buffer of nothing.
    if (wav.isEmpty()) {
        qCWarning(lcVoice, "no MP3: not a WAV that can be read");
        return std::nullopt;
    }
    gst_init(nullptr, nullptr);
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(Pipeline, &error);
    if (error) {
        qCWarning(lcVoice, "no MP3 encoder: %s", error->message);
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return std::nullopt;
    }
    Encoding encoding;
    encoding.leftBytes = wav.size();
    GstBus *bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, OnMessage, &encoding, nullptr);
    GstElement *sink = gst_bin_get_by_name(GST_BIN(pipeline), "mp3");
    GstPad *mp3In = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(mp3In, GST_PAD_PROBE_TYPE_BUFFER, TakeMp3, &encoding, nullptr);
    gst_object_unref(mp3In);
    gst_object_unref(sink);

    PushWholeBuffer(pipeline, "wav", wav);

    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &encoding.loop, &QEventLoop::quit);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    timer.start(timeout);
    // The end may have come before the loop runs: its quit waits in the queue.
    encoding.loop.exec();
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(pipeline);

    const char *reason = encoding.over            ? "the MP3 outgrew the WAV"
                         : encoding.failed        ? "not a WAV that can be read"
                         : !encoding.ended        ? "timed out"
                         : encoding.mp3.isEmpty() ? "no sound in the WAV"
                                                  : nullptr;
    if (reason) {
        qCWarning(lcVoice, "no MP3: %s", reason);
        return std::nullopt;
    }
    return encoding.mp3;
}
