#pragma once

#include "KeyedRoad.h"

// Youdao's text translation API (智云), signed with its v3 rule.
namespace YoudaoApi {

// Hex SHA-256 of appKey + input + salt + curtime + secret, input being the text itself up to
// 20 characters, else its first 10, its length and its last 10, all in code points.
QString Sign(QStringView appKey, QStringView text, QStringView salt, qint64 curtime,
             QStringView secret);

// The form with the sign; curtime is in seconds since the epoch. Nothing when a language is
// outside Youdao's list.
std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, const ApiKey &key, QStringView salt,
                                       qint64 curtime);

// translation[] when errorCode is "0"; otherwise the code and what Youdao's table says of it.
KeyedReply ReadReply(QStringView reply);

} // namespace YoudaoApi
