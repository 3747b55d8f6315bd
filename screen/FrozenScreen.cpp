#include "FrozenScreen.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

FrozenScreen::FrozenScreen(QScreen *screen, const QPixmap &shot)
    : QWidget(nullptr,
              Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
    , m_shot(shot)
{
    setObjectName(QStringLiteral("frozenScreen"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::CrossCursor);
    // Without a window manager showFullScreen() alone gives a 640x480 window on the first
    // screen: the screen and its geometry are set here.
    create();
    windowHandle()->setScreen(screen);
    setGeometry(screen->geometry());
}

QRect FrozenScreen::dragged() const
{
    return m_start ? QRect(*m_start, m_end).normalized() : QRect();
}

void FrozenScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), m_shot);
    // The frozen screen dimmed, the rectangle in its own light.
    painter.fillRect(rect(), QColor(0, 0, 0, 80));
    const QRect area = dragged();
    if (area.isEmpty())
        return;
    const qreal scale = m_shot.devicePixelRatio();
    painter.drawPixmap(area, m_shot, QRectF(area.topLeft() * scale, area.size() * scale).toRect());
    painter.setPen(QPen(QColor(0, 120, 215), 1));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void FrozenScreen::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        Q_EMIT cancelled();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_start = event->position().toPoint();
    m_end = *m_start;
    update();
}

void FrozenScreen::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_start)
        return;
    m_end = event->position().toPoint();
    update();
}

void FrozenScreen::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_start)
        return;
    m_end = event->position().toPoint();
    const QRect area = dragged();
    m_start.reset();
    update();
    // A click without a drag picks nothing; the user may drag again.
    if (area.width() < 4 || area.height() < 4)
        return;
    const qreal scale = m_shot.devicePixelRatio();
    Q_EMIT picked(
        m_shot.copy(QRectF(area.topLeft() * scale, area.size() * scale).toRect()).toImage());
}

void FrozenScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        Q_EMIT cancelled();
}
