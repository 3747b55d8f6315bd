#include "HttpText.h"
#include "StandInServer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <sys/resource.h>

#include <chrono>
#include <memory>

using namespace GetPostByXmlHttp;
using namespace TestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

const QByteArray smallBody = QByteArray("q=%E4%B8%AD&").repeated(5) + "from=zh&to=en";
const QByteArray smallReply = QByteArray("<textarea>translation</textarea>").repeated(3);

// User and system time of the whole process, every thread included (Qt's network thread and
// the stand-in server too).
double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QByteArray barePost(QNetworkAccessManager &manager, const QUrl &url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    std::unique_ptr<QNetworkReply> reply(manager.post(request, smallBody));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return reply->readAll();
}

void BM_CpuWhileReplyHeldBack(benchmark::State &state)
{
    StandInServer server;
    CannedReply held = CannedReply::page(200, smallReply);
    held.delay = 2s;
    server.serve("/held", held);
    const QString url = server.url(u"/held");
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds();
        const Clock::time_point wallBefore = Clock::now();
        const QString text = HttpPostText(url, QString::fromLatin1(smallBody));
        wall += secondsSince(wallBefore);
        cpu += processCpuSeconds() - cpuBefore;
        if (text.isEmpty())
            state.SkipWithError("no reply");
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
    state.counters["cpu_per_wall"] = cpu / wall;
}
BENCHMARK(BM_CpuWhileReplyHeldBack)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_SmallPost_HttpPostText(benchmark::State &state)
{
    StandInServer server;
    server.serve("/translate", CannedReply::page(200, smallReply));
    const QString url = server.url(u"/translate");
    const QString body = QString::fromLatin1(smallBody);
    for (auto _ : state) {
        if (HttpPostText(url, body).isEmpty())
            state.SkipWithError("no reply");
    }
}
BENCHMARK(BM_SmallPost_HttpPostText)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same exchange with a manager made for the request, as HttpPostText makes one per call.
void BM_SmallPost_BareManagerPerRequest(benchmark::State &state)
{
    StandInServer server;
    server.serve("/translate", CannedReply::page(200, smallReply));
    const QUrl url(server.url(u"/translate"));
    for (auto _ : state) {
        QNetworkAccessManager manager;
        if (barePost(manager, url).isEmpty())
            state.SkipWithError("no reply");
    }
}
BENCHMARK(BM_SmallPost_BareManagerPerRequest)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same exchange over one manager whose connection stays open between requests.
void BM_SmallPost_BareSharedManager(benchmark::State &state)
{
    StandInServer server;
    server.serve("/translate", CannedReply::page(200, smallReply));
    const QUrl url(server.url(u"/translate"));
    QNetworkAccessManager manager;
    for (auto _ : state) {
        if (barePost(manager, url).isEmpty())
            state.SkipWithError("no reply");
    }
}
BENCHMARK(BM_SmallPost_BareSharedManager)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The three in turn within each iteration, so that they share the machine's mood, and the
// ratios of HttpPostText's round trip to each bare one.
void BM_SmallPost_SideBySide(benchmark::State &state)
{
    StandInServer server;
    server.serve("/translate", CannedReply::page(200, smallReply));
    const QString url = server.url(u"/translate");
    const QString body = QString::fromLatin1(smallBody);
    QNetworkAccessManager shared;
    double viaHttpPostText = 0;
    double bareFresh = 0;
    double bareShared = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        const bool answered = !HttpPostText(url, body).isEmpty();
        viaHttpPostText += secondsSince(start);
        start = Clock::now();
        QNetworkAccessManager fresh;
        const bool freshAnswered = !barePost(fresh, QUrl(url)).isEmpty();
        bareFresh += secondsSince(start);
        start = Clock::now();
        const bool sharedAnswered = !barePost(shared, QUrl(url)).isEmpty();
        bareShared += secondsSince(start);
        if (!answered || !freshAnswered || !sharedAnswered)
            state.SkipWithError("no reply");
    }
    const auto perIteration = [](double seconds) {
        return benchmark::Counter(seconds * 1e6, benchmark::Counter::kAvgIterations);
    };
    state.counters["http_post_text_us"] = perIteration(viaHttpPostText);
    state.counters["bare_fresh_us"] = perIteration(bareFresh);
    state.counters["bare_shared_us"] = perIteration(bareShared);
    state.counters["ratio_to_fresh"] = viaHttpPostText / bareFresh;
    state.counters["ratio_to_shared"] = viaHttpPostText / bareShared;
}
BENCHMARK(BM_SmallPost_SideBySide)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QCoreApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
