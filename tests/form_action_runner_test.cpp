// The form's field table and action runner, which both faces use: the CR LF
// rule, the unit list's text, and what a click copies in and shows back.
#include "form/action_runner.h"
#include "form/field_table.h"
#include "support/coil_examples.h"
#include "support/one_microhenry_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tolvex::testing {
namespace {

const FormField& Field(std::string_view name) {
    const FormField* field = FindField(name);
    if (field == nullptr) throw std::invalid_argument("no field " + std::string(name));
    return *field;
}

TEST(FieldTable, NamesEveryFieldOnceWithItsKind) {
    std::set<std::string_view> names;
    for (const FormField& field : kFormFields) EXPECT_TRUE(names.insert(field.name).second);
    EXPECT_EQ(names, (std::set<std::string_view>{"FormDia", "WireDia", "Ind", "IndUnits", "Turns",
                                                 "Length", "IndRes", "Results"}));
    // Each field's kind, and the member of the model that keeps its text.
    const struct {
        std::string_view name;
        FieldKind kind;
        std::string CoilFields::*text;
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
        EXPECT_EQ(ListIndexOf(fields, Field("Ind")), -1);
    }
}

// Boxes as a face keeps them: a text per field, and which ones a person
// changed since the runner last showed them.
class FakeBoxes final : public FieldBoxes {
  public:
    std::map<std::string_view, std::string> text;
    std::map<std::string_view, int> listIndex;
    std::set<std::string_view> edited;
    std::set<std::string_view> shown; // what the last call showed

    void Type(std::string_view name, std::string typed) {
        text[name] = std::move(typed);
        edited.insert(name);
    }
    std::optional<std::string> EditedText(const FormField& field) override {
        if (edited.erase(field.name) == 0) return std::nullopt;
        return text[field.name];
    }
    void ShowText(const FormField& field, std::string_view shownText, int index) override {
        text[field.name] = std::string(shownText);
        listIndex[field.name] = index;
        shown.insert(field.name);
    }
};

TEST(ActionRunner, StartUpShowsEveryFieldWithUhSelected) {
    ActionRunner runner;
    FakeBoxes boxes;
    runner.Load(boxes);
    EXPECT_EQ(boxes.shown.size(), kFormFields.size());
    EXPECT_EQ(boxes.text["IndUnits"], "uH");
    EXPECT_EQ(boxes.listIndex["IndUnits"], 1);
    EXPECT_EQ(boxes.listIndex["Ind"], -1);
    EXPECT_EQ(boxes.text["FormDia"], "20");
    EXPECT_EQ(boxes.text["Results"], "");
}

TEST(ActionRunner, AClickTakesEditsAndShowsOnlyWhatTheActionChanged) {
    ActionRunner runner;
    FakeBoxes boxes;
    runner.Load(boxes);
    boxes.Type("Turns", "10");
    boxes.Type("Length", "10");
    boxes.shown.clear();
    EXPECT_FALSE(runner.Run(kCalculateInductance, boxes).has_value());
    EXPECT_EQ(boxes.shown, (std::set<std::string_view>{"IndRes"}));
    EXPECT_EQ(boxes.text["IndRes"], "2.14uH");

    boxes.shown.clear();
    EXPECT_FALSE(runner.Run(kGenerateValues, boxes).has_value());
    EXPECT_EQ(boxes.shown, (std::set<std::string_view>{"Results"}));
    EXPECT_EQ(boxes.text["Results"], OneMicrohenryTable("\n"));
    EXPECT_EQ(runner.Fields().Results, OneMicrohenryTable("\r\n"));

    // The same table again, and a table a person typed back to the same, show nothing new.
    boxes.shown.clear();
    boxes.Type("Results", OneMicrohenryTable("\n"));
    runner.Run(kGenerateValues, boxes);
    EXPECT_TRUE(boxes.shown.empty());
    // A person's edit reaches the model with CR LF; a click that leaves it shows nothing.
    boxes.Type("Results", "typed\nby hand");
    runner.Run(kCalculateInductance, boxes);
    EXPECT_EQ(runner.Fields().Results, "typed\r\nby hand");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(ActionRunner, ATypedUnitIsShownAgainWithTheItemItSelects) {
    ActionRunner runner;
    FakeBoxes boxes;
    runner.Load(boxes);
    const struct {
        const char* typed; // nullptr: left alone
        bool shownAgain;
        int listIndex;
    } rows[] = {{"xH", true, -1}, {nullptr, false, -1}, {"xH", false, -1},
                {"mH", true, 2},  {"mH", false, 2},     {"uH", true, 1}};
    for (const auto& row : rows) {
        if (row.typed != nullptr) boxes.Type("IndUnits", row.typed);
        boxes.shown.clear();
        runner.Run(kCalculateInductance, boxes);
        EXPECT_EQ(boxes.shown.contains("IndUnits"), row.shownAgain)
            << (row.typed != nullptr ? row.typed : "left alone");
        EXPECT_EQ(boxes.listIndex["IndUnits"], row.listIndex)
            << (row.typed != nullptr ? row.typed : "left alone");
        EXPECT_EQ(runner.Fields().IndUnits.ListIndex(), row.listIndex)
            << (row.typed != nullptr ? row.typed : "left alone");
    }
}

TEST(ActionRunner, AFailureGivesItsWordsAndKeepsWhatWasWritten) {
    ActionRunner runner;
    FakeBoxes boxes;
    runner.Load(boxes);
    boxes.Type("Ind", "20");
    boxes.Type("IndUnits", "mH");
    boxes.Type("Results", "before");
    const std::optional<ActionStop> stop = runner.Run(kGenerateValues, boxes);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->action, "Generate Values");
    EXPECT_EQ(stop->failure.cause(), FailureCause::BeyondInt16);
    EXPECT_EQ(stop->words, "Generate Values stopped with an overflow: a turn count is outside the "
                           "whole numbers -32768 to 32767.");
    EXPECT_EQ(ShapeOf(runner.Fields().Results).rows, 9);
    EXPECT_TRUE(boxes.text["Results"].starts_with("Min  24289 turns close wound"));

    boxes.Type("Ind", "");
    boxes.shown.clear();
    const std::optional<ActionStop> early = runner.Run(kGenerateValues, boxes);
    ASSERT_TRUE(early.has_value());
    EXPECT_EQ(early->failure.cause(), FailureCause::DivisionByZero);
    EXPECT_TRUE(boxes.shown.empty()); // it stopped before writing
}

TEST(ActionRunner, ActionsAreFoundByTheirButtons) {
    EXPECT_EQ(FindAction("GO"), &kGenerateValues);
    EXPECT_EQ(FindAction("CalcInd"), &kCalculateInductance);
    EXPECT_EQ(FindAction("Results"), nullptr);
    EXPECT_EQ(kCalculateInductance.caption, "Calculate Inductance");
}

} // namespace
} // namespace tolvex::testing
