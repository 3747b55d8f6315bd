#include "Launch.h"

#include "CommandLine.h"
#include "Handover.h"
#include "PrintMode.h"
#include "RoadCheck.h"
#include "WindowModule.h"

#include <QCoreApplication>

#include <cstdio>

int RunBremo(int &argc, char *argv[], const Endpoints &builtIn)
{
    QStringList ignored;
    const Endpoints endpoints =
        WithEnvironment(builtIn, QProcessEnvironment::systemEnvironment(), ignored);
    for (const QString &variable : ignored)
        std::fprintf(stderr, "bremo: %s is not an http or https address; it is ignored\n",
                     qPrintable(variable));
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
        switch (HandOver(invocation.request)) {
        case Handover::Delivered:
            return 0;
        case Handover::Failed:
            return 1;
        case Handover::NoPrimary:
            break;
        }
    }
    return RunWindowModule(programFolder, argc, argv, invocation.request, endpoints);
}
