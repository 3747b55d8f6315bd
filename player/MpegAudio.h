#pragma once

#include <QByteArrayView>
#include <QString>

// The one gate of a spoken clip, for the player and the save alike: MPEG-1, 2 or 2.5 audio
// (Layer I, II or III, as MP3 services send it), bare or behind ID3v2 and APE tags. An empty
// text when clip passes, else why not, in fixed words. AAC in ADTS frames shares MP3's frame
// sync but not its layer bits, and is no MP3; neither is a web page answered in its place.
QString WhyNotMpegAudio(QByteArrayView clip);
