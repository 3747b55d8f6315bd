#pragma once

#include "VoiceOutcome.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringView>

#include <chrono>

struct OfflineVoiceSetup
{
    // espeak-ng renders a result of the longest spoken length in well under a second.
    std::chrono::milliseconds timeout{10000};
    // When this object is destroyed during the wait, espeak-ng is stopped.
    QPointer<QObject> context;
};

// The RIFF header in front of a rendering's samples.
inline constexpr qsizetype OfflineWavHeaderBytes = 44;

struct OfflineSpeech
{
    VoiceOutcome outcome;
    // 16-bit mono PCM at 22050 Hz, as the player plays it, behind a 44-byte RIFF header whose
    // lengths espeak-ng leaves unset when it writes to a pipe; empty unless the outcome is a
    // success.
    QByteArray wav;
    bool abandoned = false; // the context went or the application quit during the wait
};

// text spoken by espeak-ng in the voice of the catalogue language languageCode, run through the
// bounded program runner: no shell, the text on standard input, a time-out and a cap of five
// minutes of sound. Waits with the caller's events flowing.
OfflineSpeech SpeakOffline(const QString &text, QStringView languageCode,
                           const OfflineVoiceSetup &setup);
