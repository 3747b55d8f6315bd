#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The offline voice's MP3 of text, out of the player module, which stays loaded once it was;
// words says how it went. Without the module there is none, and words says so.
std::optional<QByteArray> OfflineMp3(const QString &text, const QString &languageCode,
                                     QString &words);
