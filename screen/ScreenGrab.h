#pragma once

#include <QImage>
#include <QRect>

// The part of the desktop inside area (in the desktop's coordinates, across screens), as it
// is shown now; a null image when no screen shows any of it.
QImage GrabScreenArea(const QRect &area);
