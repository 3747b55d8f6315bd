#include "AppIcon.h"

using namespace Qt::StringLiterals;

QIcon BremoIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48})
        icon.addFile(u":/icons/bremo-%1.png"_s.arg(size), QSize(size, size));
    return icon;
}
