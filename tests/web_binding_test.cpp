// The page's binding, natively: the description as the page receives it,
// the field texts by name, and the module's entry points end to end.
#include "support/json_lines.h"
#include "web/description_json.h"
#include "web/field_text.h"
#include "window/actions.h"
#include "window/window_description.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

extern "C" {
void tolvex_set_field(const char* name, const char* bytes, std::size_t length);
const char* tolvex_field(const char* name);
std::size_t tolvex_field_length();
int tolvex_unit_index();
void tolvex_form_load();
int tolvex_calc_ind_click();
int tolvex_go_click();
const char* tolvex_failure_message();
}

namespace tolvex::testing {
namespace {

Json Description() {
    return Json::parse(web::DescriptionJson(TolvexWindow()));
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

TEST(WebBinding, JsonStringsEscapeWhatJsonMust) {
    const struct {
        const char* name;
        std::string text;
        const char* json;
    } rows[] = {
        {"plain", "Coil Design   Orvik", R"("Coil Design   Orvik")"},
        {"quote_and_backslash", R"(a"b\c)", R"("a\"b\\c")"},
        {"controls", std::string("\r\n\t\x01", 4), R"("\u000d\u000a\u0009\u0001")"},
        {"nul", std::string("a\0b", 3), R"("a\u0000b")"},
        {"utf8_passes", "\xc2\xb5H", "\"\xc2\xb5H\""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(web::JsonString(row.text), row.json) << row.name;
        EXPECT_EQ(Json::parse(web::JsonString(row.text)).get<std::string>(), row.text) << row.name;
    }
}

TEST(WebBinding, ResultsLineBreaksConvertBothWays) {
    const struct {
        const char* name;
        const char* model;
        const char* shown;
    } rows[] = {
        {"empty", "", ""},
        {"one_row", "a\r\n", "a\n"},
        {"empty_line", "h\r\n\r\nr\r\n", "h\n\nr\n"},
        {"no_break", "abc", "abc"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(web::ResultsToDisplay(row.model), row.shown) << row.name;
        EXPECT_EQ(web::ResultsFromDisplay(row.shown), row.model) << row.name;
    }
}

TEST(WebBinding, FieldsByNameAndTheSelectorText) {
    CoilFields fields;
    web::SetField(fields, "Turns", "10");
    web::SetField(fields, "Results", "x\ny");
    web::SetField(fields, "IndUnits", "mH");
    web::SetField(fields, "Nothing", "ignored");
    EXPECT_EQ(fields.Turns, "10");
    EXPECT_EQ(fields.Results, "x\r\ny");
    EXPECT_EQ(fields.IndUnits.ListIndex(), 2);
    EXPECT_EQ(web::GetField(fields, "Results"), "x\ny");
    EXPECT_EQ(web::GetField(fields, "IndUnits"), "mH");
    EXPECT_EQ(web::GetField(fields, "Nothing"), "");
    web::SetField(fields, "IndUnits", "pH");
    EXPECT_EQ(fields.IndUnits.ListIndex(), -1);
}

std::string Field(const char* name) {
    const char* bytes = tolvex_field(name);
    return {bytes, tolvex_field_length()};
}

void SetField(const char* name, const std::string& text) {
    tolvex_set_field(name, text.data(), text.size());
}

TEST(WebBinding, ModuleRunsStartUpAndBothActions) {
    tolvex_form_load();
    EXPECT_EQ(tolvex_unit_index(), 1);
    EXPECT_EQ(Field("IndUnits"), "uH");
    EXPECT_EQ(Field("FormDia"), "20");
    SetField("Turns", "10");
    SetField("Length", "10");
    EXPECT_EQ(tolvex_calc_ind_click(), 1);
    EXPECT_EQ(Field("IndRes"), "2.14uH");
    EXPECT_EQ(tolvex_go_click(), 1);
    CoilFields direct;
    Form_Load(direct);
    GO_Click(direct);
    EXPECT_EQ(Field("Results"), web::ResultsToDisplay(direct.Results));
    EXPECT_STREQ(tolvex_failure_message(), "");

    // A NUL inside a text crosses whole.
    SetField("IndUnits", std::string("u\0H", 3));
    EXPECT_EQ(Field("IndUnits"), std::string("u\0H", 3));
}

TEST(WebBinding, FailureKeepsTheFieldAndGivesTheWords) {
    tolvex_form_load();
    SetField("IndRes", "before");
    SetField("Turns", "10");
    SetField("FormDia", "");
    SetField("WireDia", "");
    EXPECT_EQ(tolvex_calc_ind_click(), 0);
    EXPECT_EQ(Field("IndRes"), "before");
    EXPECT_STREQ(tolvex_failure_message(),
                 "Calculate Inductance stopped with an overflow: 0 was divided by 0, which has no "
                 "value.");
    SetField("FormDia", "20");
    SetField("WireDia", "0.5");
    SetField("Ind", "20");
    SetField("IndUnits", "mH");
    EXPECT_EQ(tolvex_go_click(), 0);
    EXPECT_STREQ(tolvex_failure_message(),
                 "Generate Values stopped with an overflow: a turn count is outside the whole "
                 "numbers -32768 to 32767.");
    // The next start-up begins afresh.
    tolvex_form_load();
    EXPECT_EQ(Field("IndRes"), "");
}

} // namespace
} // namespace tolvex::testing
