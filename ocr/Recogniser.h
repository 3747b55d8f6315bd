#pragma once

#include "OcrLanguages.h"
#include "Recognition.h"

#include <QByteArray>
#include <QImage>

#include <atomic>
#include <variant>

// A picture larger than this (several 4K screens side by side) is refused before it is
// decoded: Tesseract would take minutes over it, and a crafted file could ask for gigabytes.
inline constexpr qint64 MaxPicturePixels = 40'000'000;
inline constexpr qint64 MaxPictureBytes = 64 * 1024 * 1024;

// A PNG or JPEG picture out of bytes, or why there is none (NotAnImage, TooLarge).
std::variant<QImage, Recognition::Outcome> ReadPicture(const QByteArray &bytes);

// The text in picture, read with the models given (LSTM). Blocks for as long as Tesseract
// reads, which may be seconds: run it on a worker thread. Setting cancel stops it.
Recognition Recognise(const QImage &picture, const OcrModels &models,
                      const std::atomic_bool &cancel);

// Tesseract's text as a source box wants it: no spaces between Chinese or Japanese
// characters, every line trimmed, empty lines dropped, the line breaks kept.
QString TidyRecognisedText(const QString &text);
