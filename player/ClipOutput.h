#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

typedef struct _GstElement GstElement;

// One stretch of a decoded clip played through the sound server, by a GStreamer pipeline of
// its own (appsrc, conversion, volume, pulsesink). Qt 6.4's PulseAudio back end, which
// QAudioSink uses, runs its stream callbacks on the server connection's thread against sinks
// that the event loop deletes later; made and thrown away for every clip, and with the sound
// server coming and going, it crashed the window there. Here nothing of the pipeline's threads
// reaches the player: its bus is read from this thread, and it is torn down and joined before
// it goes.
class ClipOutput final
{
public:
    enum class Event
    {
        None,
        Ended,
        Failed,
    };

    // The pcm (ClipDecoder::pcmFormat()) from byte from on, playing at once at volume; null
    // when no sound server takes it.
    static std::unique_ptr<ClipOutput> start(const QByteArray &pcm, qsizetype from, double volume);
    ~ClipOutput();
    ClipOutput(const ClipOutput &) = delete;
    ClipOutput &operator=(const ClipOutput &) = delete;

    void pause();
    void resume();
    void setVolume(double volume);
    // What has been heard of the stretch so far.
    qint64 playedMs() const;
    // The end of the stretch, heard whole, or a failure (the server went away), once each.
    Event poll();

private:
    explicit ClipOutput(GstElement *pipeline);

    GstElement *m_pipeline;
    // The last position the pipeline gave: after a failure it answers no more.
    mutable qint64 m_playedMs = 0;
};
