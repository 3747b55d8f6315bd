#pragma once

#include "ServiceSettings.h"

#include <QProcessEnvironment>
#include <QString>

#include <functional>

// $XDG_CONFIG_HOME/bremo (~/.config/bremo when it is not set).
QString SettingsFolder();

enum class StoreOutcome
{
    Done,
    NoKeyring, // the keys need a keyring and none answers: nothing was written
    Failed
};

struct StoreResult
{
    StoreOutcome outcome = StoreOutcome::Done;
    QString reason; // for the log: never a key
};

// The services' settings: bremo.conf holds all but the secret halves of the keys, which go
// to the keyring, or, when the user chose it, to a file of their own in a private folder.
class ServiceStore final
{
public:
    explicit ServiceStore(QString folder = SettingsFolder());

    QString settingsPath() const;
    QString keyFilePath() const;

    // The saved settings, the defaults for what was never saved. The secrets are missing
    // when their store does not answer; only those of the services wanted are read.
    StoreResult load(ServiceSettings &settings,
                     const std::function<bool(const KeyedService &)> &wanted = {}) const;
    // Secrets first, then bremo.conf: a keyring that does not answer leaves both as they were.
    StoreResult save(const ServiceSettings &settings) const;

private:
    QString m_folder;
};

// The keyed roads for a translation: bremo.conf, with the environment over it. The keyring is
// asked only for the secrets of roads in use that the environment leaves missing, and not at
// all before the settings were ever saved, so that a start stays light.
ServiceSettings ServicesForRun(const ServiceStore &store, const QProcessEnvironment &environment);
