#include "window/caption_font.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvex::testing {
namespace {

TEST(CaptionFont, SizesGoDownAStepAtATimeToTheSmallest) {
    const struct {
        const char* name;
        double start;
        FontSteps steps;
        std::vector<double> sizes;
    } cases[] = {
        {"points", 8.0, kPointSteps, {8.0, 7.5, 7.0, 6.5, 6.0}},
        {"pixels, the last step cut short", 10.5, kPixelSteps, {10.5, 9.5, 8.5, 8.0}},
        {"already the smallest", 6.0, kPointSteps, {6.0}},
        {"below the smallest", 7.0, kPixelSteps, {7.0}},
    };
    for (const auto& c : cases) EXPECT_EQ(CaptionFontSizes(c.start, c.steps), c.sizes) << c.name;
}

TEST(CaptionFont, FirstSizeThatFitsElseTheSmallest) {
    const struct {
        double largestFitting;
        double fitted;
    } cases[] = {{9.0, 8.0}, {7.25, 7.0}, {6.0, 6.0}, {1.0, 6.0}};
    for (const auto& c : cases) {
        const auto fits = [&c](double size) { return size <= c.largestFitting; };
        EXPECT_EQ(FittedFontSize(8.0, kPointSteps, fits), c.fitted) << c.largestFitting;
    }
}

} // namespace
} // namespace tolvex::testing
