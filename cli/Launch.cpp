#include "Launch.h"

#include "CommandLine.h"
#include "HandoverModule.h"
#include "PrintMode.h"
#include "RoadCheck.h"
#include "ServiceSettings.h"
#include "SessionLock.h"
#include "WindowModule.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// A window request travels over the session bus and lands in the source box: far more than
// any road translates, and yet a pipe that never ends cannot fill the memory.
constexpr qsizetype MaxStdinBytes = 1 << 20;

// Standard input is this process's, not the window's: a start that hands over reads it
// itself. The line break that ends what a pipe delivers is not part of the text.
bool ReadRequestText(OutsideRequest &request)
{
    QByteArray input(MaxStdinBytes + 1, Qt::Uninitialized);
    input.resize(qsizetype(std::fread(input.data(), 1, std::size_t(input.size()), stdin)));
    if (input.size() > MaxStdinBytes) {
        std::fputs("bremo: standard input holds more than the 1 MiB that a window takes\n", stderr);
        return false;
    }
    if (input.endsWith('\n'))
        input.chop(input.endsWith("\r\n") ? 2 : 1);
    request.text = QString::fromUtf8(input);
    return true;
}

} // namespace

int RunBremo(int &argc, char *argv[], const Endpoints &builtIn)
{
    QStringList ignored;
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const Endpoints endpoints = WithEnvironment(builtIn, environment, ignored);
    ServicesWithEnvironment(ServiceSettings::defaults(), environment, ignored);
    for (const QString &variable : ignored)
        std::fprintf(stderr, "bremo: %s is not an http or https address; it is ignored\n",
                     qPrintable(variable));
    if (!environment.value(QStringLiteral("BREMO_VOICE")).isEmpty() &&
        !VoiceFromEnvironment(environment))
        std::fputs("bremo: BREMO_VOICE is neither web nor offline; it is ignored\n", stderr);
    Invocation invocation;
    QString programFolder;
    {
        // Enough for the command line, script mode and the hand-over: a second start never
        // opens the display.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Bremo"));
        QCoreApplication::setApplicationVersion(QStringLiteral(BREMO_VERSION));
        programFolder = QCoreApplication::applicationDirPath();
        invocation = ParseCommandLine(QCoreApplication::arguments());
        switch (invocation.action) {
        case Invocation::Action::Exit:
            std::fputs(invocation.message.toUtf8().constData(),
                       invocation.exitCode == 0 ? stdout : stderr);
            return invocation.exitCode;
        case Invocation::Action::Print:
            return RunPrintMode(invocation.print, endpoints);
        case Invocation::Action::Check:
            return RunRoadCheck(endpoints);
        case Invocation::Action::Window:
            break;
        }
        if (invocation.requestFromStdin && !ReadRequestText(invocation.request))
            return 1;
        // A lock that nobody holds: no Bremo runs, and the bus is left for the window's claim.
        if (!HoldSessionLock()) {
            switch (HandOverThroughModule(programFolder, invocation.request)) {
            case Handover::Delivered:
                return 0;
            case Handover::Failed:
                return 1;
            case Handover::NoPrimary:
                break;
            }
        }
    }
    return RunWindowModule(programFolder, argc, argv, invocation.request, endpoints);
}
