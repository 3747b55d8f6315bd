#pragma once

#include "KeyedRoad.h"

// DeepL's API (v2), by its documented text translation.
namespace DeepL {

// The free plan's keys end in ":fx" and are served by a host of their own.
QString HostForKey(QStringView key);

// Nothing, and UnsupportedLanguage for the road, when a language is outside DeepL's list.
std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, QStringView key);

// translations[].text; a refusal ({"message": ...}) carries no code of its own: the HTTP
// status is the road's to report.
KeyedReply ReadReply(QStringView reply);

} // namespace DeepL
