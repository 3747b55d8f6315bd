#pragma once

#include <QtGlobal>

// The control measures in twips, the unit it was designed in: 1440 to the inch, so 15 to a
// device-independent pixel. Qt's pixels are device-independent; Qt scales them for high-DPI
// screens.
namespace Twips {

inline constexpr float PerPixel = 15.0f;

constexpr float fromPixels(qreal pixels)
{
    return float(pixels) * PerPixel;
}

constexpr qreal toPixels(float twips)
{
    return qreal(twips) / PerPixel;
}

} // namespace Twips
