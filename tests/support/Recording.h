#pragma once

#include <QList>
#include <QString>

// What the sound server's sink played, as tests/app/with-sound-server records it from the
// sink's monitor into the file that BREMO_RECORDING names (16 kHz, mono, 16 bit). Any sound is
// taken for the nearest multiple of 220 Hz: tests/data's tones are 440, 660 and 880 Hz.
namespace TestSupport::Recording {

struct Heard
{
    int hertz;
    int ms;
};

// The recording's path; empty when not run by with-sound-server.
QString Path();
// The milliseconds of silence at its end, so far.
int QuietTailMs();
// The tones heard, in order. Silence is left out, and so are runs shorter than 60 ms: a click
// is not a clip heard.
QList<Heard> TonesHeard();

} // namespace TestSupport::Recording
