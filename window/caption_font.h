#pragma once

#include <vector>

namespace tolvex {

// The boxes were sized for a small system font. Where a face's font is
// larger, the whole window takes one smaller font, a step at a time, until
// every caption shows whole in its box; controls keep their places and sizes.
struct FontSteps {
    double step;     // how much smaller each try is
    double smallest; // no smaller than this
};

// Fonts sized in points go down half a point at a time to 6 pt; fonts sized
// in pixels (some desktops' choice) a pixel at a time to 8 px.
inline constexpr FontSteps kPointSteps{.step = 0.5, .smallest = 6.0};
inline constexpr FontSteps kPixelSteps{.step = 1.0, .smallest = 8.0};

// The sizes to try, largest first: the face's own size, then a step smaller
// each time down to the smallest (the face's size alone when it is no larger).
std::vector<double> CaptionFontSizes(double start, FontSteps steps);

// The first of those sizes at which every caption fits (the face's own
// test); the smallest of them when none does.
template <typename CaptionsFit>
double FittedFontSize(double start, FontSteps steps, CaptionsFit fit) {
    const std::vector<double> sizes = CaptionFontSizes(start, steps);
    for (const double size : sizes)
        if (fit(size)) return size;
    return sizes.back();
}

} // namespace tolvex
