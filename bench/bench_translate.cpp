#include "DeepLRules.h"
#include "FormHarness.h"
#include "HttpText.h"
#include "Roads.h"
#include "StandInServer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

const QByteArray Reply = "[[[\"Hello world\",\"你好世界\",\"\",\"\"]],,\"zh-CN\"]";

QByteArray bareGet(const QUrl &url)
{
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return reply->readAll();
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A click on 翻译 that must bring a translation into the emptied result box: how long it took.
double timedClick(benchmark::State &state, const FormHarness &h)
{
    h.child<QPlainTextEdit>("ResultContent")->clear();
    const auto start = Clock::now();
    h.translate();
    const double ms = millisecondsSince(start);
    if (h.box("ResultContent").isEmpty())
        state.SkipWithError("the translation did not arrive");
    return ms;
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// From the click on 翻译 to the result box written, beside a bare request of the same URL and
// beside the window's own HTTP call of it, made in the same iteration: the window's share is
// the difference to the latter.
void BM_ClickToResult(benchmark::State &state)
{
    StandInServer server;
    server.serve("/translate_a/t", CannedReply::page(200, Reply));
    const QString base = server.origin();
    FormHarness h(base);
    h.setSource(u"你好世界"_s);
    h.translate();
    const QUrl sameUrl = QUrl::fromEncoded(base.toLatin1() + server.requests().last().target);

    std::vector<double> clicks;
    std::vector<double> bares;
    std::vector<double> calls;
    auto timeClick = [&] {
        clicks.push_back(timedClick(state, h));
    };
    auto timeBare = [&] {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(bareGet(sameUrl));
        bares.push_back(millisecondsSince(start));
    };
    auto timeCall = [&] {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(
            GetPostByXmlHttp::HttpGetText(sameUrl.toString(QUrl::FullyEncoded)));
        calls.push_back(millisecondsSince(start));
    };
    // Alternate which goes first, so neither always meets a server still closing the last
    // connection.
    bool clickFirst = true;
    for (auto _ : state) {
        if (clickFirst) {
            timeClick();
            timeCall();
            timeBare();
        } else {
            timeBare();
            timeCall();
            timeClick();
        }
        clickFirst = !clickFirst;
    }
    const double click = median(clicks);
    const double bare = median(bares);
    const double call = median(calls);
    state.counters["click_ms_median"] = click;
    state.counters["bare_ms_median"] = bare;
    state.counters["httpgettext_ms_median"] = call;
    state.counters["ratio_to_bare"] = click / bare;
    // What the window adds to the request it makes: the command, parsing and the widgets.
    state.counters["window_overhead_ms_median"] = click - call;
}
BENCHMARK(BM_ClickToResult)->Iterations(300)->Unit(benchmark::kMillisecond);

// From the click to the result when the engine's own road refuses (HTTP 429) and Google's
// JSON road answers, beside the first road's failure as the window's HTTP call meets it plus
// a bare request of the second road's URL, made in the same iteration: what the second road
// adds against what a bare request of it costs.
void BM_SecondRoad(benchmark::State &state)
{
    StandInServer server;
    server.serve("/translate_a/t", CannedReply::page(429, "<html>sorry</html>"));
    server.serve(
        "/translate_a/single",
        CannedReply::page(200, R"({"sentences":[{"trans":"Hello world"}]})", "application/json"));
    const QString base = server.origin();
    FormHarness h(base);
    h.setSource(u"你好世界"_s);
    h.translate();
    const QUrl first = QUrl::fromEncoded(base.toLatin1() + server.requests()[0].target);
    const QUrl second = QUrl::fromEncoded(base.toLatin1() + server.requests()[1].target);

    std::vector<double> clicks;
    std::vector<double> failures;
    std::vector<double> bares;
    for (auto _ : state) {
        clicks.push_back(timedClick(state, h));
        auto start = Clock::now();
        benchmark::DoNotOptimize(GetPostByXmlHttp::HttpGetText(first.toString(QUrl::FullyEncoded)));
        failures.push_back(millisecondsSince(start));
        start = Clock::now();
        benchmark::DoNotOptimize(bareGet(second));
        bares.push_back(millisecondsSince(start));
    }
    const double failure = median(failures);
    const double bare = median(bares);
    state.counters["click_ms_median"] = median(clicks);
    state.counters["first_failure_ms_median"] = failure;
    state.counters["bare_second_ms_median"] = bare;
    state.counters["ratio"] = median(clicks) / (failure + bare);
}
BENCHMARK(BM_SecondRoad)->Iterations(300)->Unit(benchmark::kMillisecond);

QByteArray barePost(const QUrl &url, const KeyedRequest &request)
{
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest post(url);
    for (const auto &[name, value] : request.headers)
        post.setRawHeader(name, value);
    std::unique_ptr<QNetworkReply> reply(manager.post(post, request.body));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return reply->readAll();
}

// A translation over an official API with the user's key (DeepL, asked alone), beside a bare
// POST of the same request to the same stand-in.
void BM_KeyedRoad(benchmark::State &state)
{
    StandInServer server;
    server.serve(
        "/v2/translate",
        CannedReply::page(200, R"({"translations":[{"text":"Hello world"}]})", "application/json"));
    RoadsSetup setup;
    KeyedService &deepl = *setup.services.find(u"deepl");
    deepl.key.secret = u"bench-key:fx"_s;
    deepl.host = server.origin();
    const TranslationRequest request{u"你好世界"_s, Engine::DeepLOnly, 0, 1, {}};
    const KeyedRequest same = *DeepL::RequestFor(
        {server.origin(), request.source, u"zh-CN"_s, u"en"_s}, deepl.key.secret);

    std::vector<double> roads;
    std::vector<double> exchanges;
    std::vector<double> bares;
    for (auto _ : state) {
        auto start = Clock::now();
        const Translation translation = TranslateByRoads(request, setup);
        roads.push_back(millisecondsSince(start));
        if (translation.text.isEmpty())
            state.SkipWithError("the translation did not arrive");
        start = Clock::now();
        benchmark::DoNotOptimize(
            GetPostByXmlHttp::HttpPostWithHeaders(same.url, same.headers, same.body, setup.http));
        exchanges.push_back(millisecondsSince(start));
        start = Clock::now();
        benchmark::DoNotOptimize(barePost(QUrl(same.url), same));
        bares.push_back(millisecondsSince(start));
    }
    state.counters["road_ms_median"] = median(roads);
    state.counters["exchange_ms_median"] = median(exchanges);
    state.counters["bare_ms_median"] = median(bares);
    state.counters["ratio"] = median(roads) / median(bares);
    state.counters["ratio_to_exchange"] = median(roads) / median(exchanges);
}
BENCHMARK(BM_KeyedRoad)->Iterations(300)->Unit(benchmark::kMillisecond);

// From the click to the result when every web host refuses and Apertium translates English into
// Spanish, beside the apertium program run alone on the same text.
void BM_ApertiumRoad(benchmark::State &state)
{
    FormHarness h; // every service at a port that refuses
    const QString text = u"Good morning, my friend. The weather is fine today."_s;
    h.child<QComboBox>("Combo1")->setCurrentIndex(1);  // 英语
    h.child<QComboBox>("Combo2")->setCurrentIndex(46); // 西班牙语
    h.setSource(text);
    std::vector<double> clicks;
    std::vector<double> alones;
    for (auto _ : state) {
        clicks.push_back(timedClick(state, h));
        const auto start = Clock::now();
        QProcess alone;
        alone.start(u"apertium"_s, {u"-u"_s, u"eng-spa"_s});
        alone.write(text.toUtf8());
        alone.closeWriteChannel();
        alone.waitForFinished();
        benchmark::DoNotOptimize(alone.readAllStandardOutput());
        alones.push_back(millisecondsSince(start));
    }
    state.counters["click_ms_median"] = median(clicks);
    state.counters["apertium_alone_ms_median"] = median(alones);
    state.counters["ratio"] = median(clicks) / median(alones);
}
BENCHMARK(BM_ApertiumRoad)->Iterations(31)->Unit(benchmark::kMillisecond);

// The window's worst case: the longest result it shows, one unbroken run that the result box
// must break anywhere, from the click until the box has drawn its start and its end. The argument
// is the result's length; one past the cap is refused and shows nothing.
void BM_LongestResult(benchmark::State &state)
{
    const QByteArray page =
        "<input name=gtrans value=\"" + QByteArray(state.range(0), 'x') + "\"><div id=sug_exp>";
    StandInServer server;
    server.serve("/", CannedReply::page(200, page));
    FormHarness h(server.origin());
    h.form->show();
    h.setSource(QString(220, u'a')); // the long road, which reads a whole web page
    auto *result = h.child<QPlainTextEdit>("ResultContent");
    for (auto _ : state) {
        result->clear();
        QApplication::processEvents();
        h.translate();
        QApplication::processEvents();
        benchmark::DoNotOptimize(result->grab());
        // And its end, where the user scrolls to read the rest.
        result->moveCursor(QTextCursor::End);
        QApplication::processEvents();
        benchmark::DoNotOptimize(result->grab());
    }
    state.counters["shown_chars"] = double(result->toPlainText().size());
}
BENCHMARK(BM_LongestResult)->Arg(50000)->Arg(50001)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
