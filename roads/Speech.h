#pragma once

#include "Roads.h"

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

// The pronunciation of a translation, by the engine's own speech rule whichever web road gave
// it, except Google's long road, which never speaks; an offline translation has none.
std::optional<QString> SpeechUrlOf(const Translation &translation, Engine engine,
                                   const Endpoints &endpoints, const SpeechContext &context);
