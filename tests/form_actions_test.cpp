#include "calc/coil_constants.h"
#include "form/actions.h"
#include "numtext/format.h"
#include "numtext/number_text.h"
#include "support/coil_examples.h"
#include "support/failure_kinds.h"
#include "support/one_microhenry_table.h"
#include "support/reference_exact.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tolvex::testing {
namespace {

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

TEST(FormLoad, SelectsMicrohenries) {
    CoilFields fields;
    EXPECT_EQ(fields.IndUnits.Text(), " ");
    EXPECT_EQ(fields.IndUnits.ListIndex(), -1);
    Form_Load(fields);
    EXPECT_EQ(fields.IndUnits.Text(), "uH");
    EXPECT_EQ(fields.IndUnits.ListIndex(), 1);
    EXPECT_EQ(fields.FormDia, "20");
    EXPECT_EQ(fields.WireDia, "0.5");
    EXPECT_EQ(fields.Ind, "1");
    EXPECT_EQ(fields.Turns + fields.Length + fields.IndRes + fields.Results, "");
}

TEST(UnitSelector, TypedTextSelectsOnlyAnExactItem) {
    UnitSelector s;
    EXPECT_EQ(s.ListIndex(), -1); // nothing typed yet selects nothing
    // Blanks, case or a look-alike letter (micro sign, Greek mu) apart from an item: none.
    const std::pair<const char*, int> cases[] = {
        {"nH", 0},   {"uH", 1},  {"mH", 2},   {"pH", -1},        {"MH", -1},
        {"uH ", -1}, {"", -1},   {" uH", -1}, {"\tnH", -1},      {"mH\n", -1},
        {"u H", -1}, {"Uh", -1}, {"nh", -1},  {"\xc2\xb5H", -1}, {"\xce\xbcH", -1}};
    for (auto [text, index] : cases) {
        s.SetText(text);
        EXPECT_EQ(s.ListIndex(), index) << text;
        EXPECT_EQ(s.Text(), text);
    }
}

TEST(UnitSelector, SelectingAnIndexShowsItsItem) {
    // An index outside the list selects none and leaves the text as it was.
    const struct {
        int index;
        int selected;
        const char* text;
    } steps[] = {{0, 0, "nH"}, {2, 2, "mH"},   {3, -1, "mH"},
                 {1, 1, "uH"}, {-1, -1, "uH"}, {7, -1, "uH"}};
    UnitSelector s;
    for (const auto& step : steps) {
        s.SetListIndex(static_cast<Int16>(step.index));
        EXPECT_EQ(s.ListIndex(), step.selected) << step.index;
        EXPECT_EQ(s.Text(), step.text) << step.index;
    }
}

struct CalcCase {
    const char* name;
    const char* turns;
    const char* length;
    const char* former;
    const char* wire;
    const char* unitText;
    const char* expected; // nullptr: the action fails and IndRes keeps its text
    std::optional<FailureKind> failure;
};

TEST(CalcIndClick, WritesTheInductanceWithTheSelectorText) {
    const CalcCase cases[] = {
        {"initial uH", "10", "10", "20", "0.5", "uH", "2.14uH", std::nullopt},
        {"nH", "10", "10", "20", "0.5", "nH", "2140.86nH", std::nullopt},
        {"mH rounds to nothing", "10", "10", "20", "0.5", "mH", ".mH", std::nullopt},
        {"typed pH", "10", "10", "20", "0.5", "pH", "2140855.83pH", std::nullopt},
        {"blank before uH", "10", "10", "20", "0.5", " uH", "2140855.83 uH", std::nullopt},
        {"micro sign", "10", "10", "20", "0.5", "\xc2\xb5H", "2140855.83\xc2\xb5H", std::nullopt},
        {"empty turns", "", "10", "20", "0.5", "uH", ".uH", std::nullopt},
        {"trailing text", "10 mm", "10 mm", "20", "0.5", "uH", "2.14uH", std::nullopt},
        {"only length", "10", "10", "", "", "uH", ".uH", std::nullopt},
        {"fractional turns", "2.5", "10", "20", "0.5", "nH", "133.8nH", std::nullopt},
        {"all empty", "10", "", "", "", "uH", nullptr, FailureKind::Overflow},
        {"diameter sum", "1", "1", "1e308", "1e308", "uH", nullptr, FailureKind::Overflow},
        {"cancelling length", "1", "-0.46", "1.02", "0", "uH", nullptr,
         FailureKind::DivisionByZero},
    };
    for (const auto& c : cases) {
        CoilFields fields = StartedFields();
        fields.Turns = c.turns;
        fields.Length = c.length;
        fields.FormDia = c.former;
        fields.WireDia = c.wire;
        fields.IndUnits.SetText(c.unitText);
        fields.IndRes = "before";
        fields.Results = "untouched";
        const auto failure = FailureOf([&] { CalcInd_Click(fields); });
        EXPECT_EQ(failure, c.failure) << c.name;
        EXPECT_EQ(fields.IndRes, c.expected ? c.expected : "before") << c.name;
        EXPECT_EQ(fields.Results, "untouched") << c.name;
    }
}

TEST(CalcIndClick, WholeResultKeepsItsPoint) {
    CoilFields fields = StartedFields();
    fields.IndUnits.SetText("nH");
    fields.FormDia = "0.46"; // N^2 D^2 / (0.46 D) with N = 1, D = 0.46: exactly 1
    fields.WireDia = "0";
    fields.Turns = "1";
    fields.Length = "0";
    CalcInd_Click(fields);
    EXPECT_EQ(fields.IndRes, "1.nH");
}

TEST(CalcIndClick, DividesByTheUnitOnlyAfterTheFormula) {
    // Near the double limit the order of the three divisions decides whether
    // a step overflows: the nanohenries are finished before the unit scale.
    struct ScaleCase {
        const char* name;
        const char* turns;
        double turnsValue;
        const char* length;
        double lengthValue;
        const char* unitText;
        double scale; // the unit's nanohenries, 10^(3k)
    };
    const ScaleCase cases[] = {
        // N^2 D^2 = 1e308 times 1000 would overflow; the quotient by the
        // denominator first stays below the limit.
        {"pH of a huge numerator", "1e154", 1e154, "1e5", 1e5, "pH", RefDiv(1.0, 1000.0)},
        // The denominator 1.02e303 times 1e6 would overflow; the result is a
        // subnormal.
        {"mH of a huge denominator", "1", 1.0, "1e303", 1e303, "mH", 1e6},
    };
    for (const auto& c : cases) {
        CoilFields fields = StartedFields();
        fields.Turns = c.turns;
        fields.Length = c.length;
        fields.FormDia = "1";
        fields.WireDia = "0";
        fields.IndUnits.SetText(c.unitText);
        const double n = c.turnsValue;
        const double diameter = 1.0;
        const double numerator = RefMul(RefMul(RefMul(n, n), diameter), diameter);
        const double denominator = RefAdd(RefMul(kDiameterCoefficient, diameter),
                                          RefMul(kLengthCoefficient, c.lengthValue));
        const double expected = RefDiv(RefDiv(numerator, denominator), c.scale);
        ASSERT_TRUE(std::isfinite(expected)) << c.name;
        EXPECT_FALSE(FailureOf([&] { CalcInd_Click(fields); }).has_value()) << c.name;
        EXPECT_EQ(fields.IndRes, Format(expected, "#######.##") + c.unitText) << c.name;
    }
}

TEST(CalcIndClick, DividesByTheUnitScaleItself) {
    // Lengths found next to a tie of the second decimal: the nanohenries times
    // the reciprocal 1/1000 land one bit higher and show the next hundredth.
    const struct {
        const char* length;
        const char* expected;
    } cases[] = {
        {"31.750902350990355", "1.uH"},
        {"27.377995642701688", "1.12uH"},
        {"27.055325213786112", "1.13uH"},
    };
    for (const auto& c : cases) {
        CoilFields fields = StartedFields();
        fields.Turns = "10";
        fields.Length = c.length;
        CalcInd_Click(fields);
        EXPECT_EQ(fields.IndRes, c.expected) << c.length;
        const double diameter = 20.5;
        const double numerator = RefMul(RefMul(RefMul(10.0, 10.0), diameter), diameter);
        const double denominator = RefAdd(RefMul(kDiameterCoefficient, diameter),
                                          RefMul(kLengthCoefficient, Val(c.length)));
        const double byReciprocal = RefMul(RefDiv(numerator, denominator), RefDiv(1.0, 1000.0));
        EXPECT_NE(Format(byReciprocal, "#######.##") + "uH", c.expected) << c.length;
    }
}

TEST(GoClick, MultipliesByTheUnitScaleItself) {
    // Required inductances next to where the close-winding root reaches a
    // whole number: divided by the reciprocal 1/1000, the nanohenries come out
    // one bit lower and the least count one turn lower.
    const struct {
        const char* ind;
        const char* header;
    } cases[] = {
        {"0.8768070764341968", "Min  5 turns close wound,   length  2.5"},
        {"5.535303566848198", "Min  15 turns close wound,   length  7.5"},
    };
    for (const auto& c : cases) {
        CoilFields fields = StartedFields();
        fields.Ind = c.ind;
        GO_Click(fields);
        EXPECT_EQ(fields.Results.substr(0, fields.Results.find("\r\n")), c.header) << c.ind;
        const double byReciprocal = RefDiv(Val(c.ind), RefDiv(1.0, 1000.0));
        ASSERT_NE(byReciprocal, RefMul(Val(c.ind), 1000.0)) << c.ind;
    }
}

const std::string kOneMicrohenryTable = OneMicrohenryTable("\r\n");

TEST(GoClick, OneMicrohenryTableByteForByte) {
    CoilFields fields = StartedFields();
    fields.Results = "typed by the user";
    GO_Click(fields);
    EXPECT_EQ(fields.Results, kOneMicrohenryTable);
    GO_Click(fields); // a second click replaces, never doubles
    EXPECT_EQ(fields.Results, kOneMicrohenryTable);
    EXPECT_EQ(fields.IndUnits.Text(), "uH");
    EXPECT_EQ(fields.IndRes, "");
}

TEST(GoClick, TenMicrohenryTable) {
    CoilFields fields = StartedFields();
    fields.Ind = "10";
    GO_Click(fields);
    const std::string& text = fields.Results;
    ASSERT_EQ(text.substr(0, text.find("\r\n")), "Min  22 turns close wound,   length  11");
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    const TableShape shape = ShapeOf(text);
    std::size_t start = 0;
    std::vector<std::string> lines;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(shape.rows, 10);
    EXPECT_EQ(shape.groups, 6);
    EXPECT_EQ(lines[2], "22  Turns   Length 11.0   Spacing 0.50    9.85uH       Wire  01.4m");
    EXPECT_EQ(text.find("Length 22.0"), std::string::npos);
    for (std::size_t p = 0; (p = text.find('\n', p)) != std::string::npos; ++p)
        EXPECT_EQ(text[p - 1], '\r') << "bare line feed at " << p;
}

TEST(GoClick, TypedPicohenries) {
    CoilFields fields = StartedFields();
    fields.Ind = "1000000";
    fields.IndUnits.SetText("pH");
    GO_Click(fields);
    EXPECT_EQ(fields.Results.substr(0, fields.Results.find("\r\n", 45) + 2),
              "Min  5 turns close wound,   length  2.5\r\n\r\n"
              "5  Turns   Length 2.5   Spacing 0.50    876982.47pH       Wire  322.0mm\r\n");
    for (const std::string typed : {"uH\t", "\xce\xbcH", "mh"}) { // no item, however close
        fields.IndUnits.SetText(typed);
        GO_Click(fields);
        EXPECT_NE(fields.Results.find("0.50    876982.47" + typed + "       Wire"),
                  std::string::npos)
            << typed;
    }
}

struct FailingRun {
    const char* name;
    const char* ind;
    const char* unit;
    const char* wire;
    FailureKind kind;
    int rowsLeft; // -1: Results keeps its text
};

TEST(GoClick, FailuresLeaveWhatWasWritten) {
    const FailingRun runs[] = {
        {"empty", "", "uH", "0.5", FailureKind::DivisionByZero, -1},
        {"zero", "0", "uH", "0.5", FailureKind::DivisionByZero, -1},
        {"letters", "abc", "uH", "0.5", FailureKind::DivisionByZero, -1},
        {"too large", "100", "mH", "0.5", FailureKind::Overflow, -1},
        {"negative", "-1", "uH", "0.5", FailureKind::InvalidArgument, -1},
        {"zero turns", "1", "nH", "0.5", FailureKind::Overflow, 0},
        {"tenth row", "20", "mH", "0.5", FailureKind::Overflow, 9},
    };
    for (const auto& r : runs) {
        CoilFields fields = StartedFields();
        fields.Ind = r.ind;
        fields.WireDia = r.wire;
        fields.IndUnits.SetText(r.unit);
        fields.Results = "earlier";
        EXPECT_EQ(FailureOf([&] { GO_Click(fields); }), r.kind) << r.name;
        if (r.rowsLeft < 0) {
            EXPECT_EQ(fields.Results, "earlier") << r.name;
            continue;
        }
        EXPECT_EQ(ShapeOf(fields.Results).rows, r.rowsLeft) << r.name;
        EXPECT_EQ(fields.Results.substr(0, 4), "Min ") << r.name;
        EXPECT_EQ(fields.Results.substr(fields.Results.size() - 2), "\r\n") << r.name;
    }
}

TEST(GoClick, ZeroTurnsLeavesOnlyTheHeader) {
    CoilFields fields = StartedFields();
    fields.IndUnits.SetText("nH");
    EXPECT_EQ(FailureOf([&] { GO_Click(fields); }), FailureKind::Overflow);
    EXPECT_EQ(fields.Results, "Min  0 turns close wound,   length  0\r\n");
}

TEST(GoClick, ZeroStepSweepGivesOneRowAndEnds) {
    CoilFields fields = StartedFields();
    fields.Ind = "20";
    fields.IndUnits.SetText("nH");
    EXPECT_FALSE(FailureOf([&] { GO_Click(fields); }).has_value());
    EXPECT_EQ(fields.Results,
              Lines({"Min  0 turns close wound,   length  0", "",
                     "1  Turns   Length .0   Spacing 0.00    44.57nH       Wire  64.4mm"}));
}

TEST(GoClick, NegativeWireSweepsDownward) {
    CoilFields fields = StartedFields();
    fields.WireDia = "-0.5";
    GO_Click(fields);
    const std::string& text = fields.Results;
    EXPECT_EQ(text.substr(0, text.find("\r\n", 50) + 2),
              "Min  4 turns close wound,   length -2\r\n\r\n"
              "4  Turns   Length -2.0   Spacing -0.50    0.88uH       Wire  245.0mm\r\n");
    int rows = 0;
    for (std::size_t p = 0; (p = text.find("Turns ", p)) != std::string::npos; ++p) ++rows;
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(text.find("\r\n\r\n", 45), std::string::npos); // the count never rises again
    EXPECT_NE(text.find("Length -3.8   "), std::string::npos);
    EXPECT_EQ(text.find("Length -4.0"), std::string::npos);
}

} // namespace
} // namespace tolvex::testing
