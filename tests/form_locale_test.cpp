// The same bytes under any C library locale: no conversion may look at it.
#include "form/actions.h"
#include "numtext/format.h"
#include "numtext/number_text.h"
#include "support/conformance_fields.h"
#include "support/failure_kinds.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

namespace tolvex::testing {
namespace {

struct Outcome {
    std::string indRes, results;
    std::optional<FailureKind> calcFailure, goFailure;
    bool operator==(const Outcome&) const = default;
};

std::vector<Outcome> RunAllFieldSets() {
    std::vector<Outcome> outcomes;
    for (const auto& v : ReadJsonLines("actions.jsonl")) {
        CoilFields fields = FieldsOfVector(v.at("fields"));
        Outcome o;
        o.calcFailure = FailureOf([&] { CalcInd_Click(fields); });
        o.goFailure = FailureOf([&] { GO_Click(fields); });
        o.indRes = fields.IndRes;
        o.results = fields.Results;
        outcomes.push_back(std::move(o));
    }
    return outcomes;
}

class Locales : public ::testing::TestWithParam<const char*> {};

TEST_P(Locales, ActionsGiveIdenticalBytes) {
    std::setlocale(LC_ALL, "C");
    const auto reference = RunAllFieldSets();
    if (std::setlocale(LC_ALL, GetParam()) == nullptr) {
        if (std::getenv("TOLVEX_REQUIRE_LOCALES") != nullptr)
            FAIL() << GetParam() << " is not generated on this machine";
        GTEST_SKIP() << GetParam() << " is not generated on this machine";
    }
    const auto local = RunAllFieldSets();
    CoilFields fields;
    Form_Load(fields);
    fields.Turns = "10";
    fields.Length = "10";
    CalcInd_Click(fields);
    GO_Click(fields);
    const std::string decimalPoint = std::localeconv()->decimal_point;
    std::setlocale(LC_ALL, "C");

    EXPECT_EQ(fields.IndRes, "2.14uH");
    EXPECT_EQ(fields.Results.substr(0, 41), "Min  5 turns close wound,   length  2.5\r\n");
    EXPECT_EQ(Val("1.5"), 1.5);
    ASSERT_EQ(local.size(), reference.size());
    for (std::size_t i = 0; i < local.size(); ++i)
        EXPECT_TRUE(local[i] == reference[i]) << "field set " << i + 1;
    if (std::string(GetParam()) != "C") {
        EXPECT_EQ(decimalPoint, ","); // the locale really was active
    }
}

INSTANTIATE_TEST_SUITE_P(CLibrary, Locales,
                         ::testing::Values("C", "de_DE.UTF-8", "fr_FR.UTF-8", "tr_TR.UTF-8"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (auto& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

} // namespace
} // namespace tolvex::testing
