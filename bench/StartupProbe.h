#pragma once

// Start-up measurement for a program's main window: with BREMO_EXIT_ON_SHOW=1 in the
// environment, the first paint of the window prints "startup_ms=<n> rss_kb=<n>" to stdout
// and ends the event loop. Without it nothing is installed.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QList>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace StartupProbe {

using namespace Qt::StringLiterals;

// The kernel's own record of when this process started (field 22 of /proc/self/stat, in
// clock ticks since boot) against the boot clock now, so the loader's and the static
// initialisers' time count too. The record is truncated to a tick (10 ms), so this reads
// up to one tick high.
inline qint64 millisecondsSinceProcessStart()
{
    QFile file(u"/proc/self/stat"_s);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    // The command name (field 2) may hold spaces and parentheses: count from the last ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    constexpr int StartTimeField = 22 - 3;
    const double startSeconds =
        fields.value(StartTimeField).toDouble() / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64((double(now.tv_sec) + double(now.tv_nsec) / 1e9 - startSeconds) * 1000);
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
            std::printf("startup_ms=%lld rss_kb=%lld\n",
                        static_cast<long long>(millisecondsSinceProcessStart()),
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
