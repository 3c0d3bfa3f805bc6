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
    const struct {
        const char* name;
        std::vector<FieldChange> changes;
        std::string failure;
        Json expected;
    } rows[] = {
        {"nothing", {}, "", {{"changes", Json::array()}, {"failure", ""}}},
        {"a box's text, no item",
         {Change("FormDia", "20")},
         "",
         {{"changes", {{{"field", "FormDia"}, {"text", "20"}}}}, {"failure", ""}}},
        {"the list's item",
         {Change("IndUnits", "uH", 1)},
         "",
         {{"changes", {{{"field", "IndUnits"}, {"text", "uH"}, {"listIndex", 1}}}},
          {"failure", ""}}},
        {"no item selected is said too",
         {Change("IndUnits", "x", -1)},
         "",
         {{"changes", {{{"field", "IndUnits"}, {"text", "x"}, {"listIndex", -1}}}},
          {"failure", ""}}},
        {"in the order given, with the failure",
         {Change("Results", "a\nb"), Change("IndRes", "")},
         "Generate Values stopped",
         {{"changes",
           {{{"field", "Results"}, {"text", "a\nb"}}, {{"field", "IndRes"}, {"text", ""}}}},
          {"failure", "Generate Values stopped"}}},
        {"what JSON escapes",
         {Change("Ind", std::string("\"\\\r\n\0\x01", 6))},
         std::string("a\0\"", 3),
         {{"changes", {{{"field", "Ind"}, {"text", std::string("\"\\\r\n\0\x01", 6)}}}},
          {"failure", std::string("a\0\"", 3)}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(web::ChangesToPage(row.changes, row.failure), row.expected);
        EXPECT_EQ(Json::parse(web::ChangesText(row.changes, row.failure)), row.expected);
    }
}

TEST(WebChanges, TextThatIsNotUtf8ShowsReplaced) {
    const struct {
        const char* name;
        std::string typed;
        std::string shown;
    } rows[] = {
        {"utf-8 passes", "\xc2\xb5H", "\xc2\xb5H"},
        // Each byte of it, as a browser decodes it.
        {"a lone surrogate", "a\xed\xa0\x80", "a\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
        {"a stray byte",
         "\xff"
         "1",
         "\xef\xbf\xbd"
         "1"},
    };
    for (const auto& row : rows) {
        const Json json = Json::parse(web::ChangesText({Change("Turns", row.typed)}, row.typed));
        EXPECT_EQ(json.at("changes").at(0).at("text"), row.shown) << row.name;
        EXPECT_EQ(json.at("failure"), row.shown) << row.name;
    }
}

} // namespace
} // namespace tolvex::testing
