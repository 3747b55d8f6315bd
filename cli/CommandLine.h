#pragma once

#include "OutsideRequest.h"
#include "Roads.h"

#include <QString>
#include <QStringList>

// A translation for standard output. Positions are the language lists' (the catalogue's).
struct PrintJob
{
    QString text;
    bool textFromStdin = false;
    int sourcePosition = 0; // 中文, as the window starts
    int targetPosition = 1; // 英语
    Engine engine = Engine::Google;
    QString engineName = QStringLiteral("google"); // as --engine named it
    QString audioFile;                             // empty: no pronunciation is saved
    QString imageFile;          // the text is recognised in this picture; - is standard input
    bool recogniseOnly = false; // the recognised text is printed, untranslated
};

// What the command line asks for.
struct Invocation
{
    enum class Action
    {
        Window, // the one window of the session, given request
        Print,  // script mode: job, no window and no display
        Check,  // bremo --check: every road asked once, no window and no display
        Exit    // help, version or a usage error: message, then exitCode
    };

    Action action = Action::Window;
    OutsideRequest request;
    bool requestFromStdin = false; // request is a Text still to be read from standard input
    PrintJob print;
    QString message; // to standard output with exit code 0, to standard error otherwise
    int exitCode = 0;
};

inline constexpr int UsageErrorExitCode = 2;

// A usage error of script mode: the problem, then the engines and the language codes to
// choose from.
QString PrintUsageMessage(const QString &problem);

// Reads the arguments as QCoreApplication::arguments() gives them, program name first.
Invocation ParseCommandLine(const QStringList &arguments);
