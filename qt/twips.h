#pragma once

#include "window/window_description.h"

#include <QRect>

namespace tolvex {

// Qt's pixels are device-independent: its high-DPI scaling keeps the
// proportions on any screen.
constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

inline QRect TwipsRect(const Twips& box) {
    return {TwipsToPixels(box.left), TwipsToPixels(box.top), TwipsToPixels(box.width),
            TwipsToPixels(box.height)};
}

// Where a control goes. The line is described by its start and length; it is
// drawn one pixel wide.
inline QRect ControlRect(const ControlDescription& control) {
    if (control.kind == ControlKind::Line)
        return {TwipsToPixels(control.box.left), TwipsToPixels(control.box.top), 1,
                TwipsToPixels(control.box.height)};
    return TwipsRect(control.box);
}

} // namespace tolvex
