#pragma once

#include <QString>

// Where the services live: bases without a trailing slash; the engines append fixed paths.
struct Endpoints
{
    QString google;      // short road, long road and speech
    QString youdao;      // web translation
    QString youdaoVoice; // speech
    QString forum;       // the page offered when the window closes

    // The services the program was built for.
    static Endpoints builtIn();
};
