#pragma once

#include <QByteArray>

#include <chrono>
#include <optional>

// A rendering of the offline voice (WAV) as MP3, for saving: what a speech host would have
// sent, which any player opens. Constant bit rate, so a player without a seek table still
// finds its length from its size. Waits with the caller's events flowing; none when the WAV
// cannot be read, GStreamer's lamemp3enc is missing, the time-out passes first, or the MP3
// would outgrow the WAV, with one warning saying why.
std::optional<QByteArray> Mp3OfWav(const QByteArray &wav,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
