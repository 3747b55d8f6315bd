#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

typedef struct _GstElement GstElement;

// One stretch of a decoded clip played through the sound server, by a GStreamer pipeline of
// its own (appsrc, conversion, volume, pulsesink). Qt 6.4's PulseAudio back end, which
// QAudioSink uses, waits for ever on a new stream that the server's going away has failed (the
// window froze so in a long soak), takes 3 s to come back to a restarted server, and runs its
// callbacks on its connection's own thread, where the window once crashed. Here nothing of the
// pipeline's threads reaches the player: its bus is read from this thread, and the pipeline is
// torn down and joined before it goes; each clip connects anew, so a restarted server is used
// at once.
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
