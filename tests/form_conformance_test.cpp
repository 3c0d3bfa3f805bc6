// Every field set from the independent exact model, through the field model and both actions.
#include "form/actions.h"
#include "support/conformance_fields.h"
#include "support/failure_kinds.h"

#include <gtest/gtest.h>

namespace tolvex::testing {
namespace {

constexpr const char* kPrevious = "text before the click";

CoilFields FieldsOf(const Json& f) {
    CoilFields fields = FieldsOfVector(f);
    fields.IndRes = kPrevious;
    fields.Results = kPrevious;
    return fields;
}

void ExpectOutcome(const Json& expected, const std::optional<FailureKind>& failure,
                   const std::string& written, const std::string& where) {
    if (TextOf(expected, "status") == "ok") {
        EXPECT_FALSE(failure.has_value())
            << where << " failed with " << FailureKindText(failure.value());
    } else {
        EXPECT_EQ(failure, FailureKindNamed(TextOf(expected, "failure"))) << where;
    }
    const std::string want = expected.at("text").is_null() ? kPrevious : TextOf(expected, "text");
    EXPECT_EQ(written, want) << where;
}

TEST(WindowConformance, BothActionsOnEveryFieldSet) {
    const auto vectors = ReadJsonLines("actions.jsonl");
    ASSERT_EQ(vectors.size(), 1500U);
    int line = 0;
    for (const auto& v : vectors) {
        ++line;
        const std::string where = "actions.jsonl line " + std::to_string(line);
        CoilFields fields = FieldsOf(v.at("fields"));
        const int index = v.at("fields").at("IndUnitsIndex").get<int>();
        ASSERT_EQ(fields.IndUnits.ListIndex(), index) << where;

        const CoilFields before = fields;
        auto calcFailure = FailureOf([&] { CalcInd_Click(fields); });
        ExpectOutcome(v.at("calc"), calcFailure, fields.IndRes, where + " CalcInd");
        EXPECT_EQ(fields.Results, before.Results) << where;

        auto goFailure = FailureOf([&] { GO_Click(fields); });
        ExpectOutcome(v.at("go"), goFailure, fields.Results, where + " GO");
        EXPECT_EQ(fields.Ind, before.Ind) << where;
        EXPECT_EQ(fields.IndUnits.Text(), before.IndUnits.Text()) << where;
        EXPECT_EQ(fields.IndUnits.ListIndex(), before.IndUnits.ListIndex()) << where;
    }
}

} // namespace
} // namespace tolvex::testing
