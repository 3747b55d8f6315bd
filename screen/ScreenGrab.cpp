#include "ScreenGrab.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

QImage GrabScreenArea(const QRect &area)
{
    // Each screen gives its own part, at its own scale; the parts are put together at the
    // scale of the desktop's coordinates, which recognition reads as well as any.
    QImage picture;
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect part = area.intersected(screen->geometry());
        if (part.isEmpty())
            continue;
        const QRect local = part.translated(-screen->geometry().topLeft());
        // Window 0 is the root window, the whole desktop as shown.
        const QPixmap shot =
            screen->grabWindow(0, local.x(), local.y(), local.width(), local.height());
        if (shot.isNull())
            continue;
        if (picture.isNull()) {
            picture = QImage(area.size(), QImage::Format_RGB32);
            picture.fill(Qt::white);
        }
        QPainter painter(&picture);
        painter.drawPixmap(QRect(part.topLeft() - area.topLeft(), part.size()), shot);
    }
    return picture;
}
