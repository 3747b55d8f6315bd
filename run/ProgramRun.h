#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <chrono>

// How one run of the offline engine ended.
struct ProcessEnd
{
    enum class Kind
    {
        Finished,   // exitCode says how
        NotStarted, // no such program
        TimedOut,
        OverCap,  // the output grew past the cap
        Abandoned // the wait ended first: the window is gone or the application quits
    };
    Kind kind = Kind::NotStarted;
    int exitCode = 0;
    QByteArray output;
};

struct ProcessLimits
{
    std::chrono::milliseconds timeout{20000};
    qsizetype maxOutputBytes = 1024 * 1024;
    // When this object is destroyed during the wait, the program is stopped.
    QPointer<QObject> context;
};

// Runs program with arguments (never through a shell), input on its standard input, and waits
// for its standard output in a local event loop, so a window keeps processing its events. A
// program that outlives the time-out or writes past the cap is killed.
ProcessEnd RunProgram(const QString &program, const QStringList &arguments, const QByteArray &input,
                      const ProcessLimits &limits);
