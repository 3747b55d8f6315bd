#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>

typedef struct _GstElement GstElement;

// Decodes a clip held whole in memory to PCM of pcmFormat(), with a GStreamer pipeline of its
// own (appsrc, decodebin, conversion, appsink) that it tears down after each clip. Qt 6.4's
// QAudioDecoder keeps about 4 KB of GStreamer elements per clip until the process ends; this
// pipeline gives them back. Only what passes the gate of MpegAudio.h is decoded, the one kind
// of clip a speech service sends, and no more than maxDurationMs of it: a few hundred
// kilobytes of another format (or of MP3 at a very low rate) can stand for hours of sound, and
// gigabytes of PCM.
class ClipDecoder final : public QObject
{
    Q_OBJECT

public:
    explicit ClipDecoder(qint64 maxDurationMs, QObject *parent = nullptr);
    ~ClipDecoder() override;

    static QAudioFormat pcmFormat();

    // Drops any clip in hand and decodes encoded; finished() or failed() follows, from the
    // event loop.
    void start(const QByteArray &encoded);
    // Drops the clip in hand without a word.
    void stop();

Q_SIGNALS:
    void finished(const QByteArray &pcm);
    // The reason, in fixed words.
    void failed(const QString &reason);

private:
    void poll();
    void drainSamples();

    // Counted in the pipeline's streaming thread, which drops whatever comes past the cap, so
    // that not even appsink's queue holds more until the next poll ends the pipeline.
    struct Budget
    {
        qint64 leftBytes = 0;
        std::atomic_bool exceeded = false;
    };

    const qint64 m_maxBytes;
    GstElement *m_pipeline = nullptr;
    GstElement *m_sink = nullptr;
    Budget m_budget;
    QByteArray m_pcm;
    QString m_refusal; // why the clip in hand was not even decoded
    // The pipeline's bus is read from this thread, so nothing of GStreamer's threads reaches
    // the player.
    QTimer m_poll;
};
