#pragma once

#include <QString>
#include <QStringList>

// The Tesseract models that read a source language, by the catalogue's language code.
struct OcrModels
{
    QStringList installed; // the language's own model first, then English
    QStringList missing;   // the language's models that are not installed
};

// Where the models lie: TESSDATA_PREFIX when set, else Debian's folder.
QString ModelFolder();

// The models for code (a catalogue code such as zh-CN), looked up in folder; English is
// always added, since screens mix it into every language.
OcrModels ModelsFor(const QString &code, const QString &folder = ModelFolder());

// The Debian package that carries model, such as tesseract-ocr-chi-sim for chi_sim.
QString ModelPackage(const QString &model);
