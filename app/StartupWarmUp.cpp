#include "StartupWarmUp.h"

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

void StartupWarmUp::ensureFonts()
{
    FcInit();
}

void StartupWarmUp::join()
{
    if (m_fonts.joinable())
        m_fonts.join();
}
