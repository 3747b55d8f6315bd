#pragma once

#include "Roads.h"

#include <QString>
#include <QStringView>

#include <optional>

// What the speech rule reads when the translation has come: the result box before the new
// translation goes in, and the source box and the target list as they are now.
struct SpeechContext
{
    QStringView previousResult;
    QStringView source;
    int targetPosition = 1;
};

// A pronunciation to be had: the speech host's clip, and the offline voice when that gives
// none.
struct SpeechPlan
{
    std::optional<QString> url; // none: the offline voice alone
    QString host;               // the speech road's name: "Google 语音", "有道语音"
    QString text;
    QString languageCode; // the catalogue's code of the text's language
};

// The pronunciation of a translation. Whether to speak is the engine's own rule whichever road
// gave it (Google's long road never speaks; script mode's single roads have no rule); an
// offline translation, or the offline choice, keeps the plan without its URL.
std::optional<SpeechPlan> SpeechPlanOf(const Translation &translation, Engine engine,
                                       const Endpoints &endpoints, const SpeechContext &context,
                                       VoiceChoice choice);
