#pragma once

#include <future>
#include <thread>

// What the window's first frame needs and a second core can prepare while the main thread
// connects to the display and builds the controls: fontconfig's configuration and font caches
// (some 5 ms), and the image plugins, every one of which Qt loads to ask whether it reads a
// picture before the skin's pictures are drawn (2 ms here, more on a desktop with more
// plugins).
class StartupWarmUp final
{
public:
    // Starts with fontconfig at once, before the application object exists.
    StartupWarmUp();
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp &) = delete;
    StartupWarmUp &operator=(const StartupWarmUp &) = delete;

    // The image plugins wait for the application object, which tells Qt where they are.
    void startPictures();
    // Before the first widget: fontconfig set up from two threads at once is read twice.
    void waitForFonts();
    // Before the application object goes; a warm-up whose pictures never started ends then.
    void join();

private:
    std::promise<bool> m_pictures;
    bool m_picturesAnswered = false;
    std::promise<void> m_fontsReady;
    std::future<void> m_fonts;
    std::thread m_thread;
};
