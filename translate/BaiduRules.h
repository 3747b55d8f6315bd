#pragma once

#include "KeyedRoad.h"

// Baidu's general translation API (通用翻译).
namespace Baidu {

// Lower-case hex MD5 of appid + text + salt + secret, the text as UTF-8 and not encoded.
QString Sign(QStringView appId, QStringView text, QStringView salt, QStringView secret);

// The form with the sign; the secret itself stays here. Nothing when a language is outside
// Baidu's list.
std::optional<KeyedRequest> RequestFor(const KeyedQuery &query, const ApiKey &key,
                                       QStringView salt);

// trans_result[].dst, a line each, or error_code and error_msg.
KeyedReply ReadReply(QStringView reply);

} // namespace Baidu
