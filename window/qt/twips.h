#pragma once

#include <QRect>

namespace tolvex {

// The window was laid out in twips; 15 twips are one device-independent pixel
// at 96 dpi, and Qt's high-DPI scaling keeps the proportions on any screen.
constexpr int TwipsToPixels(int twips) {
    return twips / 15;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace tolvex
