#include "AppIcon.h"

#include <QImage>
#include <QPixmap>
#include <QResource>

using namespace Qt::StringLiterals;

QIcon BremoIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        // The icon's pixels as the build made them from the PNGs: decoding a PNG takes a
        // millisecond of the window's start, and reading it has Qt list its image plugins.
        const QResource pixels(u":/icons/bremo-%1.rgba"_s.arg(size));
        icon.addPixmap(
            QPixmap::fromImage(QImage(pixels.data(), size, size, QImage::Format_RGBA8888)));
    }
    return icon;
}
