#include "CommandLine.h"

#include "LanguageCatalogue.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

struct Options
{
    QCommandLineOption selection{u"selection"_s,
                                 u"Translate the primary selection: the text just highlighted."_s};
    QCommandLineOption clipboard{u"clipboard"_s, u"Translate the text on the clipboard."_s};
    QCommandLineOption print{u"print"_s,
                             u"Print the translation to standard output; no window is opened."_s};
    QCommandLineOption from{u"from"_s, u"Source language of --print (default zh-CN)."_s, u"code"_s};
    QCommandLineOption to{u"to"_s, u"Target language of --print (default en)."_s, u"code"_s};
    QCommandLineOption engine{
        u"engine"_s,
        u"google (default), youdao, libretranslate, apertium, deepl, google-cloud, baidu or "
        "youdao-api, for --print. All but the first two ask only that road."_s,
        u"name"_s};
    QCommandLineOption check{
        u"check"_s, u"Ask every road once and print how each answers; no window is opened."_s};
    QCommandLineOption settings{
        u"settings"_s, u"Open 翻译服务设置, the keys of the official APIs, in the window."_s};
    QCommandLineOption saveAudio{
        u"save-audio"_s, u"With --print, also save the pronunciation as MP3 to file."_s, u"file"_s};
    QCommandLineOption image{
        u"image"_s,
        u"With --print, translate the text in a PNG or JPEG picture (- reads it from "
        "standard input)."_s,
        u"file"_s};
    QCommandLineOption screen{u"screen"_s,
                              u"Translate the text on the screen: the area X,Y,W,H, or without "
                              "it an area that you drag on the frozen screen."_s,
                              u"X,Y,W,H"_s};
    QCommandLineOption recogniseOnly{u"recognise-only"_s,
                                     u"With --image, print the recognised text untranslated."_s};
};

// Qt's own options, such as the -session a session manager restarts a program with: accepted
// here and left in the arguments for the window's QApplication, which reads them.
void AcceptQtOptions(QCommandLineParser &parser)
{
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
                             "name", "title", "geometry", "style", "stylesheet"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "nograb", "dograb", "sync", "widgetcount"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

Invocation Exit(const QString &message, int exitCode)
{
    Invocation invocation;
    invocation.action = Invocation::Action::Exit;
    invocation.message = message;
    invocation.exitCode = exitCode;
    return invocation;
}

Invocation UsageError(const QString &message)
{
    return Exit(u"bremo: "_s + message + u"\nTry 'bremo --help'.\n"_s, UsageErrorExitCode);
}

std::optional<Engine> EngineNamed(const QString &name)
{
    const std::pair<QStringView, Engine> engines[] = {
        {u"google", Engine::Google},
        {u"youdao", Engine::Youdao},
        {u"libretranslate", Engine::LibreTranslateOnly},
        {u"apertium", Engine::ApertiumOnly},
        {u"deepl", Engine::DeepLOnly},
        {u"google-cloud", Engine::GoogleCloudOnly},
        {u"baidu", Engine::BaiduOnly},
        {u"youdao-api", Engine::YoudaoApiOnly},
    };
    for (const auto &[engineName, engine] : engines) {
        if (name == engineName)
            return engine;
    }
    return std::nullopt;
}

Invocation PrintUsageError(const QString &problem)
{
    return Exit(PrintUsageMessage(problem), UsageErrorExitCode);
}

// A language option's position in the catalogue, or a usage error.
std::optional<Invocation> ReadLanguage(const QCommandLineParser &parser,
                                       const QCommandLineOption &option, int &position)
{
    if (!parser.isSet(option))
        return std::nullopt;
    const QString code = parser.value(option);
    position = int(LanguageCatalogue::build().codes.indexOf(code));
    if (position >= 0)
        return std::nullopt;
    return PrintUsageError(u"unknown language code '%1'"_s.arg(code));
}

Invocation ReadPrintJob(const QCommandLineParser &parser, const Options &options)
{
    Invocation invocation;
    invocation.action = Invocation::Action::Print;
    PrintJob &job = invocation.print;
    if (parser.isSet(options.selection) || parser.isSet(options.clipboard))
        return PrintUsageError(u"--print translates TEXT or standard input (-), not the "
                               "selection or the clipboard"_s);
    if (auto error = ReadLanguage(parser, options.from, job.sourcePosition))
        return *error;
    if (auto error = ReadLanguage(parser, options.to, job.targetPosition))
        return *error;
    if (parser.isSet(options.engine)) {
        const QString name = parser.value(options.engine);
        const auto engine = EngineNamed(name);
        if (!engine)
            return PrintUsageError(u"unknown engine '%1'"_s.arg(name));
        job.engine = *engine;
        job.engineName = name;
    }
    job.audioFile = parser.value(options.saveAudio);
    job.imageFile = parser.value(options.image);
    job.recogniseOnly = parser.isSet(options.recogniseOnly);
    const QStringList words = parser.positionalArguments();
    if (parser.isSet(options.image) && (!words.isEmpty() || job.imageFile.isEmpty()))
        return PrintUsageError(u"--image takes the text from one picture: a file, or -"_s);
    if (job.recogniseOnly && !parser.isSet(options.image))
        return PrintUsageError(u"--recognise-only goes with --image"_s);
    if (parser.isSet(options.image))
        return invocation;
    job.textFromStdin = words == QStringList{u"-"_s};
    job.text = job.textFromStdin ? QString() : words.join(u' ');
    if (!job.textFromStdin && job.text.isEmpty())
        return PrintUsageError(u"--print needs a text to translate, or - for standard input"_s);
    return invocation;
}

// --screen's area, or nothing when the value is no such area. An empty value is the whole
// screen, on which the user drags the area.
std::optional<QRect> ScreenArea(const QString &value)
{
    if (value.isEmpty())
        return QRect();
    const QStringList numbers = value.split(u',');
    int n[4] = {};
    bool ok = numbers.size() == 4;
    for (qsizetype i = 0; ok && i < 4; ++i)
        n[i] = numbers[i].trimmed().toInt(&ok);
    if (!ok || n[2] <= 0 || n[3] <= 0)
        return std::nullopt;
    return QRect(n[0], n[1], n[2], n[3]);
}

} // namespace

QString PrintUsageMessage(const QString &problem)
{
    const LanguageCatalogue catalogue = LanguageCatalogue::build();
    QString message =
        u"bremo: "_s + problem +
        u"\nThe engines are google, youdao, libretranslate, apertium, deepl, google-cloud, baidu "
        "and youdao-api; the language codes are:\n"_s;
    for (qsizetype i = 0; i < catalogue.codes.size(); ++i)
        message += u"  %1  %2\n"_s.arg(catalogue.codes[i], -6).arg(catalogue.displayNames[i]);
    return message;
}

Invocation ParseCommandLine(const QStringList &arguments)
{
    const Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Bremo, a translator for 57 languages. With TEXT, --selection or --clipboard the one "
        "Bremo window of the desktop session translates it."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({options.selection, options.clipboard, options.print, options.from,
                       options.to, options.engine, options.saveAudio, options.check, options.image,
                       options.recogniseOnly, options.screen, options.settings});
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AcceptQtOptions(parser);
    parser.addPositionalArgument(u"text"_s, u"The text to translate; - is standard input."_s,
                                 u"[TEXT | -]"_s);

    // --screen alone is the dragged area: an empty value, which the parser would otherwise
    // take from the next argument.
    QStringList words = arguments;
    for (QString &word : words) {
        if (word == u"--screen"_s || word == u"-screen"_s)
            word = u"--screen="_s;
    }
    if (!parser.parse(words))
        return UsageError(parser.errorText());
    // Qt offers --help-all beside --help; Bremo's own options are all the help there is.
    if (parser.isSet(help) || parser.isSet(u"help-all"_s))
        return Exit(parser.helpText(), 0);
    if (parser.isSet(version))
        return Exit(u"bremo "_s + QCoreApplication::applicationVersion() + u'\n', 0);
    if (parser.isSet(options.print) && parser.isSet(options.check))
        return UsageError(u"give one of --print and --check"_s);
    if (parser.isSet(options.settings) &&
        (parser.isSet(options.print) || parser.isSet(options.check)))
        return UsageError(u"--settings goes alone"_s);
    if (parser.isSet(options.print) && parser.isSet(options.screen))
        return UsageError(u"--screen goes to the window; --print reads a picture with --image"_s);
    if (parser.isSet(options.print))
        return ReadPrintJob(parser, options);

    for (const QCommandLineOption *printOnly :
         {&options.from, &options.to, &options.engine, &options.saveAudio, &options.image,
          &options.recogniseOnly}) {
        if (parser.isSet(*printOnly))
            return UsageError(u"--%1 goes with --print"_s.arg(printOnly->names().constFirst()));
    }
    if (parser.isSet(options.check)) {
        if (!parser.positionalArguments().isEmpty() || parser.isSet(options.selection) ||
            parser.isSet(options.clipboard))
            return UsageError(u"--check translates no text of its own"_s);
        Invocation invocation;
        invocation.action = Invocation::Action::Check;
        return invocation;
    }
    Invocation invocation;
    const QStringList texts = parser.positionalArguments();
    const int sources = int(parser.isSet(options.selection)) +
                        int(parser.isSet(options.clipboard)) + int(parser.isSet(options.screen)) +
                        int(!texts.isEmpty());
    if (sources > 1)
        return UsageError(u"give one of TEXT, --selection, --clipboard and --screen"_s);
    if (parser.isSet(options.settings) && sources > 0)
        return UsageError(u"--settings goes alone"_s);
    if (parser.isSet(options.settings)) {
        invocation.request.kind = OutsideRequest::Kind::Settings;
    } else if (parser.isSet(options.screen)) {
        const auto area = ScreenArea(parser.value(options.screen));
        if (!area)
            return UsageError(u"--screen=X,Y,W,H takes four whole numbers, W and H above 0"_s);
        invocation.request.kind = OutsideRequest::Kind::Screen;
        invocation.request.area = *area;
    } else if (parser.isSet(options.selection))
        invocation.request.kind = OutsideRequest::Kind::Selection;
    else if (parser.isSet(options.clipboard))
        invocation.request.kind = OutsideRequest::Kind::Clipboard;
    else if (!texts.isEmpty())
        invocation.request = {OutsideRequest::Kind::Text, texts.join(u' '), {}, {}, {}};
    invocation.requestFromStdin = texts == QStringList{u"-"_s};
    invocation.request.activationToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    invocation.request.startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    return invocation;
}
