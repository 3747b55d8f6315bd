#pragma once

#include <QStringList>

// What the sound server's sink played, as tests/app/with-sound-server records it from the
// sink's monitor into the file that BREMO_RECORDING names (16 kHz, mono, 16 bit). Any sound is
// taken for the nearest multiple of 220 Hz: tests/data's tones are 440, 660 and 880 Hz.
namespace TestSupport::Recording {

// The recording's path; empty when not run by with-sound-server.
inline const QString Path = qEnvironmentVariable("BREMO_RECORDING");
// The milliseconds of silence at its end, so far.
int QuietTailMs();
// The tones heard, in order, as "440 Hz, whole" when heard for wholeMs to thrice that, else as
// "440 Hz, 40 ms". Silence is left out, and so are runs shorter than 60 ms: a click is not a
// clip heard.
QStringList TonesHeard(int wholeMs);
// The longest stretch of sound of any pitch recorded after the first fromBytes, pauses of up to
// 100 ms within it (between words) included.
int LongestSoundMs(qint64 fromBytes);

} // namespace TestSupport::Recording
