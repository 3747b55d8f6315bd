#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The settings as QSettings writes them: it works on a file of its own, beside the target
// (so a key never passes through a shared folder), which then gives its bytes to the save.
std::optional<QByteArray>
settingsBytes(const QString &path, const std::function<void(QSettings &)> &fill, QString &reason)
{
    QTemporaryFile scratch(QFileInfo(path).absolutePath() + u"/.bremo-XXXXXX"_s);
    if (!scratch.open()) {
        reason = scratch.errorString();
        return std::nullopt;
    }
    if (QFile current(path); current.open(QIODevice::ReadOnly))
        scratch.write(current.readAll());
    scratch.close();
    {
        QSettings settings(scratch.fileName(), QSettings::IniFormat);
        fill(settings);
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            reason = u"the settings could not be written"_s;
            return std::nullopt;
        }
    }
    // QSettings put a new file under the scratch name; the one scratch holds open is the old.
    QFile written(scratch.fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        reason = written.errorString();
        return std::nullopt;
    }
    return written.readAll();
}

} // namespace

bool WriteWhole(const QString &path, const std::function<void(QSettings &)> &fill, bool ownerOnly,
                QString &reason)
{
    const QFileInfo existing(path);
    // QSaveFile would rename over a device, a pipe or a folder.
    if (existing.exists() && !existing.isFile()) {
        reason = u"not a file"_s;
        return false;
    }
    const std::optional<QByteArray> bytes = settingsBytes(path, fill, reason);
    if (!bytes)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || (ownerOnly && !file.setPermissions(OwnerOnly))) {
        reason = file.errorString();
        return false;
    }
    file.write(*bytes);
    // Qt 6.4's commit reports success after a flush that failed (a full disk).
    if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit()) {
        reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool MakePrivateFolder(const QString &path, QString &reason)
{
    if (!QDir().mkpath(path) || !QFile::setPermissions(path, OwnerOnly | QFileDevice::ExeOwner)) {
        reason = u"the folder could not be made private"_s;
        return false;
    }
    return true;
}
