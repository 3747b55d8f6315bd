#pragma once

#include <QRect>

// Layout is designed in twips; at 96 dots per inch fifteen of them make one pixel, and Qt
// scales device-independent pixels for high-DPI screens itself.
constexpr int TwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}

constexpr QRect TwipsToPixels(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}
