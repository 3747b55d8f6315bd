#include "Roads.h"

#include "ApertiumRules.h"
#include "BaiduRules.h"
#include "DeepLRules.h"
#include "GoogleApiRules.h"
#include "GoogleCloudRules.h"
#include "GoogleRules.h"
#include "LanguageCatalogue.h"
#include "LibreTranslateRules.h"
#include "ProgramRun.h"
#include "ResultCap.h"
#include "YoudaoApiRules.h"
#include "YoudaoRules.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QUrl>

#include <algorithm>
#include <iterator>

using namespace GetPostByXmlHttp;
using namespace Qt::StringLiterals;

// Why a road gave no translation when the exchange itself went well, which bremo.net does not
// see: for a maintainer, in fixed words.
Q_LOGGING_CATEGORY(lcRoads, "bremo.roads")

namespace {

struct RoadResult
{
    QString text;
    RoadAttempt attempt;
    bool abandoned = false;
};

QString CodeAt(int position)
{
    static const QStringList codes = LanguageCatalogue::build().codes;
    return CodeForPosition(codes, position).value_or(QString());
}

int TargetNow(const TranslationRequest &request)
{
    return request.currentTarget ? request.currentTarget() : request.targetPosition;
}

Failure FailureOf(NetFailure failure)
{
    switch (failure) {
    case NetFailure::None:
    case NetFailure::Abandoned:
        return Failure::None;
    case NetFailure::Refused:
        return Failure::Refused;
    case NetFailure::HostNotFound:
        return Failure::HostNotFound;
    case NetFailure::TimedOut:
        return Failure::TimedOut;
    case NetFailure::Broken:
        return Failure::Broken;
    case NetFailure::Redirected:
        return Failure::Redirected;
    }
    Q_UNREACHABLE();
    return Failure::Broken;
}

// A web road's outcome: the translation that read takes out of the reply, or why there is
// none. A translation counts whatever the status, as the roads' pages always have. When the
// wait was abandoned nothing is read: the window that read asks may be gone.
RoadResult Judged(const HttpReply &reply, const std::function<QString(const QString &)> &read)
{
    RoadResult result;
    result.abandoned = reply.failure == NetFailure::Abandoned;
    if (result.abandoned)
        return result;
    const QString text = read(reply.text);
    RoadAttempt &attempt = result.attempt;
    attempt.code = reply.status;
    if (reply.failure != NetFailure::None)
        attempt.failure = FailureOf(reply.failure);
    else if (text.size() > MaxResultLength)
        attempt.failure = Failure::TooLong;
    else if (!text.isEmpty())
        attempt.failure = Failure::None;
    else if (reply.redirected)
        attempt.failure = Failure::Redirected;
    else if (reply.status >= 400)
        attempt.failure = Failure::HttpStatus;
    else
        attempt.failure = Failure::NoTranslation;
    if (attempt.failure == Failure::None)
        result.text = text;
    return result;
}

// Youdao detects the languages itself and picks the target by its own rule; every road of
// its engine asks for that target, so that the road taken never changes the language.
QString TargetCode(const TranslationRequest &request)
{
    return request.engine == Engine::Youdao ? GoogleApi::YoudaoTargetCode(request.source)
                                            : CodeAt(request.targetPosition);
}

RoadResult AskGoogleApi(const TranslationRequest &request, const RoadsSetup &setup)
{
    const bool youdao = request.engine == Engine::Youdao;
    const GoogleApi::Request api = GoogleApi::RequestFor(
        setup.endpoints.googleApi, request.source,
        youdao ? u"auto"_s : CodeAt(request.sourcePosition), TargetCode(request));
    const HttpReply reply = api.formBody ? HttpPostReply(api.url, *api.formBody, setup.http)
                                         : HttpGetReply(api.url, setup.http);
    return Judged(reply, GoogleApi::ResultOfReply);
}

RoadResult AskLibreTranslate(const TranslationRequest &request, const RoadsSetup &setup)
{
    const bool youdao = request.engine == Engine::Youdao;
    const QByteArray body = LibreTranslate::RequestBody(
        request.source, youdao ? u"auto"_s : CodeAt(request.sourcePosition), TargetCode(request),
        setup.endpoints.libreTranslateKey);
    const HttpReply reply =
        HttpPostJson(LibreTranslate::RequestUrl(setup.endpoints.libreTranslate), body, setup.http);
    RoadResult result = Judged(reply, LibreTranslate::ResultOfReply);
    if (!result.abandoned && result.attempt.failure != Failure::None)
        result.attempt.detail = LibreTranslate::RefusalOfReply(reply.text);
    return result;
}

RoadResult AskApertium(const TranslationRequest &request, const RoadsSetup &setup)
{
    RoadResult result;
    RoadAttempt &attempt = result.attempt;
    // Apertium cannot detect: the source is the source list's language, for Youdao too.
    const std::optional<QString> mode = Apertium::ModeFor(
        InstalledApertiumModes(setup), CodeAt(request.sourcePosition), TargetCode(request));
    if (!mode) {
        attempt.failure = Failure::NotInstalled;
        return result;
    }
    attempt.host = *mode;
    const ProcessEnd end =
        RunProgram(u"apertium"_s, Apertium::Arguments(*mode), Apertium::Input(request.source),
                   {setup.apertiumTimeout, 1024 * 1024, setup.http.context});
    switch (end.kind) {
    case ProcessEnd::Kind::Finished:
        attempt.code = end.exitCode;
        result.text = end.exitCode == 0 ? Apertium::ResultOfOutput(end.output) : QString();
        attempt.failure = end.exitCode != 0                      ? Failure::EngineFailed
                          : result.text.size() > MaxResultLength ? Failure::TooLong
                          : result.text.isEmpty()                ? Failure::NoTranslation
                                                                 : Failure::None;
        if (attempt.failure != Failure::None)
            result.text.clear();
        break;
    case ProcessEnd::Kind::NotStarted:
        attempt.failure = Failure::NotInstalled;
        break;
    case ProcessEnd::Kind::TimedOut:
        attempt.failure = Failure::TimedOut;
        break;
    case ProcessEnd::Kind::OverCap:
        attempt.failure = Failure::TooLong;
        break;
    case ProcessEnd::Kind::Abandoned:
        result.abandoned = true;
        break;
    }
    return result;
}

RoadResult AskGoogleShort(const TranslationRequest &request, const RoadsSetup &setup)
{
    const HttpReply reply = HttpGetReply(
        Google::ShortRoadUrl(setup.endpoints.google, request.source, CodeAt(request.sourcePosition),
                             CodeAt(request.targetPosition)),
        setup.http);
    return Judged(reply, [&request](const QString &text) {
        return Google::ResultOfShortRoad(text, TargetNow(request));
    });
}

RoadResult AskGoogleLong(const TranslationRequest &request, const RoadsSetup &setup)
{
    const HttpReply reply =
        HttpPostReply(Google::LongRoadUrl(setup.endpoints.google),
                      Google::LongRoadBody(request.source, CodeAt(request.sourcePosition),
                                           CodeAt(request.targetPosition)),
                      setup.http);
    return Judged(reply, [&request](const QString &text) {
        return Google::ResultOfLongRoad(text, TargetNow(request));
    });
}

RoadResult AskYoudao(const TranslationRequest &request, const RoadsSetup &setup)
{
    const HttpReply reply = HttpPostReply(Youdao::RequestUrl(setup.endpoints.youdao),
                                          Youdao::RequestBody(request.source), setup.http);
    return Judged(reply, Youdao::ResultOfPage);
}

QString HostIn(const QString &base)
{
    return QUrl(base).host();
}

// The official APIs: the user's key, and the rules' request and reading for each.
struct KeyedRules
{
    Road road;
    std::optional<KeyedRequest> (*request)(const KeyedQuery &query, const ApiKey &key);
    KeyedReply (*read)(QStringView reply);
};

QString Salt()
{
    return QString::number(QRandomGenerator::global()->bounded(1u << 30));
}

const KeyedRules Keyed[] = {
    {Road::DeepL,
     [](const KeyedQuery &query, const ApiKey &key) {
         return DeepL::RequestFor(query, key.secret);
     },
     DeepL::ReadReply},
    {Road::GoogleCloud,
     [](const KeyedQuery &query, const ApiKey &key) {
         return GoogleCloud::RequestFor(query, key.secret);
     },
     GoogleCloud::ReadReply},
    {Road::Baidu,
     [](const KeyedQuery &query, const ApiKey &key) {
         return Baidu::RequestFor(query, key, Salt());
     },
     Baidu::ReadReply},
    {Road::YoudaoApi,
     [](const KeyedQuery &query, const ApiKey &key) {
         return YoudaoApi::RequestFor(query, key, Salt(), QDateTime::currentSecsSinceEpoch());
     },
     YoudaoApi::ReadReply},
};

const KeyedService &ServiceOf(Road road, const RoadsSetup &setup)
{
    return *setup.services.find(RoadId(road));
}

// The service's code and message, without the secret should a service quote it back.
QString RefusalWords(const KeyedReply &reply, int status, const ApiKey &key)
{
    const QString code = reply.code == QString::number(status) ? QString() : reply.code;
    QString words = code;
    if (!code.isEmpty() && !reply.message.isEmpty())
        words += u' ';
    words += reply.message;
    if (!key.secret.isEmpty())
        words.replace(key.secret, u"…"_s);
    return words;
}

template<Road road> RoadResult AskKeyed(const TranslationRequest &request, const RoadsSetup &setup)
{
    const KeyedRules &rules = *std::find_if(std::begin(Keyed), std::end(Keyed),
                                            [](const KeyedRules &r) { return r.road == road; });
    const KeyedService &service = ServiceOf(road, setup);
    const bool youdao = request.engine == Engine::Youdao;
    const std::optional<KeyedRequest> keyed =
        rules.request({HostOf(service), request.source,
                       youdao ? u"auto"_s : CodeAt(request.sourcePosition), TargetCode(request)},
                      service.key);
    if (!keyed) {
        RoadResult result;
        result.attempt.failure = Failure::Unsupported;
        return result;
    }
    const HttpReply reply =
        HttpPostWithHeaders(keyed->url, keyed->headers, keyed->body, setup.http);
    RoadResult result =
        Judged(reply, [&rules](const QString &text) { return rules.read(text).translation; });
    RoadAttempt &attempt = result.attempt;
    if (result.abandoned || attempt.failure == Failure::None)
        return result;
    const KeyedReply refusal = rules.read(reply.text);
    if (attempt.failure == Failure::NoTranslation && !refusal.code.isEmpty())
        attempt.failure = Failure::ServiceRefused;
    attempt.detail = RefusalWords(refusal, reply.status, service.key);
    return result;
}

template<Road road> QString KeyedHost(const RoadsSetup &setup)
{
    return HostIn(HostOf(ServiceOf(road, setup)));
}

// A road as the order knows it: adding a road is adding an entry here.
struct RoadEntry
{
    Road road;
    QString (*host)(const RoadsSetup &setup);
    RoadResult (*ask)(const TranslationRequest &request, const RoadsSetup &setup);
    // Asked even when a road before it could not reach the same host.
    bool triesAnUnreachableHost;
    bool speaks; // by the engine's speech rule
};

const RoadEntry Entries[] = {
    {Road::GoogleShort, [](const RoadsSetup &s) { return HostIn(s.endpoints.google); },
     AskGoogleShort, true, true},
    // The web form's reply is a whole page: no pronunciation comes with it.
    {Road::GoogleLong, [](const RoadsSetup &s) { return HostIn(s.endpoints.google); },
     AskGoogleLong, true, false},
    {Road::Youdao, [](const RoadsSetup &s) { return HostIn(s.endpoints.youdao); }, AskYoudao, true,
     true},
    {Road::GoogleApi, [](const RoadsSetup &s) { return HostIn(s.endpoints.googleApi); },
     AskGoogleApi, false, true},
    {Road::LibreTranslate, [](const RoadsSetup &s) { return HostIn(s.endpoints.libreTranslate); },
     AskLibreTranslate, true, true},
    // Apertium's translation is spoken by the offline voice: no speech host knows its road.
    {Road::Apertium, [](const RoadsSetup &) { return u"apertium"_s; }, AskApertium, true, true},
    // The official APIs live on hosts of their own.
    {Road::DeepL, KeyedHost<Road::DeepL>, AskKeyed<Road::DeepL>, true, true},
    {Road::GoogleCloud, KeyedHost<Road::GoogleCloud>, AskKeyed<Road::GoogleCloud>, true, true},
    {Road::Baidu, KeyedHost<Road::Baidu>, AskKeyed<Road::Baidu>, true, true},
    {Road::YoudaoApi, KeyedHost<Road::YoudaoApi>, AskKeyed<Road::YoudaoApi>, true, true},
};

const RoadEntry &EntryOf(Road road)
{
    return *std::find_if(std::begin(Entries), std::end(Entries),
                         [road](const RoadEntry &entry) { return entry.road == road; });
}

RoadResult Ask(Road road, const TranslationRequest &request, const RoadsSetup &setup)
{
    QElapsedTimer clock;
    clock.start();
    const RoadEntry &entry = EntryOf(road);
    RoadResult result = entry.ask(request, setup);
    result.attempt.road = road;
    if (result.attempt.host.isEmpty())
        result.attempt.host = entry.host(setup);
    result.attempt.milliseconds = clock.elapsed();
    return result;
}

// The road an engine asks first, and whether it is the only one.
struct EngineStart
{
    Engine engine;
    Road road;
    bool alone;
};

constexpr EngineStart Starts[] = {
    {Engine::Google, Road::GoogleShort, false},
    {Engine::Youdao, Road::Youdao, false},
    {Engine::LibreTranslateOnly, Road::LibreTranslate, true},
    {Engine::ApertiumOnly, Road::Apertium, true},
    {Engine::DeepLOnly, Road::DeepL, true},
    {Engine::GoogleCloudOnly, Road::GoogleCloud, true},
    {Engine::BaiduOnly, Road::Baidu, true},
    {Engine::YoudaoApiOnly, Road::YoudaoApi, true},
};

// The engine's own official API first, then the others in this order.
constexpr Road KeyedOrder[] = {Road::DeepL, Road::Baidu, Road::YoudaoApi, Road::GoogleCloud};

// The user's order rearranges the roads it names among the places they hold, so that a road
// named before the engine's own is asked first.
void Rearrange(QList<Road> &order, const QStringList &user)
{
    QList<qsizetype> places;
    QList<Road> named;
    for (qsizetype place = 0; place < order.size(); ++place) {
        if (user.contains(RoadId(order[place]))) {
            places.append(place);
            named.append(order[place]);
        }
    }
    std::stable_sort(named.begin(), named.end(), [&user](Road a, Road b) {
        return user.indexOf(RoadId(a)) < user.indexOf(RoadId(b));
    });
    for (qsizetype i = 0; i < places.size(); ++i)
        order[places[i]] = named[i];
}

const EngineStart &StartOf(Engine engine)
{
    return *std::find_if(std::begin(Starts), std::end(Starts),
                         [engine](const EngineStart &start) { return start.engine == engine; });
}

void LogFailure(const RoadAttempt &attempt)
{
    const char *reason = nullptr;
    switch (attempt.failure) {
    case Failure::Redirected:
        reason = "answered from another page";
        break;
    case Failure::NoTranslation:
        reason = "no translation in the reply";
        break;
    case Failure::EngineFailed:
        reason = "the program failed";
        break;
    case Failure::TooLong:
        reason = "the result is over the cap";
        break;
    default:
        return; // bremo.net said why, or nothing failed
    }
    qCWarning(lcRoads, "%ls (%ls): %s, status or exit code %d",
              qUtf16Printable(RoadId(attempt.road)), qUtf16Printable(attempt.host), reason,
              attempt.code);
}

bool IsUnreached(Failure failure)
{
    return failure == Failure::Refused || failure == Failure::HostNotFound ||
           failure == Failure::TimedOut || failure == Failure::Broken;
}

// Whether a road that the network failed to reach leaves road's host unreachable too: then
// only roads that try anyway are asked.
bool Skipped(Road road, const QList<RoadAttempt> &attempts, const RoadsSetup &setup)
{
    const RoadEntry &entry = EntryOf(road);
    if (entry.triesAnUnreachableHost)
        return false;
    const QString host = entry.host(setup);
    return std::any_of(attempts.begin(), attempts.end(), [&](const RoadAttempt &attempt) {
        return IsUnreached(attempt.failure) && EntryOf(attempt.road).host(setup) == host;
    });
}

} // namespace

Translation TranslateByRoads(const TranslationRequest &request, const RoadsSetup &setup)
{
    Translation translation;
    if (request.source.size() > MaxResultLength) {
        translation.sourceTooLong = true;
        return translation;
    }
    for (const Road road : RoadOrder(request, setup)) {
        if (Skipped(road, translation.attempts, setup))
            continue;
        const RoadResult result = Ask(road, request, setup);
        if (result.abandoned) {
            translation.abandoned = true;
            return translation;
        }
        translation.attempts.append(result.attempt);
        LogFailure(result.attempt);
        if (result.attempt.failure == Failure::None) {
            translation.text = result.text;
            translation.road = road;
            return translation;
        }
    }
    return translation;
}

QList<Road> RoadOrder(const TranslationRequest &request, const RoadsSetup &setup)
{
    const EngineStart &start = StartOf(request.engine);
    const Road first =
        start.road == Road::GoogleShort && Google::RoadFor(request.source) != Google::Road::Short
            ? Road::GoogleLong
            : start.road;
    if (start.alone)
        return {first};
    QList<Road> order{first};
    const Road own = request.engine == Engine::Youdao ? Road::YoudaoApi : Road::GoogleCloud;
    QList<Road> keyed{own};
    for (const Road road : KeyedOrder) {
        if (road != own)
            keyed.append(road);
    }
    for (const Road road : keyed) {
        if (IsConfigured(ServiceOf(road, setup)))
            order.append(road);
    }
    order.append(Road::GoogleApi);
    if (!setup.endpoints.libreTranslate.isEmpty())
        order.append(Road::LibreTranslate);
    order.append(Road::Apertium);
    Rearrange(order, setup.services.order);
    return order;
}

bool RoadSpeaks(Road road)
{
    return EntryOf(road).speaks;
}

RoadAttempt AskRoad(Road road, const TranslationRequest &request, const RoadsSetup &setup)
{
    return Ask(road, request, setup).attempt;
}

QStringList InstalledApertiumModes(const RoadsSetup &setup)
{
    QString folder = setup.apertiumModes;
    if (folder.isEmpty()) {
        const QString dataDir = qEnvironmentVariable("APERTIUM_DATADIR");
        folder = dataDir.isEmpty() ? u"/usr/share/apertium/modes"_s : dataDir + u"/modes"_s;
    }
    return Apertium::ModesAmong(QDir(folder).entryList(QDir::Files));
}
