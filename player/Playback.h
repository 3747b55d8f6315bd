#pragma once

#include <QString>

#include <functional>

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

    // Drops the clip in hand, whatever it is doing, and plays url from its start as soon as it
    // has arrived; the empty text only drops it.
    virtual void load(const QString &url) = 0;
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
    // Calls stateChanged when the state, loaded or ready changes, and timeChanged when the
    // position or the length does, for as long as context lives.
    virtual void watch(QObject *context, std::function<void()> stateChanged,
                       std::function<void()> timeChanged) = 0;
};

// Makes the player as a child of parent.
using PlaybackMaker = Playback *(*)(QObject *parent);
