#pragma once

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
// this clip alone (ClipOutput): Qt 6.4's QMediaPlayer (GStreamer) never learns the length of a clip
// shorter than about a second over HTTP, and plays it again, after its end, as silence. Clips of
// tens of kilobytes cost little to hold. Without a sound output the clip runs on a silent clock, so
// position, length and end still show. A failed fetch or bytes that are not audio leave it
// silent and unloaded, with one bremo.net warning.
class ClipPlayer final : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Stopped,
        Playing,
        Paused,
    };

    explicit ClipPlayer(QObject *parent = nullptr);
    ~ClipPlayer() override;

    // Drops the clip in hand, whatever it is doing, and plays url from its start as soon as it
    // has arrived; the empty text only drops it.
    void load(const QString &url);

    // A clip is assigned and has not failed.
    bool isLoaded() const { return m_phase != Phase::Empty && m_phase != Phase::Failed; }
    // Decoded: its length is known and it can be sought.
    bool isReady() const { return m_phase == Phase::Ready; }
    State state() const { return m_state; }
    qint64 positionMs() const;
    qint64 durationMs() const;

    void play();
    void pause();
    // Rewinds to the start.
    void stop();
    void setPositionMs(qint64 position);
    // Linear gain, 0 to 1.
    float volume() const { return m_volume; }
    void setVolume(float volume);

Q_SIGNALS:
    // State, loaded or ready changed.
    void stateChanged();
    // Position or length changed.
    void timeChanged();

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
    void fail(const QString &reason);
    void startOutput(qint64 from);
    void runSilentClock();
    void closeOutput();
    void tick();
    void setState(State state);

    QString m_url;
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
