#include "caption_font.h"

#include <algorithm>

namespace tolvex {

std::vector<double> CaptionFontSizes(double start, FontSteps steps) {
    std::vector<double> sizes{start};
    while (sizes.back() > steps.smallest)
        sizes.push_back(std::max(sizes.back() - steps.step, steps.smallest));
    return sizes;
}

} // namespace tolvex
