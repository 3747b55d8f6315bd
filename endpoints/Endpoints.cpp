#include "Endpoints.h"

#include "BuildConfig.h"

#include <QUrl>

using namespace Qt::StringLiterals;

std::optional<QString> WebBase(const QString &value)
{
    const QUrl url(value, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.hasQuery() || url.hasFragment() ||
        (url.scheme() != u"http"_s && url.scheme() != u"https"_s))
        return std::nullopt;
    QString base = value;
    while (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

Endpoints Endpoints::builtIn()
{
    return {
        QString::fromUtf16(BREMO_GOOGLE_ENDPOINT),
        QString::fromUtf16(BREMO_YOUDAO_ENDPOINT),
        QString::fromUtf16(BREMO_YOUDAO_VOICE_ENDPOINT),
        QString::fromUtf16(BREMO_FORUM_URL),
        QString::fromUtf16(BREMO_GOOGLE_API_ENDPOINT),
        {},
        {},
    };
}

Endpoints WithEnvironment(Endpoints base, const QProcessEnvironment &environment,
                          QStringList &ignored)
{
    const std::pair<const char16_t *, QString Endpoints::*> hosts[] = {
        {u"BREMO_GOOGLE_ENDPOINT", &Endpoints::google},
        {u"BREMO_GOOGLE_API_ENDPOINT", &Endpoints::googleApi},
        {u"BREMO_YOUDAO_ENDPOINT", &Endpoints::youdao},
        {u"BREMO_YOUDAO_VOICE_ENDPOINT", &Endpoints::youdaoVoice},
        {u"BREMO_LIBRETRANSLATE_URL", &Endpoints::libreTranslate},
    };
    for (const auto &[name, member] : hosts) {
        const QString variable = QString::fromUtf16(name);
        const QString value = environment.value(variable);
        if (value.isEmpty())
            continue;
        if (const std::optional<QString> webBase = WebBase(value))
            base.*member = *webBase;
        else
            ignored.append(variable);
    }
    base.libreTranslateKey = environment.value(u"BREMO_LIBRETRANSLATE_KEY"_s);
    return base;
}
