#include "StartupWarmUp.h"

#include <QImageReader>

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

StartupWarmUp::StartupWarmUp()
    : m_fonts([] {
        // Unprivileged, a thread cannot return from idle priority; it never needs to.
        const sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
        FcInit();
    })
{}

StartupWarmUp::~StartupWarmUp()
{
    join();
}

void StartupWarmUp::startPictures()
{
    if (m_pictures.joinable())
        return;
    // Any picture will do: left to guess its format, the reader loads every plugin.
    m_pictures =
        std::thread([] { QImageReader(QStringLiteral(":/icons/bremo-16.png")).canRead(); });
}

void StartupWarmUp::ensureFonts()
{
    FcInit();
}

void StartupWarmUp::join()
{
    if (m_fonts.joinable())
        m_fonts.join();
    if (m_pictures.joinable())
        m_pictures.join();
}
