#pragma once

#include <QSettings>
#include <QString>

#include <functional>

// Settings files written whole or not at all: a crash or a full disk in the middle of a save
// leaves the old file as it was.

// path with fill's changes made over what it holds now. ownerOnly: the file is the user's
// alone (0600) from its first byte, for the keys kept outside a keyring.
bool WriteWhole(const QString &path, const std::function<void(QSettings &)> &fill, bool ownerOnly,
                QString &reason);

// A folder only the user may enter (0700), made or narrowed.
bool MakePrivateFolder(const QString &path, QString &reason);
