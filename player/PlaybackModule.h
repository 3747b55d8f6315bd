#pragma once

#include "Playback.h"

// The bremo-player module beside the program, as the widget finds it.
inline constexpr char PlaybackModulePath[] = "player/bremo-player";
inline constexpr char PlaybackMakerName[] = "BremoMakePlayback";

// The module's maker, loaded at the first call; null, with one warning, when the module
// cannot be loaded (the widget then stays silent). A program that links the clip player in
// names its own maker first with UsePlaybackMaker.
PlaybackMaker LoadPlaybackMaker();
void UsePlaybackMaker(PlaybackMaker maker);
