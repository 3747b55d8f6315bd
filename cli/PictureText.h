#pragma once

#include "CommandLine.h"
#include "Recognition.h"

#include <QString>

#include <optional>

// Recognition lives in a module beside the program (ocr/bremo-ocr), loaded only when a
// picture is read (--image, or the screen in the window): Tesseract and its libraries would
// otherwise slow every start of bremo and of the window down.
inline constexpr char PictureModulePath[] = "ocr/bremo-ocr";
inline constexpr char PictureEntryName[] = "BremoPictureText";
using PictureEntry = std::optional<QString> (*)(const PrintJob &job);
inline constexpr char RecogniseEntryName[] = "BremoRecognise";

// The text that Tesseract reads in the job's picture, in the source language's models, or
// nothing when there is none; the reason is then on standard error.
std::optional<QString> PictureText(const PrintJob &job);

// Recognise of ocr/, from the module, which stays loaded once it was. Without the module the
// outcome is ModelMissing, and the reason is logged.
Recognition RecogniseInModule(const QImage &picture, const OcrModels &models,
                              const std::atomic_bool &cancel);
