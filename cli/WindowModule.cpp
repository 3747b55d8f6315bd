#include "WindowModule.h"

#include "NetLog.h"

#include <QLibrary>

int RunWindowModule(const QString &programFolder, int &argc, char *argv[],
                    const OutsideRequest &request, const Endpoints &endpoints)
{
    QLibrary module(programFolder + u'/' + QLatin1String(WindowModulePath));
    const auto entry = reinterpret_cast<WindowEntry>(module.resolve(WindowEntryName));
    if (!entry) {
        qCWarning(lcNet, "the window cannot be opened: %ls", qUtf16Printable(module.errorString()));
        return 1;
    }
    return entry(argc, argv, request, endpoints);
}
