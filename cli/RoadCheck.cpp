#include "RoadCheck.h"

#include "ApertiumRules.h"
#include "LanguageCatalogue.h"
#include "RoadOutcome.h"
#include "Roads.h"
#include "ServiceStore.h"
#include "SpeechCheck.h"

#include <QLoggingCategory>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

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
    // The table is the output; why a road failed is in it. A maintainer who wants the log
    // lines too asks for them with QT_LOGGING_RULES, which outranks these rules.
    QLoggingCategory::setFilterRules(u"bremo.net.warning=false\nbremo.roads.warning=false"_s);
    RoadsSetup setup;
    setup.endpoints = endpoints;
    setup.services = ServicesForRun(ServiceStore(), QProcessEnvironment::systemEnvironment());
    // Each road has a budget of its own, and all are asked at once, so that the whole check
    // ends within 15 s whatever the hosts do: silence ends at the time-out, a host that drips
    // bytes at the deadline.
    setup.http.timeout = 10s;
    setup.http.deadline = 12s;
    setup.apertiumTimeout = 12s;
    // 你好 from Chinese into English, the window's own first pair.
    const TranslationRequest web{u"你好"_s, Engine::Google, 0, 1, {}};
    QList<std::pair<Road, TranslationRequest>> roads = {
        {Road::GoogleShort, web},
        {Road::GoogleLong, web},
        {Road::Youdao, web},
        {Road::GoogleApi, web},
    };
    // The official APIs whose key is set, under their --engine names; the key itself is never
    // shown.
    for (const Road road : {Road::DeepL, Road::GoogleCloud, Road::Baidu, Road::YoudaoApi}) {
        if (IsConfigured(*setup.services.find(RoadId(road))))
            roads.append({road, web});
    }
    if (!endpoints.libreTranslate.isEmpty())
        roads.append({Road::LibreTranslate, web});
    const auto apertium = ApertiumPair(InstalledApertiumModes(setup));
    roads.append({Road::Apertium,
                  {u"hello"_s,
                   Engine::ApertiumOnly,
                   apertium ? apertium->first : 0,
                   apertium ? apertium->second : 1,
                   {}}});

    SpeechCheck speech(endpoints, setup.http);
    // A road waits in an event loop of its own, so each runs on a thread of its own.
    QList<RoadAttempt> attempts(roads.size());
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype i = 0; i < roads.size(); ++i) {
        threads.emplace_back(QThread::create([&, i] {
            const auto &[road, request] = std::as_const(roads)[i];
            attempts[i] = AskRoad(road, request, setup);
        }));
        threads.back()->start();
    }
    for (const auto &thread : threads)
        thread->wait();

    QTextStream out(stdout);
    bool google = false;
    bool youdao = false;
    for (const RoadAttempt &attempt : std::as_const(attempts)) {
        const Road road = attempt.road;
        const bool ok = attempt.failure == Failure::None;
        out << qSetFieldWidth(15) << Qt::left << RoadId(road) << qSetFieldWidth(0) << ' '
            << qSetFieldWidth(30) << attempt.host << qSetFieldWidth(0) << ' '
            << (ok ? u"ok"_s : OutcomeWords(attempt)) << ' ' << attempt.milliseconds << " ms\n";
        // Every official API follows both engines' own roads.
        const bool keyed = setup.services.find(RoadId(road)) != nullptr;
        google |= ok && (road == Road::GoogleShort || road == Road::GoogleLong ||
                         road == Road::GoogleApi || keyed);
        youdao |= ok && (road == Road::Youdao || road == Road::GoogleApi || keyed);
    }
    speech.write(out);
    out.flush();
    return google && youdao ? 0 : 1;
}
