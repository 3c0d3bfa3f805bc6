// The form's field table and action runner, which both faces use: the CR LF
// rule, the unit list's text, and what a click takes in and gives back.
#include "form/action_runner.h"
#include "form/field_table.h"
#include "support/coil_examples.h"
#include "support/one_microhenry_table.h"
#include "support/window_lists.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tolvex::testing {
namespace {

const FormField& Field(std::string_view name) {
    const FormField* field = FindField(name);
    if (field == nullptr) throw std::invalid_argument("no field " + std::string(name));
    return *field;
}

TEST(FieldTable, NamesEveryFieldOnceWithItsKind) {
    std::vector<std::string> names;
    names.reserve(kFormFields.size());
    for (const FormField& field : kFormFields) names.emplace_back(field.name);
    EXPECT_EQ(names, WindowList("fields")); // in order, each once
    // Each field's kind, and the member of the model that keeps its text.
    const struct {
        std::string_view name;
        FieldKind kind;
        TextMember text;
    } rows[] = {
        {"FormDia", FieldKind::SingleLine, &CoilFields::FormDia},
        {"WireDia", FieldKind::SingleLine, &CoilFields::WireDia},
        {"Ind", FieldKind::SingleLine, &CoilFields::Ind},
        {"IndUnits", FieldKind::UnitList, nullptr},
        {"Turns", FieldKind::SingleLine, &CoilFields::Turns},
        {"Length", FieldKind::SingleLine, &CoilFields::Length},
        {"IndRes", FieldKind::SingleLine, &CoilFields::IndRes},
        {"Results", FieldKind::MultiLine, &CoilFields::Results},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Field(row.name).kind, row.kind) << row.name;
        EXPECT_EQ(Field(row.name).text, row.text) << row.name;
    }
    EXPECT_EQ(FindField("GO"), nullptr);
    // Each text field is kept in its own member of the model.
    CoilFields fields;
    for (const FormField& field : kFormFields)
        if (field.kind != FieldKind::UnitList) TakeShownText(fields, field, field.name);
    EXPECT_EQ(fields.Turns, "Turns");
    EXPECT_EQ(fields.IndRes, "IndRes");
    EXPECT_EQ(fields.FormDia, "FormDia");
}

TEST(FieldTable, ResultsLineBreaksConvertBothWays) {
    const struct {
        const char* name;
        const char* model;
        const char* shown;
    } rows[] = {
        {"empty", "", ""},
        {"one_row", "a\r\n", "a\n"},
        {"empty_line", "h\r\n\r\nr\r\n", "h\n\nr\n"},
        {"no_break", "abc", "abc"},
        // A CR without its LF (a typed unit's) is text, shown as it is.
        {"lone_cr", "u\rH\r\n", "u\rH\n"},
        {"cr_before_break", "a\r\r\n", "a\r\n"},
    };
    for (const auto& row : rows) {
        CoilFields fields;
        fields.Results = row.model;
        EXPECT_EQ(ShownText(fields, Field("Results")), row.shown) << row.name;
        TakeShownText(fields, Field("Results"), row.shown);
        EXPECT_EQ(fields.Results, row.model) << row.name;
        // A one-line field keeps a line break as it is.
        TakeShownText(fields, Field("IndRes"), row.shown);
        EXPECT_EQ(ShownText(fields, Field("IndRes")), row.shown) << row.name;
    }
}

TEST(FieldTable, TheUnitListSelectsTheItemItsTextEquals) {
    CoilFields fields;
    const struct {
        const char* text;
        int index;
    } rows[] = {{"mH", 2}, {"nH", 0}, {"pH", -1}, {"mh", -1}, {"uH ", -1}, {"uH", 1}};
    for (const auto& row : rows) {
        TakeShownText(fields, Field("IndUnits"), row.text);
        EXPECT_EQ(ShownText(fields, Field("IndUnits")), row.text);
        EXPECT_EQ(ListIndexOf(fields, Field("IndUnits")), row.index) << row.text;
        EXPECT_EQ(ListIndexOf(fields, Field("Ind")), std::nullopt);
    }
}

// Texts a face hands in, by field name.
std::vector<FieldText> Texts(std::initializer_list<std::pair<std::string_view, std::string>> rows) {
    std::vector<FieldText> texts;
    for (const auto& [name, text] : rows) texts.push_back({&Field(name), text});
    return texts;
}

// The changes a face is to show, by field name; each field at most once.
std::map<std::string_view, FieldChange> ByName(const std::vector<FieldChange>& changes) {
    std::map<std::string_view, FieldChange> named;
    for (const FieldChange& change : changes)
        EXPECT_TRUE(named.emplace(change.field->name, change).second) << change.field->name;
    return named;
}

TEST(ActionRunner, StartUpShowsEveryFieldWithUhSelected) {
    ActionRunner runner;
    auto shown = ByName(runner.Start());
    EXPECT_EQ(shown.size(), kFormFields.size());
    EXPECT_EQ(shown.at("IndUnits").text, "uH");
    EXPECT_EQ(shown.at("IndUnits").listIndex, 1);
    EXPECT_EQ(shown.at("Ind").listIndex, std::nullopt);
    EXPECT_EQ(shown.at("FormDia").text, "20");
    EXPECT_EQ(shown.at("Results").text, "");
}

TEST(ActionRunner, AClickTakesTextsAndShowsOnlyWhatTheActionChanged) {
    ActionRunner runner;
    runner.Start();
    ClickResult calc =
        runner.Click(kCalculateInductance, Texts({{"Turns", "10"}, {"Length", "10"}}));
    EXPECT_FALSE(calc.stop.has_value());
    ASSERT_EQ(calc.changes.size(), 1u);
    EXPECT_EQ(ByName(calc.changes).at("IndRes").text, "2.14uH");

    const ClickResult go = runner.Click(kGenerateValues, {});
    EXPECT_FALSE(go.stop.has_value());
    ASSERT_EQ(go.changes.size(), 1u);
    EXPECT_EQ(ByName(go.changes).at("Results").text, OneMicrohenryTable("\n"));
    EXPECT_EQ(runner.Fields().Results, OneMicrohenryTable("\r\n"));

    // The same table again, and a table a person typed back to the same, show nothing new.
    EXPECT_TRUE(runner.Click(kGenerateValues, Texts({{"Results", OneMicrohenryTable("\n")}}))
                    .changes.empty());
    // A person's text reaches the model with CR LF; a click that leaves it shows nothing.
    calc = runner.Click(kCalculateInductance, Texts({{"Results", "typed\nby hand"}}));
    EXPECT_EQ(runner.Fields().Results, "typed\r\nby hand");
    EXPECT_TRUE(calc.changes.empty());
}

TEST(ActionRunner, ATypedUnitIsShownAgainWithTheItemItSelects) {
    ActionRunner runner;
    runner.Start();
    const struct {
        const char* typed; // nullptr: not handed in
        bool shownAgain;
        int listIndex;
    } rows[] = {{"xH", true, -1}, {nullptr, false, -1}, {"xH", false, -1},
                {"mH", true, 2},  {"mH", false, 2},     {"uH", true, 1}};
    for (const auto& row : rows) {
        const std::string where = row.typed != nullptr ? row.typed : "not handed in";
        const auto shown =
            ByName(runner
                       .Click(kCalculateInductance,
                              row.typed != nullptr ? Texts({{"IndUnits", row.typed}}) : Texts({}))
                       .changes);
        EXPECT_EQ(shown.contains("IndUnits"), row.shownAgain) << where;
        if (row.shownAgain) {
            EXPECT_EQ(shown.at("IndUnits").listIndex, row.listIndex) << where;
        }
        EXPECT_EQ(runner.Fields().IndUnits.ListIndex(), row.listIndex) << where;
    }
}

TEST(ActionRunner, AFailureGivesItsWordsAndKeepsWhatWasWritten) {
    ActionRunner runner;
    runner.Start();
    const ClickResult go = runner.Click(
        kGenerateValues, Texts({{"Ind", "20"}, {"IndUnits", "mH"}, {"Results", "before"}}));
    ASSERT_TRUE(go.stop.has_value());
    EXPECT_EQ(go.stop.value().action, "Generate Values");
    EXPECT_EQ(go.stop.value().failure.cause(), FailureCause::BeyondInt16);
    EXPECT_EQ(go.stop.value().words,
              "Generate Values stopped with an overflow: a turn count is outside "
              "the whole numbers -32768 to 32767.");
    EXPECT_EQ(ShapeOf(runner.Fields().Results).rows, 9);
    EXPECT_TRUE(ByName(go.changes).at("Results").text.starts_with("Min  24289 turns close wound"));

    const ClickResult early = runner.Click(kGenerateValues, Texts({{"Ind", ""}}));
    ASSERT_TRUE(early.stop.has_value());
    EXPECT_EQ(early.stop.value().failure.cause(), FailureCause::DivisionByZero);
    EXPECT_TRUE(early.changes.empty()); // it stopped before writing
}

TEST(ActionRunner, ActionsAreFoundByTheirButtons) {
    EXPECT_EQ(FindAction("GO"), &kGenerateValues);
    EXPECT_EQ(FindAction("CalcInd"), &kCalculateInductance);
    EXPECT_EQ(FindAction("Results"), nullptr);
    for (const Action& action : kActions) EXPECT_EQ(FindAction(action.button), &action);
    EXPECT_EQ(kCalculateInductance.caption, "Calculate Inductance");
}

} // namespace
} // namespace tolvex::testing
