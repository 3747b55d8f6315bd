#pragma once

#include "Exchange.h"

#include <QString>

// Why a speech host gave no clip, in the words of the roads' report ("连接被拒绝",
// "HTTP 404（页面不存在）", ...): for the player's tool-tip lines and bremo --check alike. Empty
// for a whole answer below 400, which the clip's gate judges.
QString WhyNoClip(const GetPostByXmlHttp::ExchangeEnd &end);

// A clip that came whole but cannot be played: not MP3 audio, or too long.
inline constexpr char16_t NotPlayableWords[] = u"不是可播放的音频";
