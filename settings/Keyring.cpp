#include "Keyring.h"

#include "SettingsLog.h"

#include <QCoreApplication>
#include <QLibrary>

#include <optional>

using namespace Qt::StringLiterals;

namespace Keyring {

namespace {

std::optional<Backend> g_backend;
QString g_loadFailure;

const Backend &backend()
{
    if (!g_backend) {
        // Never unloaded: QtKeychain keeps its bus connection for the process's life.
        QLibrary module(QCoreApplication::applicationDirPath() + u'/' + QLatin1String(ModulePath));
        const auto entry = reinterpret_cast<BackendEntry>(module.resolve(BackendEntryName));
        g_backend = entry ? *entry() : Backend();
        if (!entry) {
            g_loadFailure = u"the keyring module cannot be loaded: "_s + module.errorString();
            qCWarning(lcSettings, "%ls", qUtf16Printable(g_loadFailure));
        }
    }
    return *g_backend;
}

} // namespace

Result Read(const QString &entry)
{
    const Backend &keyring = backend();
    return keyring.read ? keyring.read(entry) : Result{Answer::NoKeyring, {}, g_loadFailure};
}

Result Write(const QString &entry, const QString &secret)
{
    const Backend &keyring = backend();
    return keyring.write ? keyring.write(entry, secret)
                         : Result{Answer::NoKeyring, {}, g_loadFailure};
}

void UseBackend(const Backend &backend)
{
    g_backend = backend;
}

} // namespace Keyring
