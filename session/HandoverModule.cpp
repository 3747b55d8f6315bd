#include "HandoverModule.h"

#include "NetLog.h"

#include <QLibrary>

Handover HandOverThroughModule(const QString &programFolder, const OutsideRequest &request)
{
    QLibrary module(programFolder + u'/' + QLatin1String(SessionModulePath));
    const auto entry = reinterpret_cast<HandOverEntry>(module.resolve(HandOverEntryName));
    if (!entry) {
        qCWarning(lcNet, "the session module cannot be loaded: %ls",
                  qUtf16Printable(module.errorString()));
        return Handover::NoPrimary;
    }
    return entry()(request);
}
