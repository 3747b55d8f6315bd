#pragma once

// Start-up measurement for a program's main window: with BREMO_EXIT_ON_SHOW=1 in the
// environment, the first paint of the window prints "startup_ms=<n> rss_kb=<n>" to stdout
// and ends the event loop. Without it nothing is installed.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace StartupProbe {

using namespace Qt::StringLiterals;

// The time since bench/startup.sh launched the program: it puts the wall clock of the launch,
// in nanoseconds, in BREMO_BENCH_LAUNCH_NS. The kernel's own record of a process's start is
// kept in clock ticks (10 ms), too coarse for start-ups of 30 ms.
inline double millisecondsSinceLaunch()
{
    const qint64 launch = qEnvironmentVariable("BREMO_BENCH_LAUNCH_NS").toLongLong();
    if (launch <= 0)
        return -1;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(qint64(now.tv_sec) * 1000000000 + now.tv_nsec - launch) / 1e6;
}

inline qint64 residentKilobytes()
{
    QFile file(u"/proc/self/status"_s);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

class FirstPaintProbe final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool windowPaint = event->type() == QEvent::Paint && watched->isWidgetType() &&
                                 static_cast<QWidget *>(watched)->isWindow();
        if (windowPaint && !m_reported) {
            m_reported = true;
            std::printf("startup_ms=%.1f rss_kb=%lld\n", millisecondsSinceLaunch(),
                        static_cast<long long>(residentKilobytes()));
            std::fflush(stdout);
            // Queued: the first paint may come before the event loop runs, when a direct
            // exit would be lost. exit, not quit: quit asks the windows to close first, and
            // a window may answer with a question.
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_reported = false;
};

} // namespace StartupProbe

inline void InstallStartupProbe(QWidget &window)
{
    if (qEnvironmentVariableIntValue("BREMO_EXIT_ON_SHOW") != 1)
        return;
    window.installEventFilter(new StartupProbe::FirstPaintProbe(&window));
}

// For a program that makes its window out of reach (bremo's window module): the probe goes on
// every application object as it is made and reports the first paint of any window.
inline void InstallStartupProbeOnApplication()
{
    if (qEnvironmentVariableIntValue("BREMO_EXIT_ON_SHOW") != 1)
        return;
    qApp->installEventFilter(new StartupProbe::FirstPaintProbe(qApp));
}
