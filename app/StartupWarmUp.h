#pragma once

#include <thread>

// What the window's first frame needs and the second core can prepare meanwhile: fontconfig's
// configuration and font caches (some 3 ms), and the image plugins, every one of which Qt loads
// to ask whether it reads a picture before the skin's pictures are drawn.
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

    // The image plugins wait for the application object, which tells Qt where they are. They
    // load at normal priority: the main thread waits for them under Qt's lock when it reads a
    // picture, and must not wait on a thread that a busy machine never runs.
    void startPictures();
    // Before the first widget. On a busy machine the idle thread may not have run at all; the
    // main thread then sets fontconfig up itself, and fontconfig keeps whichever ends first.
    static void ensureFonts();
    // Before the application object goes.
    void join();

private:
    std::thread m_fonts;
    std::thread m_pictures;
};
