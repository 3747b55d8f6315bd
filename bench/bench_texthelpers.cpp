#include "GetPostByXmlHttp.h"

#include <QByteArray>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

using namespace Qt::StringLiterals;
using namespace GetPostByXmlHttp;

namespace {

// Input sizes, counted in UTF-8 bytes.
constexpr int64_t KiB = 1024;
constexpr int64_t MiB = 1024 * KiB;
const std::vector<int64_t> Sizes = {1 * KiB, 64 * KiB, 1 * MiB, 16 * MiB};

// Repeats unit until the text's UTF-8 form is utf8Bytes long, topping up with ASCII.
QString grown(const QString &unit, int64_t utf8Bytes)
{
    const int64_t unitBytes = unit.toUtf8().size();
    QString text;
    text.reserve(utf8Bytes);
    for (int64_t n = utf8Bytes / unitBytes; n > 0; --n)
        text += unit;
    text += QString(utf8Bytes - (utf8Bytes / unitBytes) * unitBytes, u'x');
    return text;
}

QString mixedText(int64_t utf8Bytes)
{
    return grown(u"Bremo 多国语言在线互译工具 translates 中文 and English, 第 42 次. "_s,
                 utf8Bytes);
}

void reportBytes(benchmark::State &state)
{
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_UrlEncodeUtf8(benchmark::State &state)
{
    const QString text = mixedText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(UrlEncodeUtf8(text));
    reportBytes(state);
}

// Qt's encoder on bytes already converted; it leaves unreserved ASCII as it is, so it has
// less to write than UrlEncodeUtf8, which escapes every byte.
void BM_ToPercentEncoding(benchmark::State &state)
{
    const QByteArray utf8 = mixedText(state.range(0)).toUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(utf8.toPercentEncoding());
    reportBytes(state);
}

// The markers sit so that both searches cross the whole text: the start marker halfway,
// the end marker at the very end.
QString enclosedText(int64_t utf8Bytes)
{
    const QString start = u"name=gtrans value=\""_s;
    const QString end = u"\"><div id=sug_exp>"_s;
    const int64_t half = (utf8Bytes - start.size() - end.size()) / 2;
    return mixedText(half) + start + mixedText(half) + end;
}

void BM_TextBetween(benchmark::State &state)
{
    const QString text = enclosedText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            TextBetween(text, u"name=gtrans value=\"", u"\"><div id=sug_exp>"));
    reportBytes(state);
}

void BM_IndexOfTwiceAndCopy(benchmark::State &state)
{
    const QString text = enclosedText(state.range(0));
    const QStringView view(text);
    const QStringView start = u"name=gtrans value=\"";
    const QStringView end = u"\"><div id=sug_exp>";
    for (auto _ : state) {
        const qsizetype from = view.indexOf(start) + start.size();
        const qsizetype to = view.indexOf(end, from);
        benchmark::DoNotOptimize(view.sliced(from, to - from).toString());
    }
    reportBytes(state);
}

void BM_ParseGoogleReply_GetSegment(benchmark::State &state)
{
    const QString head = u"[[[\""_s;
    const QString tail = u"\",\"源文本\",\"\",\"\"]],,\"zh-CN\"]"_s;
    const QString reply =
        head + mixedText(state.range(0) - head.toUtf8().size() - tail.toUtf8().size()) + tail;
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseGoogleReply(reply, u"GET", 1));
    reportBytes(state);
}

void BM_ParseGoogleReply_GetDictionary(benchmark::State &state)
{
    const QString head = u"[[[\"Hello\",\"你好\",\"\",\"\"]],[["_s;
    const QString tail = u"\"感叹词\",[\"hi\"]]],\"zh-CN\"]"_s;
    const QString entries = grown(u"\"名词 noun\",[\"问候 greeting\",\"hello 你好\"]],["_s,
                                  state.range(0) - head.toUtf8().size() - tail.toUtf8().size());
    const QString reply = head + entries + tail;
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseGoogleReply(reply, u"GET", 4));
    reportBytes(state);
}

void BM_ParseGoogleReply_Post(benchmark::State &state)
{
    const QString text = grown(
        u"他说 &amp;quot;你好&amp;quot;&lt;br&gt;He said hello &amp; left. "_s, state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseGoogleReply(text, u"POST", 1));
    reportBytes(state);
}

void sizes(benchmark::internal::Benchmark *benchmark)
{
    for (const int64_t size : Sizes)
        benchmark->Arg(size);
    benchmark->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_UrlEncodeUtf8)->Apply(sizes);
BENCHMARK(BM_ToPercentEncoding)->Apply(sizes);
BENCHMARK(BM_TextBetween)->Apply(sizes);
BENCHMARK(BM_IndexOfTwiceAndCopy)->Apply(sizes);
BENCHMARK(BM_ParseGoogleReply_GetSegment)->Apply(sizes);
BENCHMARK(BM_ParseGoogleReply_GetDictionary)->Apply(sizes);
BENCHMARK(BM_ParseGoogleReply_Post)->Apply(sizes);
