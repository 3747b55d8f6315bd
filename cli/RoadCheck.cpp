#include "RoadCheck.h"

#include "ApertiumRules.h"
#include "LanguageCatalogue.h"
#include "RoadOutcome.h"
#include "Roads.h"

#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A catalogue pair that an installed Apertium mode joins, as the translation would find it.
std::optional<std::pair<int, int>> ApertiumPair(const QStringList &modes)
{
    const QStringList codes = LanguageCatalogue::build().codes;
    for (int source = 0; source < codes.size(); ++source) {
        for (int target = 0; target < codes.size(); ++target) {
            if (source != target && Apertium::ModeFor(modes, codes[source], codes[target]))
                return std::pair{source, target};
        }
    }
    return std::nullopt;
}

} // namespace

int RunRoadCheck(const Endpoints &endpoints)
{
    RoadsSetup setup;
    setup.endpoints = endpoints;
    // 你好 from Chinese into English, the window's own first pair.
    const TranslationRequest web{u"你好"_s, Engine::Google, 0, 1, {}};
    QList<std::pair<Road, TranslationRequest>> roads = {
        {Road::GoogleShort, web},
        {Road::GoogleLong, web},
        {Road::Youdao, web},
        {Road::GoogleApi, web},
    };
    if (!endpoints.libreTranslate.isEmpty())
        roads.append({Road::LibreTranslate, web});
    const auto apertium = ApertiumPair(InstalledApertiumModes(setup));
    roads.append({Road::Apertium,
                  {u"hello"_s,
                   Engine::ApertiumOnly,
                   apertium ? apertium->first : 0,
                   apertium ? apertium->second : 1,
                   {}}});

    QTextStream out(stdout);
    bool google = false;
    bool youdao = false;
    for (const auto &[road, request] : roads) {
        const RoadAttempt attempt = AskRoad(road, request, setup);
        const bool ok = attempt.failure == Failure::None;
        out << qSetFieldWidth(15) << Qt::left << RoadId(road) << qSetFieldWidth(0) << ' '
            << qSetFieldWidth(30) << attempt.host << qSetFieldWidth(0) << ' '
            << (ok ? u"ok"_s : OutcomeWords(attempt)) << ' ' << attempt.milliseconds << " ms\n";
        out.flush();
        google |= ok && (road == Road::GoogleShort || road == Road::GoogleLong ||
                         road == Road::GoogleApi);
        youdao |= ok && (road == Road::Youdao || road == Road::GoogleApi);
    }
    return google && youdao ? 0 : 1;
}
