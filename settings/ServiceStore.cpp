#include "ServiceStore.h"

#include "Keyring.h"
#include "SettingsLog.h"
#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

StoreResult fromKeyring(const Keyring::Result &result)
{
    switch (result.answer) {
    case Keyring::Answer::Done:
        return {};
    case Keyring::Answer::NoKeyring:
        return {StoreOutcome::NoKeyring, result.reason};
    case Keyring::Answer::Failed:
        break;
    }
    return {StoreOutcome::Failed, result.reason};
}

StoreResult logged(StoreResult result, const char *what)
{
    if (result.outcome != StoreOutcome::Done)
        qCWarning(lcSettings, "%s: %ls", what, qUtf16Printable(result.reason));
    return result;
}

} // namespace

QString SettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/bremo"_s;
}

ServiceStore::ServiceStore(QString folder)
    : m_folder(std::move(folder))
{}

QString ServiceStore::settingsPath() const
{
    return m_folder + u"/bremo.conf"_s;
}

QString ServiceStore::keyFilePath() const
{
    return m_folder + u"/private/keys.conf"_s;
}

StoreResult ServiceStore::load(ServiceSettings &settings,
                               const std::function<bool(const KeyedService &)> &wanted) const
{
    settings = ServiceSettings::defaults();
    {
        QSettings file(settingsPath(), QSettings::IniFormat);
        settings.order = file.value(u"roads/order"_s).toStringList();
        settings.keysInFile = file.value(u"roads/keysInFile"_s, false).toBool();
        if (file.value(u"speech/voice"_s).toString() == u"offline")
            settings.voice = VoiceChoice::Offline;
        for (KeyedService &service : settings.services) {
            file.beginGroup(service.id);
            service.used = file.value(u"used"_s, true).toBool();
            service.host = file.value(u"host"_s).toString();
            service.key.id = file.value(u"id"_s).toString();
            file.endGroup();
        }
    }
    if (settings.keysInFile) {
        const QSettings keys(keyFilePath(), QSettings::IniFormat);
        for (KeyedService &service : settings.services)
            service.key.secret = keys.value(service.id).toString();
        return {};
    }
    for (KeyedService &service : settings.services) {
        if (wanted && !wanted(service))
            continue;
        const Keyring::Result read = Keyring::Read(service.id);
        if (read.answer != Keyring::Answer::Done)
            return logged(fromKeyring(read), "keyring");
        service.key.secret = read.secret;
    }
    return {};
}

StoreResult ServiceStore::save(const ServiceSettings &settings) const
{
    QString reason;
    if (!MakePrivateFolder(m_folder, reason))
        return logged({StoreOutcome::Failed, reason}, "settings folder");
    if (settings.keysInFile) {
        const QString keys = keyFilePath();
        const auto fill = [&settings](QSettings &file) {
            for (const KeyedService &service : settings.services)
                file.setValue(service.id, service.key.secret);
        };
        if (!MakePrivateFolder(QFileInfo(keys).absolutePath(), reason) ||
            !WriteWhole(keys, fill, true, reason))
            return logged({StoreOutcome::Failed, reason}, "key file");
    } else {
        for (const KeyedService &service : settings.services) {
            const Keyring::Result written = Keyring::Write(service.id, service.key.secret);
            if (written.answer != Keyring::Answer::Done)
                return logged(fromKeyring(written), "keyring");
        }
        // The keys are kept in one place only.
        if (QFile::exists(keyFilePath()) && !QFile::remove(keyFilePath()))
            return logged({StoreOutcome::Failed, u"the old key file stays"_s}, "key file");
    }
    const auto fill = [&settings](QSettings &file) {
        file.setValue(u"roads/order"_s, settings.order);
        file.setValue(u"roads/keysInFile"_s, settings.keysInFile);
        file.setValue(u"speech/voice"_s,
                      settings.voice == VoiceChoice::Offline ? u"offline"_s : u"web"_s);
        for (const KeyedService &service : settings.services) {
            file.beginGroup(service.id);
            file.setValue(u"used"_s, service.used);
            file.setValue(u"host"_s, service.host);
            file.setValue(u"id"_s, service.key.id);
            file.endGroup();
        }
    };
    if (!WriteWhole(settingsPath(), fill, false, reason))
        return logged({StoreOutcome::Failed, reason}, "settings");
    return {};
}

ServiceSettings ServicesForRun(const ServiceStore &store, const QProcessEnvironment &environment)
{
    QStringList ignored; // named on standard error with the other hosts, at start-up
    const ServiceSettings given =
        ServicesWithEnvironment(ServiceSettings::defaults(), environment, ignored);
    ServiceSettings settings = ServiceSettings::defaults();
    if (QFile::exists(store.settingsPath())) {
        store.load(settings, [&given](const KeyedService &service) {
            return service.used && given.find(service.id)->key.secret.isEmpty();
        });
    }
    return ServicesWithEnvironment(settings, environment, ignored);
}
