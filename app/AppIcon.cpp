#include "AppIcon.h"

#include <QImageReader>
#include <QPixmap>

using namespace Qt::StringLiterals;

QIcon BremoIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        // Read as the PNG it is: left to guess, Qt loads every image plugin to ask each whether
        // it reads the file, a millisecond or more of the window's start.
        QImageReader reader(u":/icons/bremo-%1.png"_s.arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}
