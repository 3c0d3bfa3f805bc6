// Every number vector from the independent exact model: Str, Format, Int16ToText, Val.
#include "numtext/format.h"
#include "numtext/number_text.h"
#include "support/failure_kind_text.h"
#include "support/json_value.h"

#include <gtest/gtest.h>

namespace tolvex::testing {
namespace {

TEST(NumtextConformance, StrAndFormatOfEveryVector) {
    const auto vectors = ReadJsonLines("numbers.jsonl");
    ASSERT_GT(vectors.size(), 6000U);
    int checked = 0;
    for (const auto& v : vectors) {
        if (v.Has("bits")) {
            const double x = DoubleFromBits(v["bits"].text);
            EXPECT_EQ(Str(x), v["Str"].text) << "bits " << v["bits"].text;
            for (const auto& [picture, expected] : v["Format"].members) {
                EXPECT_EQ(Format(x, picture), expected.text)
                    << "bits " << v["bits"].text << " picture \"" << picture << "\"";
                ++checked;
            }
        } else {
            int value = 0;
            const auto& n = v["int16"].text;
            std::from_chars(n.data(), n.data() + n.size(), value);
            const auto i = static_cast<Int16>(value);
            EXPECT_EQ(Str(i), v["Str"].text);
            EXPECT_EQ(Int16ToText(i), v["Int16ToText"].text);
            EXPECT_EQ(Format(i, "####  Turns   "), v["Format"]["####  Turns   "].text);
            ++checked;
        }
    }
    EXPECT_GT(checked, 30000);
}

TEST(NumtextConformance, ValOfEveryVector) {
    const auto vectors = ReadJsonLines("val.jsonl");
    ASSERT_GT(vectors.size(), 7900U);
    for (const auto& v : vectors) {
        const std::string& text = v["text"].text;
        double result = 0.0;
        const auto failure = FailureOf([&] { result = Val(text); });
        if (v.Has("failure")) {
            EXPECT_EQ(failure.value_or("no failure"), v["failure"].text)
                << "text \"" << text << "\"";
        } else {
            ASSERT_FALSE(failure.has_value()) << "text \"" << text << "\" failed with " << *failure;
            EXPECT_EQ(BitsOf(result), v["bits"].text) << "text \"" << text << "\"";
        }
    }
}

} // namespace
} // namespace tolvex::testing
