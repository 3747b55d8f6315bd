#include "AreaPicker.h"

#include "FrozenScreen.h"

#include <QGuiApplication>
#include <QScreen>

AreaPicker::AreaPicker(QObject *parent)
    : QObject(parent)
{}

AreaPicker::~AreaPicker() = default;

bool AreaPicker::start()
{
    // Every screen is taken before any overlay shows, so none of them is in a picture.
    for (QScreen *screen : QGuiApplication::screens()) {
        const QPixmap shot = screen->grabWindow(0);
        if (!shot.isNull())
            m_screens.push_back(std::make_unique<FrozenScreen>(screen, shot));
    }
    return show();
}

bool AreaPicker::start(const QImage &desktop)
{
    // The desktop picture may have more pixels than the desktop has coordinates (scaled
    // screens): each screen takes its part at that scale.
    const QRect whole = QGuiApplication::primaryScreen()->virtualGeometry();
    const qreal scale = whole.isEmpty() ? 1.0 : qreal(desktop.width()) / whole.width();
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect part = screen->geometry().translated(-whole.topLeft());
        QPixmap shot = QPixmap::fromImage(
            desktop.copy(QRectF(part.topLeft() * scale, part.size() * scale).toRect()));
        shot.setDevicePixelRatio(scale);
        if (!shot.isNull())
            m_screens.push_back(std::make_unique<FrozenScreen>(screen, shot));
    }
    return show();
}

bool AreaPicker::show()
{
    if (m_screens.empty())
        return false;
    for (const auto &frozen : m_screens) {
        connect(frozen.get(), &FrozenScreen::picked, this, [this](const QImage &picture) {
            finish();
            Q_EMIT picked(picture);
        });
        connect(frozen.get(), &FrozenScreen::cancelled, this, [this] {
            finish();
            Q_EMIT cancelled();
        });
        // A Wayland compositor places windows itself: only full screen puts one at the origin.
        if (QGuiApplication::platformName().startsWith(u"wayland"))
            frozen->showFullScreen();
        else
            frozen->show();
    }
    // Override-redirect windows get no focus from a window manager: the keyboard is taken
    // for Esc.
    m_screens.front()->activateWindow();
    m_screens.front()->grabKeyboard();
    return true;
}

void AreaPicker::finish()
{
    if (m_screens.empty())
        return;
    m_screens.front()->releaseKeyboard();
    for (const auto &frozen : m_screens)
        frozen->hide();
    // Deleted later: the signal that ends the pick comes from one of them.
    for (auto &frozen : m_screens)
        frozen.release()->deleteLater();
    m_screens.clear();
}
