// The page's binding, natively: the description as the page receives it and
// the module's form end to end, one call per click.
#include "form/actions.h"
#include "form/field_table.h"
#include "support/coil_examples.h"
#include "support/json_lines.h"
#include "web/description_json.h"
#include "web/page_form.h"
#include "window/caption_font.h"
#include "window/window_description.h"

#include <gtest/gtest.h>

#include <string>

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
        EXPECT_EQ(j.at("labelFor"), std::string(FieldNamedBy(c.name)));
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
    EXPECT_EQ(json.at("twipsPerPixel"), 15);
    EXPECT_EQ(json.at("captionFontPoints"), Json(CaptionFontSizes(10.0, kPointSteps)));
    EXPECT_EQ(json.at("captionFontPoints").back(), 6.0);
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

// The index of a field of the form's table in what crosses to the page.
std::size_t Place(std::string_view name) {
    return static_cast<std::size_t>(FindField(name) - kFormFields.data());
}

web::BoxTexts Edits(std::initializer_list<std::pair<std::string_view, std::string>> texts) {
    web::BoxTexts edited(kFormFields.size());
    for (const auto& [name, text] : texts) edited[Place(name)] = text;
    return edited;
}

std::string Text(const web::PageUpdate& update, std::string_view name) {
    const auto& text = update.texts.at(Place(name));
    return text ? *text : "(unchanged)";
}

TEST(WebBinding, ModuleRunsStartUpAndBothActions) {
    web::PageForm form;
    const web::PageUpdate started = form.StartUp();
    EXPECT_EQ(started.unitIndex, 1);
    EXPECT_EQ(Text(started, "IndUnits"), "uH");
    EXPECT_EQ(Text(started, "FormDia"), "20");
    EXPECT_EQ(Text(started, "Results"), "");
    // A field the page sends no text for is one nobody edited: Turns stays empty.
    EXPECT_EQ(Text(form.Click("CalcInd", {}), "IndRes"), ".uH");
    const web::PageUpdate calc = form.Click("CalcInd", Edits({{"Turns", "10"}, {"Length", "10"}}));
    EXPECT_EQ(Text(calc, "IndRes"), "2.14uH");
    EXPECT_EQ(Text(calc, "Results"), "(unchanged)");
    EXPECT_EQ(calc.failure, "");
    const web::PageUpdate go = form.Click("GO", Edits({}));
    CoilFields direct = StartedFields();
    GO_Click(direct);
    EXPECT_EQ(Text(go, "Results"), ShownText(direct, *FindField("Results")));
    EXPECT_EQ(Text(go, "IndRes"), "(unchanged)");
    EXPECT_EQ(go.failure, "");

    // A NUL inside a text crosses whole.
    form.Click("GO", Edits({{"IndUnits", std::string("u\0H", 3)}, {"Ind", "1000000"}}));
    const web::PageUpdate nul = form.Click("CalcInd", Edits({}));
    EXPECT_EQ(Text(nul, "IndRes"), std::string("2140855.83u\0H", 13));
    EXPECT_EQ(nul.unitIndex, -1);
}

TEST(WebBinding, FailureKeepsTheFieldAndGivesTheWords) {
    web::PageForm form;
    form.StartUp();
    const web::PageUpdate calc = form.Click(
        "CalcInd",
        Edits({{"IndRes", "before"}, {"Turns", "10"}, {"FormDia", ""}, {"WireDia", ""}}));
    EXPECT_EQ(Text(calc, "IndRes"), "(unchanged)"); // still "before"
    EXPECT_EQ(calc.failure,
              "Calculate Inductance stopped with an overflow: 0 was divided by 0, which has no "
              "value.");
    const web::PageUpdate go = form.Click(
        "GO", Edits({{"FormDia", "20"}, {"WireDia", "0.5"}, {"Ind", "20"}, {"IndUnits", "mH"}}));
    EXPECT_EQ(go.failure, "Generate Values stopped with an overflow: a turn count is outside the "
                          "whole numbers -32768 to 32767.");
    EXPECT_EQ(go.unitIndex, 2);
    EXPECT_TRUE(Text(go, "Results").starts_with("Min  24289 turns close wound"));
    // The next start-up begins afresh; a button that is none changes nothing.
    EXPECT_EQ(Text(form.StartUp(), "IndRes"), "");
    const web::PageUpdate none = form.Click("Nothing", Edits({{"Ind", "5"}}));
    EXPECT_EQ(none.failure, "");
    for (const auto& text : none.texts) EXPECT_FALSE(text.has_value());
}

} // namespace
} // namespace tolvex::testing
