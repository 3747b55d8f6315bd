#pragma once

#include "Endpoints.h"
#include "HttpText.h"
#include "RoadOutcome.h"
#include "ServiceSettings.h"

#include <QList>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// Who translates: the window's two engines, each with the roads that follow its own, or one
// road alone (script mode's --engine apertium, libretranslate, deepl, ...).
enum class Engine
{
    Google,
    Youdao,
    LibreTranslateOnly,
    ApertiumOnly,
    DeepLOnly,
    GoogleCloudOnly,
    BaiduOnly,
    YoudaoApiOnly
};

struct TranslationRequest
{
    QString source; // lines separated by CR LF
    Engine engine = Engine::Google;
    int sourcePosition = 0; // the language lists' positions (the catalogue's)
    int targetPosition = 1;
    // The target list as it is when a reply has come (the user may change it during the
    // wait); unset: targetPosition.
    std::function<int()> currentTarget;
};

struct RoadsSetup
{
    Endpoints endpoints = Endpoints::builtIn();
    GetPostByXmlHttp::HttpOptions http;
    // Where the offline engine keeps its modes; empty: $APERTIUM_DATADIR/modes, else
    // /usr/share/apertium/modes.
    QString apertiumModes;
    std::chrono::milliseconds apertiumTimeout{20000};
    // The official APIs that have the user's key, and the user's order of roads.
    ServiceSettings services = ServiceSettings::defaults();
};

struct Translation
{
    QString text; // empty when no road gave one
    std::optional<Road> road;
    QList<RoadAttempt> attempts; // every road asked, in order
    bool abandoned = false;      // the window went or the application quit during a wait
    // The source is longer than any result may be (MaxResultLength): no road was asked.
    bool sourceTooLong = false;
};

// Asks the roads in their order until one gives a translation: the engine's own road; the
// official APIs whose key is set, the engine's own first, then DeepL, Baidu and the other;
// after a failure with an answer from the service, Google's JSON road; then the user's
// LibreTranslate server, when one is set; then Apertium, when a mode of its joins the two
// languages. The user's order may rearrange them. Waits with the caller's events flowing. A source
// too long to come back whole is refused before any request.
Translation TranslateByRoads(const TranslationRequest &request, const RoadsSetup &setup);

// The roads a translation asks, in their order; a road after one that the network failed to
// reach is left out when it lives on the same host and gives up there.
QList<Road> RoadOrder(const TranslationRequest &request, const RoadsSetup &setup);

// Whether a translation by road has a pronunciation, by the engine's speech rule.
bool RoadSpeaks(Road road);

// One request on one road, as the translation would make it, for bremo --check.
RoadAttempt AskRoad(Road road, const TranslationRequest &request, const RoadsSetup &setup);

// The installed Apertium modes.
QStringList InstalledApertiumModes(const RoadsSetup &setup);
