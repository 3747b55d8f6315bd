#pragma once

#include <thread>

// What the window's first frame needs and the second core can prepare meanwhile: fontconfig's
// configuration and font caches, some 3 ms of work.
class StartupWarmUp final
{
public:
    // Starts fontconfig at once, before the application object exists, on a thread of idle
    // priority: connecting to the display waits on the X server for dozens of answers, and a
    // thread of equal priority beside them delays each answer.
    StartupWarmUp();
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp &) = delete;
    StartupWarmUp &operator=(const StartupWarmUp &) = delete;

    // Before the first widget. On a busy machine the idle thread may not have run at all; the
    // main thread then sets fontconfig up itself, and fontconfig keeps whichever ends first.
    static void ensureFonts();
    // Before the application object goes.
    void join();

private:
    std::thread m_fonts;
};
