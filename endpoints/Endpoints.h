#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// Where the services live: bases without a trailing slash; the engines append fixed paths.
struct Endpoints
{
    QString google;      // short road, long road and speech
    QString youdao;      // web translation
    QString youdaoVoice; // speech
    QString forum;       // the page offered when the window closes
    QString googleApi;   // Google's JSON road
    // A LibreTranslate server of the user's own, and its key; no server: no such road.
    QString libreTranslate;
    QString libreTranslateKey;

    // The services the program was built for.
    static Endpoints builtIn();
};

// base with the hosts that the environment names instead (BREMO_GOOGLE_ENDPOINT,
// BREMO_GOOGLE_API_ENDPOINT, BREMO_YOUDAO_ENDPOINT, BREMO_YOUDAO_VOICE_ENDPOINT,
// BREMO_LIBRETRANSLATE_URL, BREMO_LIBRETRANSLATE_KEY): a mirror or a company gateway. A value
// that is no http or https address is left out and its variable's name added to ignored.
Endpoints WithEnvironment(Endpoints base, const QProcessEnvironment &environment,
                          QStringList &ignored);

// An http or https base with a host, without the trailing slash the engines' paths bring;
// nothing for any other value.
std::optional<QString> WebBase(const QString &value);
