#pragma once

#include "Playback.h"

#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class ClipDecoder;
class ClipOutput;

namespace GetPostByXmlHttp {
class ExchangeJob;
}

// Plays one short clip at a time from an http or https address. The clip's bytes come through
// the program's one exchange, are decoded whole to PCM and played by a sound output made for
// this clip alone (ClipOutput): Qt 6.4's QMediaPlayer (GStreamer) never learns the length of a
// clip shorter than about a second over HTTP, and plays it again, after its end, as silence.
// Clips of tens of kilobytes cost little to hold. Without a sound output the clip runs on a
// silent clock, so position, length and end still show. A failed fetch or bytes that are not
// audio leave it silent and unloaded, with one bremo.net warning, unless a pronunciation has the
// offline voice behind it: then espeak-ng speaks the text, and its PCM plays the same way. The
// window reaches it through Playback, out of the bremo-player module.
class ClipPlayer final : public QObject, public Playback
{
    Q_OBJECT

public:
    explicit ClipPlayer(QObject *parent = nullptr);
    ~ClipPlayer() override;

    void load(const QString &url) override;
    void speak(const Speech &speech) override;
    QStringList speechReport() const override { return m_report; }
    std::optional<QByteArray> offlineMp3() const override;
    bool isLoaded() const override { return m_phase != Phase::Empty && m_phase != Phase::Failed; }
    bool isReady() const override { return m_phase == Phase::Ready; }
    State state() const override { return m_state; }
    qint64 positionMs() const override;
    qint64 durationMs() const override;
    void play() override;
    void pause() override;
    void stop() override;
    void setPositionMs(qint64 position) override;
    float volume() const { return m_volume; }
    void setVolume(float volume) override;
    void watch(QObject *context, std::function<void()> stateChanged,
               std::function<void()> timeChanged, std::function<void()> reported) override;

Q_SIGNALS:
    // State, loaded or ready changed.
    void stateChanged();
    // Position or length changed.
    void timeChanged();
    void reported();

private:
    enum class Phase
    {
        Empty,
        Fetching,
        Decoding,
        Ready,
        Failed,
    };
    enum class Output
    {
        None,
        Sink,
        SilentClock,
    };

    void drop();
    template<typename T> void retire(T *&object);
    void fetched();
    void decoded(const QByteArray &pcm);
    void fail(const QString &reason, const QString &words);
    void report(const QString &line);
    void speakOffline(quint64 clip);
    void startOutput(qint64 from);
    void runSilentClock();
    void closeOutput();
    void tick();
    void setState(State state);

    Speech m_speech;
    // Counts the clips loaded, so that a rendering that ends after a newer load is dropped.
    quint64 m_clip = 0;
    QStringList m_report;
    QByteArray m_wav; // the offline voice's rendering in hand
    Phase m_phase = Phase::Empty;
    State m_state = State::Stopped;
    QBuffer m_encoded;
    // The fetch is a child of the player, let go through the event loop: it may be in the
    // middle of the signal that reached the player.
    GetPostByXmlHttp::ExchangeJob *m_fetch = nullptr;
    ClipDecoder *m_decoder;
    const QAudioFormat m_format;
    QByteArray m_pcm;
    Output m_output = Output::None;
    std::unique_ptr<ClipOutput> m_sink;
    // Where in the clip the running output began, and what the silent clock has run of it.
    qint64 m_offsetMs = 0;
    qint64 m_silentRunMs = 0;
    QElapsedTimer m_silentClock;
    QTimer m_ticker;
    float m_volume = 1.0f;
};

// The player that the bremo-player module makes, for a program that links the clip player in
// (UsePlaybackMaker).
Playback *MakeClipPlayer(QObject *parent);
