#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The offline voice for a program that must not load GStreamer at every start (script mode,
// bremo --check): the player module (player/bremo-player, beside the program) exports it.
inline constexpr char OfflineMp3ModulePath[] = "player/bremo-player";
inline constexpr char OfflineMp3EntryName[] = "BremoOfflineMp3";
// text spoken in the voice of languageCode and encoded as MP3; words says how it went ("成功",
// "未安装 espeak-ng", ...), none when there is no MP3.
using OfflineMp3Entry = std::optional<QByteArray> (*)(const QString &text,
                                                      const QString &languageCode, QString &words);
