#pragma once

namespace tolvex::web {

// The page's layout beyond the window's own places, stated here only: the
// description carries it to the build's style sheet and to the page's script.

// The caption size the page paints with: where the captions fit in DejaVu
// Sans, the face Debian gives the page's system-ui and sans-serif (the
// script checks it in the browser's own fonts).
inline constexpr double kPaintedCaptionPoints = 6.5;
// Text smaller than this, as seen, is not read comfortably: narrower rooms
// get the column.
inline constexpr int kReadablePixels = 12;
// The frame's border, each side, in CSS pixels.
inline constexpr int kFrameBorderPixels = 1;
// The window grows to at most this many times its 96-dpi size.
inline constexpr int kLargestScale = 3;

} // namespace tolvex::web
