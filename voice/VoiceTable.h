#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The espeak-ng voice that speaks a catalogue language (its Google code, "zh-CN", "iw", ...);
// none for a language that Debian's espeak-ng cannot speak, and for any other code.
std::optional<QString> EspeakVoiceFor(QStringView languageCode);
