#include "ProgramRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <unistd.h>

ProcessEnd RunProgram(const QString &program, const QStringList &arguments, const QByteArray &input,
                      const ProcessLimits &limits)
{
    ProcessEnd end;
    QProcess process;
    // A group of its own, so that ending it ends the pipeline the program starts (apertium is a
    // shell script whose work is done by its children), not the program alone.
    process.setChildProcessModifier([] { setpgid(0, 0); });
    // What the program says on standard error is its own business, not the user's.
    process.setStandardErrorFile(QProcess::nullDevice());
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool decided = false;
    const auto decide = [&](ProcessEnd::Kind kind) {
        if (decided)
            return;
        decided = true;
        end.kind = kind;
        loop.quit();
    };
    pid_t group = 0; // the program's own id, known once it runs
    const auto endGroup = [&] {
        if (group > 0)
            ::kill(-group, SIGKILL);
    };
    const auto stopWith = [&](ProcessEnd::Kind kind) {
        decide(kind);
        endGroup();
    };
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
        end.output += process.readAllStandardOutput();
        if (!decided && end.output.size() > limits.maxOutputBytes)
            stopWith(ProcessEnd::Kind::OverCap);
    });
    QObject::connect(&process, &QProcess::finished, &loop, [&](int exitCode) {
        if (decided)
            return;
        end.output += process.readAllStandardOutput();
        // A crash counts as a failed run, like an exit code of its own.
        end.exitCode = process.exitStatus() == QProcess::NormalExit ? exitCode : -1;
        decide(end.output.size() > limits.maxOutputBytes ? ProcessEnd::Kind::OverCap
                                                         : ProcessEnd::Kind::Finished);
    });
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            stopWith(ProcessEnd::Kind::NotStarted);
    });
    QObject::connect(&timer, &QTimer::timeout, &loop,
                     [&] { stopWith(ProcessEnd::Kind::TimedOut); });
    const QPointer<QObject> context = limits.context;
    if (context)
        QObject::connect(context.data(), &QObject::destroyed, &loop,
                         [&] { stopWith(ProcessEnd::Kind::Abandoned); });
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop,
                     [&] { stopWith(ProcessEnd::Kind::Abandoned); });

    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        end.kind = ProcessEnd::Kind::NotStarted;
        return end;
    }
    group = pid_t(process.processId());
    process.write(input);
    process.closeWriteChannel();
    timer.start(limits.timeout);
    loop.exec();
    // The application's exit ends every event loop at once, ours included.
    if (!decided)
        end.kind = ProcessEnd::Kind::Abandoned;
    // Whatever the end, nothing the program started outlives the call (a child it left in the
    // background included), and the program itself is reaped, so no zombie remains either.
    QObject::disconnect(&process, nullptr, &loop, nullptr);
    endGroup();
    process.waitForFinished(-1);
    return end;
}
