// The page's binding, natively: the description as the page receives it and
// the module's form end to end, one call per click.
#include "form/actions.h"
#include "form/field_table.h"
#include "support/json_lines.h"
#include "support/one_microhenry_table.h"
#include "web/description_json.h"
#include "web/page_form.h"
#include "window/window_description.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex::testing {
namespace {

Json Description() {
    // Through text, as the page reads it.
    return Json::parse(web::DescriptionJson(TolvexWindow()).dump());
}

TEST(WebBinding, DescriptionCarriesEveryControlOfTheTable) {
    const Json json = Description();
    const WindowDescription& window = TolvexWindow();
    EXPECT_EQ(json.at("caption"), std::string(window.caption));
    EXPECT_EQ(json.at("clientWidth"), window.clientWidth);
    EXPECT_EQ(json.at("clientHeight"), window.clientHeight);
    ASSERT_EQ(json.at("controls").size(), window.controls.size());
    for (std::size_t i = 0; i < window.controls.size(); ++i) {
        const ControlDescription& c = window.controls[i];
        const Json& j = json.at("controls").at(i);
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(j.at("name"), std::string(c.name));
        EXPECT_EQ(j.at("text"), std::string(c.text));
        EXPECT_EQ(j.at("left"), c.box.left);
        EXPECT_EQ(j.at("top"), c.box.top);
        EXPECT_EQ(j.at("width"), c.box.width);
        EXPECT_EQ(j.at("height"), c.box.height);
        EXPECT_EQ(j.at("tabIndex"), c.tabIndex);
        EXPECT_EQ(j.at("alignment"), c.alignment == TextAlignment::Right ? "right" : "left");
        EXPECT_EQ(j.at("color").is_null(), !c.color.has_value());
        EXPECT_EQ(j.at("labelFor"), std::string(c.labelFor));
        EXPECT_EQ(j.at("accessibleName"), std::string(c.accessibleName));
        EXPECT_EQ(j.at("role"), c.role == ControlRole::Equation ? "equation" : "plain");
    }
    const auto order = FocusOrder(window);
    ASSERT_EQ(json.at("focusOrder").size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(json.at("focusOrder").at(i), std::string(order[i]));
    EXPECT_EQ(json.at("units"), Json::array({"nH", "uH", "mH"}));
}

TEST(WebBinding, DescriptionNamesKindsFieldsAndTheFontRule) {
    const Json json = Description();
    const Json kinds = {{"FormDia", "textBox"},   {"Results", "multiLineTextBox"},
                        {"GO", "pushButton"},     {"Label4", "label"},
                        {"IndUnits", "unitList"}, {"Line1", "line"}};
    for (const Json& control : json.at("controls"))
        if (kinds.contains(control.at("name"))) {
            EXPECT_EQ(control.at("kind"), kinds.at(control.at("name").get<std::string>()));
        }
    EXPECT_EQ(json.at("controls").at(9).at("color"), Json::array({0, 128, 0}));
    ASSERT_EQ(json.at("fields").size(), kFormFields.size());
    for (std::size_t i = 0; i < kFormFields.size(); ++i)
        EXPECT_EQ(json.at("fields").at(i).at("name"), std::string(kFormFields[i].name));
    EXPECT_EQ(json.at("fields").at(3), Json({{"name", "Results"}, {"kind", "multiLine"}}));
    ASSERT_EQ(json.at("actions").size(), kActions.size());
    for (std::size_t i = 0; i < kActions.size(); ++i)
        EXPECT_EQ(json.at("actions").at(i), Json({{"button", std::string(kActions[i].button)},
                                                  {"caption", std::string(kActions[i].caption)}}));
    EXPECT_EQ(json.at("defaultButton"), "CalcInd");
    EXPECT_EQ(json.at("twipsPerPixel"), 15);
    EXPECT_EQ(json.at("captionFontPoints"), Json({10.0, 9.5, 9.0, 8.5, 8.0, 7.5, 7.0, 6.5, 6.0}));
}

TEST(WebBinding, DescriptionTextsCrossWhole) {
    // Captions with what JSON must escape reach the page as they are.
    const struct {
        const char* name;
        std::string text;
    } rows[] = {
        {"plain", "Coil Design   Orvik"},
        {"quote_and_backslash", R"(a"b\c)"},
        {"controls", std::string("\r\n\t\x01", 4)},
        {"nul", std::string("a\0b", 3)},
        {"utf8_passes", "\xc2\xb5H"},
    };
    for (const auto& row : rows) {
        const WindowDescription window{"W", row.text, 15, 15, {}};
        const Json json = Json::parse(web::DescriptionJson(window).dump());
        EXPECT_EQ(json.at("caption").get<std::string>(), row.text) << row.name;
    }
}

TEST(WebBinding, AKindThePageCannotNameStopsTheDescription) {
    constexpr auto kUnknown = 0x7f;
    const struct {
        const char* name;
        void (*spoil)(ControlDescription&);
        bool thrown;
    } rows[] = {
        {"none", [](ControlDescription&) {}, false},
        {"kind", [](ControlDescription& c) { c.kind = static_cast<ControlKind>(kUnknown); }, true},
        {"alignment",
         [](ControlDescription& c) { c.alignment = static_cast<TextAlignment>(kUnknown); }, true},
        {"role", [](ControlDescription& c) { c.role = static_cast<ControlRole>(kUnknown); }, true},
    };
    for (const auto& row : rows) {
        std::array controls{TolvexWindow().controls.front()};
        row.spoil(controls.front());
        const WindowDescription window{"W", "C", 15, 15, controls};
        bool thrown = false;
        try {
            web::DescriptionJson(window);
        } catch (const std::invalid_argument&) {
            thrown = true;
        }
        EXPECT_EQ(thrown, row.thrown) << row.name;
    }
}

// The page's boxes: every text goes in with each click under its field's name
// (here not in the table's order), the changes come back into them.
class Page {
  public:
    std::vector<FieldChange> StartUp() { return Shown(form_.StartUp()); }
    ClickResult Click(std::string_view button,
                      std::initializer_list<std::pair<std::string_view, std::string>> typed) {
        for (const auto& [name, text] : typed) boxes_[name] = text;
        std::vector<NamedText> texts;
        texts.reserve(boxes_.size());
        for (const auto& [name, text] : boxes_) texts.push_back({std::string(name), text});
        ClickResult result = form_.Click(button, std::move(texts));
        Shown(result.changes);
        return result;
    }

  private:
    std::vector<FieldChange> Shown(std::vector<FieldChange> changes) {
        for (const FieldChange& change : changes) boxes_[change.field->name] = change.text;
        return changes;
    }
    web::PageForm form_;
    std::map<std::string_view, std::string> boxes_;
};

const FieldChange* Change(const std::vector<FieldChange>& changes, std::string_view name) {
    for (const FieldChange& change : changes)
        if (change.field->name == name) return &change;
    return nullptr;
}

std::string Text(const std::vector<FieldChange>& changes, std::string_view name) {
    const FieldChange* change = Change(changes, name);
    return change != nullptr ? change->text : "(unchanged)";
}

TEST(WebBinding, ModuleRunsStartUpAndBothActions) {
    Page page;
    const std::vector<FieldChange> started = page.StartUp();
    EXPECT_EQ(started.size(), kFormFields.size());
    EXPECT_EQ(Change(started, "IndUnits")->listIndex, 1);
    EXPECT_EQ(Text(started, "IndUnits"), "uH");
    EXPECT_EQ(Text(started, "FormDia"), "20");
    EXPECT_EQ(Text(started, "Results"), "");
    // Texts for fewer fields than the form's: the others stay as they were.
    web::PageForm bare;
    bare.StartUp();
    EXPECT_EQ(Text(bare.Click("CalcInd", {}).changes, "IndRes"), ".uH");
    const ClickResult calc = page.Click("CalcInd", {{"Turns", "10"}, {"Length", "10"}});
    EXPECT_EQ(Text(calc.changes, "IndRes"), "2.14uH");
    EXPECT_EQ(Text(calc.changes, "Results"), "(unchanged)");
    EXPECT_FALSE(calc.stop.has_value());
    const ClickResult go = page.Click("GO", {});
    EXPECT_EQ(Text(go.changes, "Results"), OneMicrohenryTable("\n"));
    EXPECT_EQ(Text(go.changes, "IndRes"), "(unchanged)");
    EXPECT_FALSE(go.stop.has_value());
    // A result box typed into shows its result again, the text it showed before.
    EXPECT_EQ(Text(page.Click("CalcInd", {{"IndRes", "typed"}}).changes, "IndRes"), "2.14uH");
    EXPECT_EQ(Text(page.Click("GO", {{"Results", "x"}}).changes, "Results"),
              Text(go.changes, "Results"));
    // A text under a name that is no field's: the face and the form disagree,
    // whatever the button, one that runs no action too.
    for (const char* button : {"GO", "CalcInd", "Nothing", ""})
        EXPECT_THROW(bare.Click(button, {{"Ind", "1"}, {"Inductance", "1"}}), std::invalid_argument)
            << button;

    // A NUL inside a text crosses whole.
    const ClickResult typed =
        page.Click("GO", {{"IndUnits", std::string("u\0H", 3)}, {"Ind", "1000000"}});
    EXPECT_EQ(Change(typed.changes, "IndUnits")->listIndex, -1);
    const ClickResult nul = page.Click("CalcInd", {});
    EXPECT_EQ(Text(nul.changes, "IndRes"), std::string("2140855.83u\0H", 13));
}

TEST(WebBinding, FailureKeepsTheFieldAndGivesTheWords) {
    Page page;
    page.StartUp();
    const ClickResult calc = page.Click(
        "CalcInd", {{"IndRes", "before"}, {"Turns", "10"}, {"FormDia", ""}, {"WireDia", ""}});
    EXPECT_EQ(Text(calc.changes, "IndRes"), "(unchanged)"); // still "before"
    ASSERT_TRUE(calc.stop.has_value());
    EXPECT_EQ(calc.stop.value().words,
              "Calculate Inductance stopped with an overflow: 0 was divided by 0, which has no "
              "value.");
    const ClickResult go = page.Click(
        "GO", {{"FormDia", "20"}, {"WireDia", "0.5"}, {"Ind", "20"}, {"IndUnits", "mH"}});
    ASSERT_TRUE(go.stop.has_value());
    EXPECT_EQ(go.stop.value().words,
              "Generate Values stopped with an overflow: a turn count is outside "
              "the whole numbers -32768 to 32767.");
    EXPECT_EQ(Change(go.changes, "IndUnits")->listIndex, 2);
    EXPECT_TRUE(Text(go.changes, "Results").starts_with("Min  24289 turns close wound"));
    // The next start-up begins afresh; a button that runs no action changes nothing.
    EXPECT_EQ(Text(page.StartUp(), "IndRes"), "");
    const ClickResult none = page.Click("Nothing", {{"Ind", "5"}});
    EXPECT_FALSE(none.stop.has_value());
    EXPECT_TRUE(none.changes.empty());
    EXPECT_TRUE(page.Click("Results", {}).changes.empty());
}

} // namespace
} // namespace tolvex::testing
