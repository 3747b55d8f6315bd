#include "PrintMode.h"

#include "ClipWords.h"
#include "FileDownloader.h"
#include "LanguageCatalogue.h"
#include "MpegAudio.h"
#include "NetLog.h"
#include "OfflineVoiceModule.h"
#include "PictureText.h"
#include "ResultCap.h"
#include "RoadOutcome.h"
#include "ScriptTranslation.h"
#include "ServiceStore.h"
#include "SpokenLength.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString OfflineClipName = u"the offline voice's clip"_s;
int g_reasonsWritten = 0;
bool g_translating = false;
QtMessageHandler g_nextHandler = nullptr;

// A script's user reads the reasons of bremo.net as plain lines on standard error. While the
// roads are asked, each road that gives nothing gets one line of its own, which script mode
// writes itself: bremo.roads, and bremo.net's reasons for the same failures, are left out.
void WriteReason(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "bremo.roads") == 0)
        return;
    if (type == QtDebugMsg || type == QtInfoMsg || qstrcmp(context.category, "bremo.net") != 0) {
        g_nextHandler(type, context, message);
        return;
    }
    if (g_translating)
        return;
    ++g_reasonsWritten;
    std::fputs(qPrintable(u"bremo: "_s + message + u'\n'), stderr);
}

// Text as the source box holds it: lines separated by CR LF. The line break that ends what a
// pipe delivers is not part of the text.
QString SourceText(const PrintJob &job)
{
    QString text = job.text;
    if (job.textFromStdin) {
        QFile input;
        if (input.open(stdin, QIODevice::ReadOnly))
            text = QString::fromUtf8(input.readAll());
        if (text.endsWith(u'\n'))
            text.chop(text.endsWith(u"\r\n"_s) ? 2 : 1);
    }
    return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u"\n"_s, u"\r\n"_s);
}

// Why the speech rules gave no pronunciation, the first cause that applies.
QString WhyNoPronunciation(const ScriptTranslation &translation, const PrintJob &job)
{
    if (job.engine == Engine::ApertiumOnly)
        return u"an offline translation (Apertium) has none"_s;
    if (job.engine != Engine::Google && job.engine != Engine::Youdao)
        return u"--engine %1 gives none"_s.arg(job.engineName);
    if (translation.roads.text.size() > MaxSpokenLength)
        return u"the translation is too long to be spoken (over %1 characters)"_s.arg(
            MaxSpokenLength);
    if (CodeForPosition(LanguageCatalogue::build().codes, job.targetPosition) == u"ja"_s)
        return u"Google does not speak Japanese"_s;
    return u"Google speaks only short texts of up to 33 characters"_s;
}

// The speech host's clip, when it sends one that the player would play; its line of the report
// on standard error either way.
std::optional<QByteArray> FetchClip(const SpeechPlan &speech)
{
    QBuffer clip;
    clip.open(QIODevice::WriteOnly);
    g_translating = true; // the line below says why, as for the roads
    const GetPostByXmlHttp::ExchangeEnd end = GetPostByXmlHttp::Exchange(
        "GET", *speech.url, {}, {}, clip, SaveOptions(GetPostByXmlHttp::HttpOptions().timeout));
    g_translating = false;
    QString why = WhyNoClip(end);
    if (why.isEmpty() && !WhyNotMpegAudio(clip.data()).isEmpty())
        why = QString::fromUtf16(NotPlayableWords);
    std::fputs(qPrintable(u"bremo: "_s + speech.host + u"："_s + (why.isEmpty() ? u"成功"_s : why) +
                          u'\n'),
               stderr);
    return why.isEmpty() ? std::optional(clip.data()) : std::nullopt;
}

// The pronunciation downloaded into file, or else spoken by the offline voice and saved as MP3;
// the file is put in place only when the whole run has succeeded.
bool SaveAudio(const ScriptTranslation &translation, const PrintJob &job, QSaveFile &file)
{
    const std::optional<SpeechPlan> &speech = translation.speech;
    if (!speech) {
        qCWarning(lcNet, "this translation has no pronunciation: %ls",
                  qUtf16Printable(WhyNoPronunciation(translation, job)));
        return false;
    }
    const int reasonsBefore = g_reasonsWritten;
    if (speech->url) {
        if (const std::optional<QByteArray> clip = FetchClip(*speech))
            return SaveClipInto(*clip, *speech->url, file);
    }
    QString words;
    const std::optional<QByteArray> mp3 = OfflineMp3(speech->text, speech->languageCode, words);
    std::fputs(qPrintable(u"bremo: 离线语音："_s + words + u'\n'), stderr);
    if (mp3 && SaveClipInto(*mp3, OfflineClipName, file))
        return true;
    if (g_reasonsWritten == reasonsBefore)
        qCWarning(lcNet, "the pronunciation could not be saved");
    return false;
}

bool WriteOut(const QByteArray &output)
{
    QFile standardOutput;
    if (standardOutput.open(stdout, QIODevice::WriteOnly) &&
        standardOutput.write(output) == output.size() && standardOutput.flush())
        return true;
    std::fputs(qPrintable(u"bremo: cannot write the translation to standard output: "_s +
                          standardOutput.errorString() + u'\n'),
               stderr);
    return false;
}

} // namespace

int RunPrintMode(const PrintJob &job, const Endpoints &endpoints)
{
    g_nextHandler = qInstallMessageHandler(WriteReason);
    PrintJob textJob = job;
    if (!job.imageFile.isEmpty()) {
        const std::optional<QString> recognised = PictureText(job);
        if (!recognised)
            return 1;
        if (job.recogniseOnly)
            return WriteOut(recognised->toUtf8() + '\n') ? 0 : 1;
        textJob.text = *recognised;
    }
    const QString source = SourceText(textJob);
    if (source.isEmpty()) {
        std::fputs(PrintUsageMessage(u"the text to translate is empty"_s).toUtf8().constData(),
                   stderr);
        return UsageErrorExitCode;
    }
    if (job.engine == Engine::LibreTranslateOnly && endpoints.libreTranslate.isEmpty()) {
        std::fputs("bremo: --engine libretranslate asks the server that "
                   "BREMO_LIBRETRANSLATE_URL names, and it is not set\n",
                   stderr);
        return UsageErrorExitCode;
    }
    RoadsSetup roads;
    roads.services = ServicesForRun(ServiceStore(), QProcessEnvironment::systemEnvironment());
    const QList<Road> order = RoadOrder({source, job.engine, 0, 1, {}}, roads);
    // A road asked alone that needs a key the user has not given.
    if (const KeyedService *service = roads.services.find(RoadId(order.constFirst()));
        order.size() == 1 && service && !IsConfigured(*service)) {
        std::fputs(qPrintable(u"bremo: --engine %1 needs the user's key: set %2\n"_s.arg(
                       job.engineName, KeyVariables(service->id).join(u" and "_s))),
                   stderr);
        return UsageErrorExitCode;
    }
    g_translating = true;
    const ScriptTranslation translation =
        TranslateForScript(source, job, endpoints, roads.services.voice, roads.services);
    g_translating = false;
    if (translation.roads.sourceTooLong)
        std::fputs(qPrintable(u"bremo: the text is too long: a translation holds at most %1 "
                              u"characters\n"_s.arg(MaxResultLength)),
                   stderr);
    // Each road that gave nothing, in the words of the window's tool tip.
    for (const RoadAttempt &attempt : translation.roads.attempts) {
        if (attempt.failure != Failure::None)
            std::fputs(qPrintable(u"bremo: "_s + RoadName(attempt.road) + u"："_s +
                                  OutcomeWords(attempt) + u'\n'),
                       stderr);
    }
    if (translation.roads.text.isEmpty())
        return 1;
    QSaveFile audio(job.audioFile);
    if (!job.audioFile.isEmpty() && !SaveAudio(translation, job, audio))
        return 1;
    QString text = translation.roads.text;
    if (!WriteOut(text.replace(u"\r\n"_s, u"\n"_s).toUtf8() + '\n'))
        return 1;
    // The path was checked once the download was done; only what took it since fails here.
    if (!job.audioFile.isEmpty() &&
        !PutInPlace(translation.speech->url.value_or(OfflineClipName), audio)) {
        qCWarning(lcNet, "the translation above was printed, but the pronunciation was not saved");
        return 1;
    }
    return 0;
}
