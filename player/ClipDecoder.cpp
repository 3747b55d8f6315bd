#include "ClipDecoder.h"

#include "MpegAudio.h"
#include "WholeBuffer.h"

#include <gst/gst.h>

using namespace Qt::StringLiterals;

namespace {

// The caps are pcmFormat()'s; sync=false: decoded as fast as it comes, not in real time.
constexpr char Pipeline[] = "appsrc name=clip ! decodebin name=decode ! audioconvert"
                            " ! audioresample"
                            " ! audio/x-raw,format=S16LE,layout=interleaved,rate=22050,channels=1"
                            " ! appsink name=pcm sync=false";
constexpr int PollMs = 10;

// decodebin's answers to autoplug-select, whose enum no installed header declares.
enum AutoplugSelectResult
{
    AutoplugTry = 0,
    AutoplugSkip = 2,
};

// Whatever typefinding makes of a clip that passed the gate, only what the gate lets through
// is decoded: MPEG audio (mpegversion 1; AAC is audio/mpeg too, with 2 or 4), bare or behind ID3
// or APE tags. Anything else finds no decoder, and decodebin reports that as an error.
int OnlyMpegAudio(GstElement *, GstPad *, GstCaps *caps, GstElementFactory *, gpointer)
{
    const GstStructure *kind = gst_caps_get_structure(caps, 0);
    int mpegVersion = 0;
    if (gst_structure_has_name(kind, "audio/mpeg"))
        return gst_structure_get_int(kind, "mpegversion", &mpegVersion) && mpegVersion == 1
                   ? AutoplugTry
                   : AutoplugSkip;
    for (const char *tags : {"application/x-id3", "application/x-apetag"}) {
        if (gst_structure_has_name(kind, tags))
            return AutoplugTry;
    }
    return AutoplugSkip;
}

} // namespace

ClipDecoder::ClipDecoder(qint64 maxDurationMs, QObject *parent)
    : QObject(parent)
    , m_maxBytes(pcmFormat().bytesForDuration(maxDurationMs * 1000))
{
    gst_init(nullptr, nullptr);
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &ClipDecoder::poll);
}

ClipDecoder::~ClipDecoder()
{
    stop();
}

QAudioFormat ClipDecoder::pcmFormat()
{
    QAudioFormat format;
    format.setSampleRate(22050);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

void ClipDecoder::start(const QByteArray &encoded)
{
    stop();
    // A clip refused before any pipeline is told from the event loop too, by the next poll,
    // unless another clip or a stop comes first.
    QString refusal = WhyNotMpegAudio(encoded);
    GError *error = nullptr;
    if (refusal.isEmpty())
        m_pipeline = gst_parse_launch(Pipeline, &error);
    if (error) {
        refusal = u"cannot decode: "_s + QString::fromUtf8(error->message);
        g_error_free(error);
        stop();
    }
    if (!refusal.isEmpty()) {
        m_refusal = refusal;
        m_poll.start();
        return;
    }
    GstElement *decode = gst_bin_get_by_name(GST_BIN(m_pipeline), "decode");
    g_signal_connect(decode, "autoplug-select", G_CALLBACK(OnlyMpegAudio), nullptr);
    gst_object_unref(decode);
    m_sink = gst_bin_get_by_name(GST_BIN(m_pipeline), "pcm");
    m_budget.leftBytes = m_maxBytes;
    m_budget.exceeded = false;
    GstPad *pcmIn = gst_element_get_static_pad(m_sink, "sink");
    gst_pad_add_probe(
        pcmIn, GST_PAD_PROBE_TYPE_BUFFER,
        [](GstPad *, GstPadProbeInfo *info, gpointer data) {
            auto *budget = static_cast<Budget *>(data);
            budget->leftBytes -= qint64(gst_buffer_get_size(GST_PAD_PROBE_INFO_BUFFER(info)));
            if (budget->leftBytes >= 0)
                return GST_PAD_PROBE_OK;
            // Dropped until the next poll tears the pipeline down.
            budget->exceeded = true;
            return GST_PAD_PROBE_DROP;
        },
        &m_budget, nullptr);
    gst_object_unref(pcmIn);
    PushWholeBuffer(m_pipeline, "clip", encoded);
    gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    m_poll.start();
}

void ClipDecoder::stop()
{
    m_poll.stop();
    m_refusal.clear();
    m_pcm.clear();
    if (m_sink)
        gst_object_unref(m_sink);
    m_sink = nullptr;
    if (m_pipeline) {
        // Joins the pipeline's threads before it goes.
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_pipeline);
    }
    m_pipeline = nullptr;
}

void ClipDecoder::drainSamples()
{
    GstSample *sample = nullptr;
    while ((g_signal_emit_by_name(m_sink, "try-pull-sample", GstClockTime(0), &sample), sample)) {
        GstMapInfo map;
        GstBuffer *buffer = gst_sample_get_buffer(sample);
        if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            m_pcm.append(reinterpret_cast<const char *>(map.data), qsizetype(map.size));
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
}

void ClipDecoder::poll()
{
    if (!m_refusal.isEmpty()) {
        const QString reason = m_refusal;
        stop();
        Q_EMIT failed(reason);
        return;
    }
    // Taken as they come, so that appsink never holds more than a few of them.
    drainSamples();
    if (m_budget.exceeded) {
        stop();
        Q_EMIT failed(u"decoded audio over the cap"_s);
        return;
    }
    GstBus *bus = gst_element_get_bus(m_pipeline);
    GstMessage *message =
        gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    if (!message)
        return;
    const bool ended = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    gst_message_unref(message);
    if (ended)
        drainSamples();
    const QByteArray pcm = ended ? m_pcm : QByteArray();
    stop();
    // GStreamer's own error text can quote what it was given; fixed words instead.
    if (pcm.isEmpty())
        Q_EMIT failed(ended ? u"no sound in the audio"_s : u"not audio that can be decoded"_s);
    else
        Q_EMIT finished(pcm);
}
