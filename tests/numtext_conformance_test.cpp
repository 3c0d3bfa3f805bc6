// Every number vector from the independent exact model: Str, Format, Int16ToText, Val.
#include "numtext/format.h"
#include "numtext/number_text.h"
#include "support/failure_kinds.h"
#include "support/json_lines.h"

#include <gtest/gtest.h>

namespace tolvex::testing {
namespace {

TEST(NumtextConformance, StrAndFormatOfEveryVector) {
    const auto vectors = ReadJsonLines("numbers.jsonl");
    ASSERT_GT(vectors.size(), 6000U);
    int checked = 0;
    for (const auto& v : vectors) {
        if (v.contains("bits")) {
            const std::string bits = TextOf(v, "bits");
            const double x = DoubleFromBits(bits);
            EXPECT_EQ(Str(x), TextOf(v, "Str")) << "bits " << bits;
            for (const auto& [picture, expected] : v.at("Format").items()) {
                EXPECT_EQ(Format(x, picture), expected.get<std::string>())
                    << "bits " << bits << " picture \"" << picture << "\"";
                ++checked;
            }
        } else {
            const auto i = v.at("int16").get<Int16>();
            EXPECT_EQ(Str(i), TextOf(v, "Str"));
            EXPECT_EQ(Int16ToText(i), TextOf(v, "Int16ToText"));
            EXPECT_EQ(Format(i, "####  Turns   "), TextOf(v.at("Format"), "####  Turns   "));
            ++checked;
        }
    }
    EXPECT_GT(checked, 30000);
}

TEST(NumtextConformance, ValOfEveryVector) {
    const auto vectors = ReadJsonLines("val.jsonl");
    ASSERT_GT(vectors.size(), 7900U);
    for (const auto& v : vectors) {
        const std::string text = TextOf(v, "text");
        double result = 0.0;
        const auto failure = FailureOf([&] { result = Val(text); });
        if (v.contains("failure")) {
            EXPECT_EQ(failure, FailureKindNamed(TextOf(v, "failure"))) << "text \"" << text << "\"";
        } else {
            ASSERT_FALSE(failure.has_value())
                << "text \"" << text << "\" failed with " << FailureKindText(failure.value());
            EXPECT_EQ(BitsOf(result), TextOf(v, "bits")) << "text \"" << text << "\"";
        }
    }
}

} // namespace
} // namespace tolvex::testing
