#include "ClipOutput.h"

#include "ClipDecoder.h"

#include <QCoreApplication>

#include <gst/gst.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char Pipeline[] =
    "appsrc name=clip format=time ! audioconvert ! audioresample ! volume name=gain"
    " ! pulsesink name=out";

GstElement *Child(GstElement *pipeline, const char *name)
{
    return gst_bin_get_by_name(GST_BIN(pipeline), name);
}

} // namespace

std::unique_ptr<ClipOutput> ClipOutput::start(const QByteArray &pcm, qsizetype from, double volume)
{
    gst_init(nullptr, nullptr);
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(Pipeline, &error);
    if (error) {
        // Without pulsesink there is no sound server to play to.
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return nullptr;
    }
    std::unique_ptr<ClipOutput> output(new ClipOutput(pipeline));
    output->setVolume(volume);

    GstElement *sink = Child(pipeline, "out");
    const QByteArray client = QCoreApplication::applicationName().toUtf8();
    g_object_set(sink, "client-name", client.constData(), nullptr);
    gst_object_unref(sink);

    const QAudioFormat format = ClipDecoder::pcmFormat();
    GstCaps *caps =
        gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout",
                            G_TYPE_STRING, "interleaved", "rate", G_TYPE_INT, format.sampleRate(),
                            "channels", G_TYPE_INT, format.channelCount(), nullptr);
    GstElement *source = Child(pipeline, "clip");
    g_object_set(source, "caps", caps, nullptr);
    gst_caps_unref(caps);
    const qsizetype bytes = std::max<qsizetype>(0, pcm.size() - from);
    GstBuffer *buffer = gst_buffer_new_memdup(pcm.constData() + from, gsize(bytes));
    GST_BUFFER_PTS(buffer) = 0;
    GST_BUFFER_DURATION(buffer) = GstClockTime(format.durationForBytes(qint32(bytes))) * 1000;
    GstFlowReturn flow = GST_FLOW_OK;
    g_signal_emit_by_name(source, "push-buffer", buffer, &flow);
    gst_buffer_unref(buffer);
    g_signal_emit_by_name(source, "end-of-stream", &flow);
    gst_object_unref(source);

    // pulsesink connects on the way up and fails here when no server answers.
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return nullptr;
    return output;
}

ClipOutput::ClipOutput(GstElement *pipeline)
    : m_pipeline(pipeline)
{}

ClipOutput::~ClipOutput()
{
    // Joins the pipeline's threads before it goes.
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    gst_object_unref(m_pipeline);
}

void ClipOutput::pause()
{
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
}

void ClipOutput::resume()
{
    gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
}

void ClipOutput::setVolume(double volume)
{
    GstElement *gain = Child(m_pipeline, "gain");
    g_object_set(gain, "volume", volume, nullptr);
    gst_object_unref(gain);
}

qint64 ClipOutput::playedMs() const
{
    gint64 position = 0;
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position) && position >= 0)
        m_playedMs = position / GST_MSECOND;
    return m_playedMs;
}

ClipOutput::Event ClipOutput::poll()
{
    GstBus *bus = gst_element_get_bus(m_pipeline);
    GstMessage *message =
        gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    if (!message)
        return Event::None;
    const bool ended = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    gst_message_unref(message);
    return ended ? Event::Ended : Event::Failed;
}
