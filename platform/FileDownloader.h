#pragma once

#include "HttpText.h"

#include <QString>

class QSaveFile;

#include <chrono>

// The limits of a save, with stallTimeout as the time without data: a spoken clip is a
// sentence or two of MP3 at 32 to 64 kbit/s, tens of kilobytes, rarely a few hundred, so a
// cap of 4 MiB (minutes of speech) is reached only by a service that never stops sending. No
// input reaches the window during a save, so it ends for sure: within two minutes, which
// fetch a few hundred kilobytes of clip even at 2G speed (about 5 KB/s).
GetPostByXmlHttp::HttpOptions SaveOptions(std::chrono::milliseconds stallTimeout);

// Downloads url into filePath through the one exchange of net/ and returns only when done.
// The window keeps painting but takes no input meanwhile. The file is replaced only by a
// complete download of a clip that passes the player's gate (MpegAudio.h): an HTTP status of
// 400 or above, a cut-short or oversized body, a body that is no MP3 audio, a time-out, a
// refused write or a full disk leave an existing file byte for byte as it was and no partial
// file behind, and return false. Only a regular file or nothing is replaced: a path that
// names a folder, a device, a FIFO or a socket is a failed save; a symbolic link is written
// through to its target.
bool DownloadToFile(const QString &url, const QString &filePath,
                    const GetPostByXmlHttp::HttpOptions &options);

// DownloadToFile in two steps, for a caller that puts the file in place only once the rest of
// its work succeeded: DownloadInto fills file (not yet open) and leaves it uncommitted;
// PutInPlace then renames it over the target. Dropping the QSaveFile instead leaves an existing
// file as it was. DownloadInto looks at the path again once the download is done, so that only
// a race with whatever takes the path after that can still make PutInPlace fail. Each returns
// false with one warning saying why.
bool DownloadInto(const QString &url, QSaveFile &file,
                  const GetPostByXmlHttp::HttpOptions &options);
bool PutInPlace(const QString &url, QSaveFile &file);

// A clip already in hand (the offline voice's, as MP3) saved by the same rules, named by what
// in the warnings.
bool SaveClipInto(const QByteArray &clip, const QString &what, QSaveFile &file);
bool SaveClipToFile(const QByteArray &clip, const QString &what, const QString &filePath);
