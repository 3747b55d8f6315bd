#include "PlayerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// One icon on a 16 x 16 grid, at size pixels.
QPixmap Drawn(PlayerIcon icon, const QColor &colour, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    switch (icon) {
    case PlayerIcon::Play:
        painter.drawPolygon(QPolygonF{{3.5, 2}, {14, 8}, {3.5, 14}});
        break;
    case PlayerIcon::Pause:
        painter.drawRect(QRectF(3, 2, 4, 12));
        painter.drawRect(QRectF(9, 2, 4, 12));
        break;
    case PlayerIcon::Stop:
        painter.drawRect(QRectF(2, 2, 12, 12));
        break;
    case PlayerIcon::Volume: {
        painter.drawPolygon(QPolygonF{{2, 6}, {5, 6}, {9, 2.5}, {9, 13.5}, {5, 10}, {2, 10}});
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, 1.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(7, 5, 5, 6), -50 * 16, 100 * 16);
        painter.drawArc(QRectF(7, 2.5, 8, 11), -50 * 16, 100 * 16);
        break;
    }
    }
    return pixmap;
}

} // namespace

QIcon DrawPlayerIcon(PlayerIcon icon, const QPalette &palette)
{
    const QColor colour = palette.color(QPalette::Active, QPalette::ButtonText);
    QIcon drawn;
    // Twice the size for screens scaled by two; Qt derives the disabled look itself.
    for (const int size : {16, 32})
        drawn.addPixmap(Drawn(icon, colour, size));
    return drawn;
}
