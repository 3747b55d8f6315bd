#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <atomic>

// What came of recognising the text in a picture.
struct Recognition
{
    enum class Outcome
    {
        Text,         // text holds what was read, line breaks kept
        Nothing,      // a picture without text that could be read
        NotAnImage,   // the bytes are no PNG or JPEG picture
        TooLarge,     // more pixels (or bytes) than recognition is allowed
        Cancelled,    // stopped before it ended
        ModelMissing, // not even the English model is installed
    };

    Outcome outcome = Outcome::Nothing;
    QString text;
    // The models of the source language that are not installed; English stood in for them.
    QStringList missingModels;
};

struct OcrModels;

// Reads the text in a picture with the models given, blocking; setting cancel stops it.
using RecogniseFunction = Recognition (*)(const QImage &picture, const OcrModels &models,
                                          const std::atomic_bool &cancel);
