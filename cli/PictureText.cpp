#include "PictureText.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>

std::optional<QString> PictureText(const PrintJob &job)
{
    QLibrary module(QCoreApplication::applicationDirPath() + u'/' +
                    QLatin1String(PictureModulePath));
    const auto entry = reinterpret_cast<PictureEntry>(module.resolve(PictureEntryName));
    if (!entry) {
        std::fprintf(stderr, "bremo: text recognition cannot be loaded: %s\n",
                     qPrintable(module.errorString()));
        return std::nullopt;
    }
    return entry(job);
}
