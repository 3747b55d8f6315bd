#include "Endpoints.h"

#include "BuildConfig.h"

Endpoints Endpoints::builtIn()
{
    return {
        QString::fromUtf16(BREMO_GOOGLE_ENDPOINT),
        QString::fromUtf16(BREMO_YOUDAO_ENDPOINT),
        QString::fromUtf16(BREMO_YOUDAO_VOICE_ENDPOINT),
        QString::fromUtf16(BREMO_FORUM_URL),
    };
}
