// Text a person can type or paste, however hostile: each click ends with the
// exact text or a named failure, and the fields stay usable.
#include "form/actions.h"
#include "form/field_table.h"
#include "support/coil_examples.h"
#include "support/failure_kinds.h"

#include <gtest/gtest.h>

namespace tolvex::testing {
namespace {

constexpr std::size_t kMegabyte = 1 << 20;

CoilFields Started() {
    CoilFields fields = StartedFields();
    fields.Turns = "10";
    fields.Length = "10";
    return fields;
}

struct HostileCase {
    const char* name;
    TextMember field;
    std::string text;
    const char* indRes; // nullptr: Calculate Inductance fails with calcFailure
    std::optional<FailureKind> calcFailure;
    const char* header; // nullptr: Generate Values fails before writing, with goFailure
    std::optional<FailureKind> goFailure;
};

const std::string kHeaderOneMicrohenry = "Min  5 turns close wound,   length  2.5";

TEST(Hostile, FieldTextsEndExactlyOrWithANamedFailure) {
    const HostileCase cases[] = {
        {"megabyte of blanks before Ind", &CoilFields::Ind, std::string(kMegabyte, ' ') + "1",
         "2.14uH", std::nullopt, "Min  5 turns close wound,   length  2.5", std::nullopt},
        {"megabyte of digits in Ind", &CoilFields::Ind, std::string(kMegabyte, '7'), "2.14uH",
         std::nullopt, nullptr, FailureKind::Overflow},
        {"megabyte of fraction digits in Ind", &CoilFields::Ind,
         "1." + std::string(kMegabyte, '0') + "1", "2.14uH", std::nullopt,
         "Min  5 turns close wound,   length  2.5", std::nullopt},
        {"megabyte of junk after FormDia", &CoilFields::FormDia, "20" + std::string(kMegabyte, 'x'),
         "2.14uH", std::nullopt, "Min  5 turns close wound,   length  2.5", std::nullopt},
        // Reads as 0 (too small for a double): no wire, so a close-wound length of 0.
        {"megabyte of zeros in WireDia", &CoilFields::WireDia,
         "." + std::string(kMegabyte, '0') + "5", "2.06uH", std::nullopt,
         "Min  4 turns close wound,   length  0", std::nullopt},
        {"megabyte of tiny Turns", &CoilFields::Turns, "0." + std::string(kMegabyte, '0') + "1",
         ".uH", std::nullopt, "Min  5 turns close wound,   length  2.5", std::nullopt},
        {"megabyte Length overflows", &CoilFields::Length, "9" + std::string(kMegabyte, '9'),
         nullptr, FailureKind::Overflow, "Min  5 turns close wound,   length  2.5", std::nullopt},
        {"NUL ends the number", &CoilFields::Ind,
         std::string("1\0"
                     "5",
                     3),
         "2.14uH", std::nullopt, "Min  5 turns close wound,   length  2.5", std::nullopt},
        {"NUL first", &CoilFields::Ind,
         std::string("\0"
                     "1",
                     2),
         "2.14uH", std::nullopt, nullptr, FailureKind::DivisionByZero},
        // Reads as 0: a former of 0 with the 0.5 wire.
        {"invalid UTF-8", &CoilFields::FormDia,
         "\xff\xfe\x80"
         "20",
         ".uH", std::nullopt, "Min  2040 turns close wound,   length  1020", std::nullopt},
        {"control characters", &CoilFields::Ind, "\x01\x1b[2J1", "2.14uH", std::nullopt, nullptr,
         FailureKind::DivisionByZero},
        {"1e400", &CoilFields::Ind, "1e400", "2.14uH", std::nullopt, nullptr,
         FailureKind::Overflow},
        {"-0", &CoilFields::Ind, "-0", "2.14uH", std::nullopt, nullptr,
         FailureKind::DivisionByZero},
        // Its tenth rounds to 0: one row at the subnormal length, then the sweep ends.
        {"subnormal wire", &CoilFields::WireDia, "4.9e-324", "2.06uH", std::nullopt,
         "Min  4 turns close wound,   length  1.97626258336499E-323", std::nullopt},
        {"negative former", &CoilFields::FormDia, "-20", "30.91uH", std::nullopt, nullptr,
         FailureKind::InvalidArgument},
        {"zero effective diameter", &CoilFields::FormDia, "-0.5", ".uH", std::nullopt, nullptr,
         FailureKind::DivisionByZero},
        {"zero wire", &CoilFields::WireDia, "0", "2.06uH", std::nullopt,
         "Min  4 turns close wound,   length  0", std::nullopt},
        {"negative wire", &CoilFields::WireDia, "-0.5", "1.98uH", std::nullopt,
         "Min  4 turns close wound,   length -2", std::nullopt},
    };
    for (const auto& c : cases) {
        CoilFields fields = Started();
        fields.*c.field = c.text;
        fields.IndRes = "earlier result";
        fields.Results = "earlier table";
        const auto calcFailure = FailureOf([&] { CalcInd_Click(fields); });
        EXPECT_EQ(calcFailure, c.calcFailure) << c.name;
        EXPECT_EQ(fields.IndRes, c.indRes ? c.indRes : "earlier result") << c.name;

        const auto goFailure = FailureOf([&] { GO_Click(fields); });
        if (c.header == nullptr) {
            EXPECT_EQ(goFailure, c.goFailure) << c.name;
            EXPECT_EQ(fields.Results, "earlier table") << c.name;
        } else {
            EXPECT_EQ(fields.Results.substr(0, fields.Results.find("\r\n")), c.header) << c.name;
        }
        EXPECT_TRUE(fields.*c.field == c.text) << c.name << ": an input field was changed";

        // Still usable: with ordinary input again the click gives the ordinary answer.
        fields.*c.field = Started().*c.field;
        CalcInd_Click(fields);
        EXPECT_EQ(fields.IndRes, "2.14uH") << c.name;
        GO_Click(fields);
        EXPECT_EQ(fields.Results.substr(0, fields.Results.find("\r\n")), kHeaderOneMicrohenry)
            << c.name;
    }
}

TEST(Hostile, SelectorTextLongerThanALine) {
    CoilFields fields = Started();
    const std::string unit = "p" + std::string(kMegabyte, 'H') + "\r\nnext line";
    fields.IndUnits.SetText(unit);
    EXPECT_EQ(fields.IndUnits.ListIndex(), -1);
    CalcInd_Click(fields);
    EXPECT_TRUE(fields.IndRes == "2140855.83" + unit);
    fields.Ind = "1000000";
    GO_Click(fields);
    const std::string firstRow =
        "5  Turns   Length 2.5   Spacing 0.50    876982.47" + unit + "       Wire  322.0mm\r\n";
    const std::string start = "Min  5 turns close wound,   length  2.5\r\n\r\n" + firstRow;
    EXPECT_TRUE(fields.Results.compare(0, start.size(), start) == 0)
        << fields.Results.substr(0, 120);
    EXPECT_GT(fields.Results.size(), 11 * unit.size());
}

} // namespace
} // namespace tolvex::testing
