#pragma once

#include "CommandLine.h"
#include "Endpoints.h"
#include "Roads.h"
#include "Speech.h"

#include <QString>

#include <optional>

struct ScriptTranslation
{
    Translation roads; // the translation (empty when no road gave one) and every road asked
    std::optional<SpeechPlan> speech;
};

// One translation by the window's roads and rules, without a window. There is no result box
// whose previous content the Google speech rule could look at: the run counts as the second
// press of 翻译 on the same text, so a result that the window would speak on the second press
// is spoken here at once.
ScriptTranslation TranslateForScript(const QString &source, const PrintJob &job,
                                     const Endpoints &endpoints, VoiceChoice voice,
                                     const ServiceSettings &services = ServiceSettings::defaults());
