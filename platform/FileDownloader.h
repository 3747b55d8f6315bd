#pragma once

#include "HttpText.h"

#include <QString>

#include <chrono>

// A spoken clip is a sentence or two of MP3 at 32 to 64 kbit/s: tens of kilobytes, rarely
// a few hundred. Four MiB is minutes of speech, so only a service that never stops sending
// reaches it.
inline constexpr qsizetype MaxDownloadBytes = 4 * 1024 * 1024;
// No input reaches the window during a save, so it ends for sure: two minutes fetch a few
// hundred kilobytes of clip even at 2G speed (about 5 KB/s).
inline constexpr std::chrono::milliseconds DownloadDeadline = std::chrono::minutes(2);

// Downloads url into filePath through the one exchange of net/ and returns only when done.
// The window keeps painting but takes no input meanwhile. The file is replaced only by a
// complete download: an HTTP status of 400 or above, a cut-short or oversized body, a
// time-out, a refused write or a full disk leave an existing file byte for byte as it was
// and no partial file behind, and return false.
bool DownloadToFile(const QString &url, const QString &filePath,
                    const GetPostByXmlHttp::HttpOptions &options);
