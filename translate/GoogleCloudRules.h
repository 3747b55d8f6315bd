#pragma once

#include "KeyedRoad.h"

// Google Cloud Translation, basic edition (v2). It takes the catalogue's codes as they are.
namespace GoogleCloud {

// The key goes in a header: a URL with it would end up in proxies' and servers' logs.
std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, QStringView key);

// data.translations[].translatedText, or error.code and error.message.
KeyedReply ReadReply(QStringView reply);

} // namespace GoogleCloud
