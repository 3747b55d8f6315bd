#include "PictureText.h"

#include "NetLog.h"

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

Recognition RecogniseInModule(const QImage &picture, const OcrModels &models,
                              const std::atomic_bool &cancel)
{
    // Resolved once, by the first worker that asks; the module is never unloaded.
    static const auto entry = [] {
        QLibrary module(QCoreApplication::applicationDirPath() + u'/' +
                        QLatin1String(PictureModulePath));
        module.setLoadHints(QLibrary::PreventUnloadHint);
        const auto recognise =
            reinterpret_cast<RecogniseFunction>(module.resolve(RecogniseEntryName));
        if (!recognise)
            qCWarning(lcNet, "text recognition cannot be loaded: %ls",
                      qUtf16Printable(module.errorString()));
        return recognise;
    }();
    if (entry)
        return entry(picture, models, cancel);
    Recognition recognition;
    recognition.outcome = Recognition::Outcome::ModelMissing;
    return recognition;
}
