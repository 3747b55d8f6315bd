#pragma once

#include <QByteArray>

#include <gst/gst.h>

// Gives the appsrc named name in pipeline all of bytes, then the end of the stream: a clip or a
// rendering is decoded or encoded from memory, whole.
inline void PushWholeBuffer(GstElement *pipeline, const char *name, const QByteArray &bytes)
{
    GstElement *source = gst_bin_get_by_name(GST_BIN(pipeline), name);
    GstFlowReturn flow = GST_FLOW_OK;
    GstBuffer *buffer = gst_buffer_new_memdup(bytes.constData(), gsize(bytes.size()));
    g_signal_emit_by_name(source, "push-buffer", buffer, &flow);
    gst_buffer_unref(buffer);
    g_signal_emit_by_name(source, "end-of-stream", &flow);
    gst_object_unref(source);
}
