#include "StartupWarmUp.h"

#include <QImageReader>

#include <fontconfig/fontconfig.h>

StartupWarmUp::StartupWarmUp()
    : m_fonts(m_fontsReady.get_future())
{
    m_thread = std::thread([this, pictures = m_pictures.get_future()]() mutable {
        FcInit();
        m_fontsReady.set_value();
        // Any picture will do: left to guess its format, the reader loads every plugin.
        if (pictures.get())
            QImageReader(QStringLiteral(":/icons/bremo-16.png")).canRead();
    });
}

StartupWarmUp::~StartupWarmUp()
{
    join();
}

void StartupWarmUp::startPictures()
{
    if (m_picturesAnswered)
        return;
    m_picturesAnswered = true;
    m_pictures.set_value(true);
}

void StartupWarmUp::waitForFonts()
{
    if (m_fonts.valid())
        m_fonts.get();
}

void StartupWarmUp::join()
{
    if (!m_picturesAnswered) {
        m_picturesAnswered = true;
        m_pictures.set_value(false);
    }
    if (m_thread.joinable())
        m_thread.join();
}
