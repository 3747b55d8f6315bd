#include "KeychainBackend.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>

#include <qt6keychain/keychain.h>

using namespace Qt::StringLiterals;

using namespace Keyring;

namespace {

const QString Service = u"bremo"_s;

// QtKeychain reports a Secret Service that is not there as any other failure; the bus knows
// (after the failed call, which would have started an activatable one).
bool secretServiceAbsent()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return !bus.isConnected() ||
           !bus.interface()->isServiceRegistered(u"org.freedesktop.secrets"_s).value();
}

Result waitFor(QKeychain::Job &job)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&finished, &loop] {
        finished = true;
        loop.quit();
    });
    job.start();
    if (!finished)
        loop.exec();
    switch (job.error()) {
    case QKeychain::NoError:
    case QKeychain::EntryNotFound:
        return {};
    case QKeychain::NoBackendAvailable:
        return {Answer::NoKeyring, {}, job.errorString()};
    default:
        return {secretServiceAbsent() ? Answer::NoKeyring : Answer::Failed, {}, job.errorString()};
    }
}

Result readEntry(const QString &entry)
{
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(entry);
    Result result = waitFor(job);
    if (result.answer == Answer::Done)
        result.secret = job.textData();
    return result;
}

Result writeEntry(const QString &entry, const QString &secret)
{
    if (secret.isEmpty()) {
        QKeychain::DeletePasswordJob job(Service);
        job.setKey(entry);
        return waitFor(job);
    }
    QKeychain::WritePasswordJob job(Service);
    job.setKey(entry);
    job.setTextData(secret);
    return waitFor(job);
}

} // namespace

const Keyring::Backend &KeychainBackend()
{
    static const Keyring::Backend backend{readEntry, writeEntry};
    return backend;
}
