#include "OfflineVoiceModule.h"

#include "NetLog.h"
#include "OfflineMp3Entry.h"

#include <QCoreApplication>
#include <QLibrary>

using namespace Qt::StringLiterals;

std::optional<QByteArray> OfflineMp3(const QString &text, const QString &languageCode,
                                     QString &words)
{
    static const auto entry = [] {
        QLibrary module(QCoreApplication::applicationDirPath() + u'/' +
                        QLatin1String(OfflineMp3ModulePath));
        module.setLoadHints(QLibrary::PreventUnloadHint);
        const auto speak = reinterpret_cast<OfflineMp3Entry>(module.resolve(OfflineMp3EntryName));
        if (!speak)
            qCWarning(lcNet, "the offline voice cannot be loaded: %ls",
                      qUtf16Printable(module.errorString()));
        return speak;
    }();
    if (entry)
        return entry(text, languageCode, words);
    words = u"无法加载"_s;
    return std::nullopt;
}
