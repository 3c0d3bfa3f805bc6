// The words shown when an action stops, for each cause arising from real
// inputs in each action.
#include "form/actions.h"
#include "form/failure_message.h"
#include "support/coil_examples.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tolvex {
namespace {

struct WordsCase {
    const char* name;
    const char* action;
    void (*click)(CoilFields&);
    const char* turns;
    const char* length;
    const char* former;
    const char* wire;
    const char* ind;
    const char* unit;
    const char* words;
};

constexpr const char* kGo = "Generate Values";
constexpr const char* kCalc = "Calculate Inductance";
// Two ways for a field to fail, with different words.
constexpr const char* kWide = "&H1FFFFFFFF";
constexpr const char* kHuge = "1e400";
constexpr const char* kCalcWide = "Calculate Inductance stopped with an overflow: a hexadecimal "
                                  "or octal number is wider than 32 bits.";
constexpr const char* kCalcHuge =
    "Calculate Inductance stopped with an overflow: a number is too large.";
constexpr const char* kGoWide = "Generate Values stopped with an overflow: a hexadecimal or "
                                "octal number is wider than 32 bits.";
constexpr const char* kGoHuge = "Generate Values stopped with an overflow: a number is too large.";

std::optional<ArithmeticFailure> FailureFrom(const WordsCase& c) {
    CoilFields fields = testing::StartedFields();
    fields.Turns = c.turns;
    fields.Length = c.length;
    fields.FormDia = c.former;
    fields.WireDia = c.wire;
    fields.Ind = c.ind;
    fields.IndUnits.SetText(c.unit);
    try {
        c.click(fields);
    } catch (const ArithmeticFailure& failure) {
        return failure;
    }
    return std::nullopt;
}

TEST(FailureMessage, SaysWhatHappenedForEachCause) {
    const WordsCase cases[] = {
        {"0 / 0", kCalc, CalcInd_Click, "10", "", "", "", "", "uH",
         "Calculate Inductance stopped with an overflow: 0 was divided by 0, which has no value."},
        {"beyond range", kCalc, CalcInd_Click, "1", "1", "1e308", "1e308", "", "uH",
         "Calculate Inductance stopped with an overflow: a number is too large."},
        {"read beyond range", kCalc, CalcInd_Click, "1e400", "1", "1", "1", "", "uH",
         "Calculate Inductance stopped with an overflow: a number is too large."},
        {"wide hexadecimal", kCalc, CalcInd_Click, "&H1FFFFFFFF", "1", "1", "1", "", "uH",
         "Calculate Inductance stopped with an overflow: a hexadecimal or octal number is wider "
         "than 32 bits."},
        {"cancelling length", kCalc, CalcInd_Click, "1", "-0.46", "1.02", "0", "", "uH",
         "Calculate Inductance stopped with a division by zero."},
        {"16 bits", kGo, GO_Click, "", "", "20", "0.5", "100", "mH",
         "Generate Values stopped with an overflow: a turn count is outside the whole numbers "
         "-32768 to 32767."},
        {"beyond range", kGo, GO_Click, "", "", "1e300", "0.5", "10", "uH",
         "Generate Values stopped with an overflow: a number is too large."},
        {"no inductance", kGo, GO_Click, "", "", "20", "0.5", "", "uH",
         "Generate Values stopped with a division by zero."},
        {"negative", kGo, GO_Click, "", "", "20", "0.5", "-1", "uH",
         "Generate Values stopped with an invalid argument: the square root of a negative "
         "number."},
        // Two fields fail: the words are those of the one the action reads first.
        {"Turns, WireDia", kCalc, CalcInd_Click, kWide, "10", "20", kHuge, "", "uH", kCalcWide},
        {"Turns, FormDia", kCalc, CalcInd_Click, kHuge, "10", kWide, "0.5", "", "uH", kCalcHuge},
        {"Turns, Length", kCalc, CalcInd_Click, kWide, kHuge, "20", "0.5", "", "uH", kCalcWide},
        {"WireDia, FormDia", kCalc, CalcInd_Click, "10", "10", kHuge, kWide, "", "uH", kCalcWide},
        {"WireDia, Length", kCalc, CalcInd_Click, "10", kWide, "20", kHuge, "", "uH", kCalcHuge},
        {"FormDia, Length", kCalc, CalcInd_Click, "10", kHuge, kWide, "0.5", "", "uH", kCalcWide},
        {"Ind, WireDia", kGo, GO_Click, "", "", "20", kHuge, kWide, "uH", kGoWide},
        {"Ind, FormDia", kGo, GO_Click, "", "", kWide, "0.5", kHuge, "uH", kGoHuge},
        {"WireDia, FormDia", kGo, GO_Click, "", "", kWide, kHuge, "1", "uH", kGoHuge},
    };
    for (const auto& c : cases) {
        const auto failure = FailureFrom(c);
        ASSERT_TRUE(failure.has_value()) << c.action << ", " << c.name;
        EXPECT_EQ(FailureMessage(c.action, failure.value()), c.words) << c.action << ", " << c.name;
    }
}

TEST(FailureMessage, KindFollowsFromCause) {
    const struct {
        FailureCause cause;
        FailureKind kind;
    } cases[] = {
        {FailureCause::DivisionByZero, FailureKind::DivisionByZero},
        {FailureCause::BeyondDoubleRange, FailureKind::Overflow},
        {FailureCause::ZeroDividedByZero, FailureKind::Overflow},
        {FailureCause::BeyondInt16, FailureKind::Overflow},
        {FailureCause::RadixBeyond32Bits, FailureKind::Overflow},
        {FailureCause::NegativeSquareRoot, FailureKind::InvalidArgument},
    };
    for (const auto& c : cases) EXPECT_EQ(ArithmeticFailure(c.cause).kind(), c.kind);
}

} // namespace
} // namespace tolvex
