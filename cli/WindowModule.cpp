#include "WindowModule.h"

#include <QLibrary>

#include <cstdio>

int RunWindowModule(const QString &programFolder, int &argc, char *argv[],
                    const OutsideRequest &request, const Endpoints &endpoints)
{
    QLibrary module(programFolder + u'/' + QLatin1String(WindowModulePath));
    const auto entry = reinterpret_cast<WindowEntry>(module.resolve(WindowEntryName));
    if (!entry) {
        std::fprintf(stderr, "bremo: the window cannot be opened: %s\n",
                     qPrintable(module.errorString()));
        return 1;
    }
    return entry(argc, argv, request, endpoints);
}
