#pragma once

#include "CommandLine.h"

#include <QString>

#include <optional>

// Recognition lives in a module beside the program (ocr/bremo-ocr), loaded only for
// --image: Tesseract and its libraries would otherwise slow every start of bremo down.
inline constexpr char PictureModulePath[] = "ocr/bremo-ocr";
inline constexpr char PictureEntryName[] = "BremoPictureText";
using PictureEntry = std::optional<QString> (*)(const PrintJob &job);

// The text that Tesseract reads in the job's picture, in the source language's models, or
// nothing when there is none; the reason is then on standard error.
std::optional<QString> PictureText(const PrintJob &job);
