#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;

// What the player widget asks of the clip player. The clip player, with the media and sound
// libraries behind it, is a module of its own (PlaybackModule) that the widget loads at its
// first clip, so that a window that speaks nothing never loads them.
class Playback
{
public:
    enum class State
    {
        Stopped,
        Playing,
        Paused,
    };

    virtual ~Playback() = default;

    // A pronunciation: the clip at url, and when that gives none (or there is no url) text
    // spoken by the offline voice in the language languageCode.
    struct Speech
    {
        QString url;
        QString host; // the speech road's name in the report
        QString text;
        QString languageCode;
    };

    // Drops the clip in hand, whatever it is doing, and plays url from its start as soon as it
    // has arrived; the empty text only drops it.
    virtual void load(const QString &url) = 0;
    // The same for a pronunciation with the offline voice behind its clip.
    virtual void speak(const Speech &speech) = 0;
    // How the speech roads went for the clip in hand, a line each: "Google 语音：HTTP 404",
    // "离线语音：成功".
    virtual QStringList speechReport() const = 0;
    // The clip in hand as MP3 when the offline voice spoke it, once it is ready; none else.
    virtual std::optional<QByteArray> offlineMp3() const = 0;
    // A clip is assigned and has not failed.
    virtual bool isLoaded() const = 0;
    // Decoded: its length is known and it can be sought.
    virtual bool isReady() const = 0;
    virtual State state() const = 0;
    virtual qint64 positionMs() const = 0;
    virtual qint64 durationMs() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    // Rewinds to the start.
    virtual void stop() = 0;
    virtual void setPositionMs(qint64 position) = 0;
    // Linear gain, 0 to 1.
    virtual void setVolume(float volume) = 0;
    // Calls stateChanged when the state, loaded or ready changes, timeChanged when the
    // position or the length does, and reported when the speech report grows, for as long as
    // context lives.
    virtual void watch(QObject *context, std::function<void()> stateChanged,
                       std::function<void()> timeChanged, std::function<void()> reported) = 0;
};

// Makes the player as a child of parent.
using PlaybackMaker = Playback *(*)(QObject *parent);
