// A click's changes as the page reads them, written natively.
#include "form/field_table.h"
#include "support/json_lines.h"
#include "web/changes_to_page.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tolvex::testing {
namespace {

FieldChange Change(std::string_view field, std::string text, std::optional<int> item = {}) {
    for (const FormField& f : kFormFields)
        if (f.name == field) return {&f, std::move(text), item};
    throw std::invalid_argument(std::string(field));
}

TEST(WebChanges, EachChangeAndTheFailureAsThePageReadsThem) {
    const std::string escaped("\"\\\r\n\0\x01", 6);
    const struct {
        std::vector<FieldChange> changes;
        std::string failure;
        std::string shown; // the changes, as the page reads them
    } rows[] = {
        {{}, "", "[]"},
        {{Change("FormDia", "20")}, "", R"([{"field": "FormDia", "text": "20"}])"},
        {{Change("IndUnits", "uH", 1)},
         "",
         R"([{"field": "IndUnits", "text": "uH", "listIndex": 1}])"},
        {{Change("IndUnits", "x", -1)},
         "",
         R"([{"field": "IndUnits", "text": "x", "listIndex": -1}])"},
        {{Change("Results", "a\nb"), Change("IndRes", "")},
         "Stop",
         R"([{"field": "Results", "text": "a\nb"}, {"field": "IndRes", "text": ""}])"},
        {{Change("Ind", escaped)},
         escaped,
         R"([{"field": "Ind", "text": "\"\\\r\n\u0000\u0001"}])"},
    };
    for (const auto& row : rows) {
        const Json expected{{"changes", Json::parse(row.shown)}, {"failure", row.failure}};
        EXPECT_EQ(web::ChangesToPage(row.changes, row.failure), expected) << row.shown;
        EXPECT_EQ(Json::parse(web::ChangesText(row.changes, row.failure)), expected) << row.shown;
    }
}

TEST(WebChanges, TextThatIsNotUtf8ShowsReplaced) {
    const std::string replaced = "\xef\xbf\xbd";
    const struct {
        const char* name;
        std::string typed, shown;
    } rows[] = {
        {"utf-8 passes", "\xc2\xb5H", "\xc2\xb5H"},
        // Each byte of it, as a browser decodes it.
        {"a lone surrogate", "a\xed\xa0\x80", "a" + replaced + replaced + replaced},
        {"a stray byte",
         "\xff"
         "1",
         replaced + "1"},
    };
    for (const auto& row : rows) {
        const Json json = Json::parse(web::ChangesText({Change("Turns", row.typed)}, row.typed));
        EXPECT_EQ(json.at("changes").at(0).at("text"), row.shown) << row.name;
        EXPECT_EQ(json.at("failure"), row.shown) << row.name;
    }
}

} // namespace
} // namespace tolvex::testing
