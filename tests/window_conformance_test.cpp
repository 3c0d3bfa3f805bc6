// Every field set from the independent exact model, through the field model and both actions.
#include "support/conformance_fields.h"
#include "support/failure_kind_text.h"
#include "window/actions.h"

#include <gtest/gtest.h>

namespace tolvex::testing {
namespace {

constexpr const char* kPrevious = "text before the click";

CoilFields FieldsOf(const JsonValue& f) {
    CoilFields fields = FieldsOfVector(f);
    fields.IndRes = kPrevious;
    fields.Results = kPrevious;
    return fields;
}

void ExpectOutcome(const JsonValue& expected, const std::optional<std::string>& failure,
                   const std::string& written, const std::string& where) {
    if (expected["status"].text == "ok") {
        EXPECT_FALSE(failure.has_value()) << where << " failed with " << failure.value_or("");
    } else {
        EXPECT_EQ(failure.value_or("no failure"), expected["failure"].text) << where;
    }
    const std::string want = expected["text"].IsNull() ? kPrevious : expected["text"].text;
    EXPECT_EQ(written, want) << where;
}

TEST(WindowConformance, BothActionsOnEveryFieldSet) {
    const auto vectors = ReadJsonLines("actions.jsonl");
    ASSERT_EQ(vectors.size(), 1500U);
    int line = 0;
    for (const auto& v : vectors) {
        ++line;
        const std::string where = "actions.jsonl line " + std::to_string(line);
        CoilFields fields = FieldsOf(v["fields"]);
        const int index = IntOf(v["fields"]["IndUnitsIndex"].text);
        ASSERT_EQ(fields.IndUnits.ListIndex(), index) << where;

        const CoilFields before = fields;
        auto calcFailure = FailureOf([&] { CalcInd_Click(fields); });
        ExpectOutcome(v["calc"], calcFailure, fields.IndRes, where + " CalcInd");
        EXPECT_EQ(fields.Results, before.Results) << where;

        auto goFailure = FailureOf([&] { GO_Click(fields); });
        ExpectOutcome(v["go"], goFailure, fields.Results, where + " GO");
        EXPECT_EQ(fields.Ind, before.Ind) << where;
        EXPECT_EQ(fields.IndUnits.Text(), before.IndUnits.Text()) << where;
        EXPECT_EQ(fields.IndUnits.ListIndex(), before.IndUnits.ListIndex()) << where;
    }
}

} // namespace
} // namespace tolvex::testing
