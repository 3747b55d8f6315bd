// The entry of the bremo-player module that the player widget loads at its first clip.
#include "ClipPlayer.h"
#include "PlaybackModule.h"

extern "C" Q_DECL_EXPORT Playback *BremoMakePlayback(QObject *parent)
{
    static_assert(std::is_same_v<decltype(&BremoMakePlayback), PlaybackMaker>);
    return MakeClipPlayer(parent);
}
