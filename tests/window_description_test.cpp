// The one description of the window, checked against the layout's own edge
// cases; what a binding makes of it is checked with that binding.
#include "support/window_lists.h"
#include "window/window_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <set>
#include <string>
#include <utility>

namespace tolvex::testing {
namespace {

const ControlDescription& Control(std::string_view name) {
    const ControlDescription* control = FindControl(TolvexWindow(), name);
    if (control == nullptr) throw std::invalid_argument("no control " + std::string(name));
    return *control;
}

int RightEdge(const ControlDescription& control) {
    return control.box.left + control.box.width;
}

TEST(WindowDescription, NamesTheWindowAndItsClientArea) {
    const WindowDescription& window = TolvexWindow();
    EXPECT_EQ(window.name, "Tolvex");
    EXPECT_EQ(window.caption, "Coil Design   Orvik"); // three spaces before the last word
    EXPECT_EQ(window.clientWidth, 6285);
    EXPECT_EQ(window.clientHeight, 5685);
    EXPECT_EQ(window.controls.size(), 18u);
}

// Each kind in the words tests/data/window.json uses.
std::string KindWords(ControlKind kind) {
    constexpr std::pair<ControlKind, const char*> kWords[] = {
        {ControlKind::TextBox, "text box"},
        {ControlKind::MultiLineTextBox, "multi-line text box"},
        {ControlKind::PushButton, "push button"},
        {ControlKind::Label, "label"},
        {ControlKind::UnitList, "editable drop-down list"},
        {ControlKind::Line, "line"}};
    for (const auto& [each, words] : kWords)
        if (each == kind) return words;
    return "?";
}

// A box as written; the line is written from one point to another, and the
// description keeps its start, width 0 and its length down.
Json WrittenBox(const Json& row) {
    if (!row.contains("from")) return row.at("box");
    const auto from = row.at("from").get<std::array<int, 2>>();
    const auto to = row.at("to").get<std::array<int, 2>>();
    return {from[0], from[1], to[0] - from[0], to[1] - from[1]};
}

// The window as a person sees it, written out apart from the tables that
// build the description: a row changed in one and not in the other fails.
TEST(WindowDescription, ShowsTheWindowWrittenOut) {
    const Json written = WrittenWindow();
    const WindowDescription& window = TolvexWindow();
    const Json& frame = written.at("window");
    EXPECT_EQ(window.name, TextOf(frame, "name"));
    EXPECT_EQ(window.caption, TextOf(frame, "caption"));
    EXPECT_EQ(window.clientWidth, frame.at("clientWidth"));
    EXPECT_EQ(window.clientHeight, frame.at("clientHeight"));
    ASSERT_EQ(window.controls.size(), written.at("controls").size());
    for (const Json& row : written.at("controls")) {
        const std::string name = TextOf(row, "name");
        SCOPED_TRACE(name);
        const ControlDescription* control = FindControl(window, name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(KindWords(control->kind), TextOf(row, "kind"));
        EXPECT_EQ(control->text, row.value("text", ""));
        EXPECT_EQ(Json::array({control->box.left, control->box.top, control->box.width,
                               control->box.height}),
                  WrittenBox(row));
        EXPECT_EQ(control->tabIndex, row.value("tab", -1));
        EXPECT_EQ(control->alignment == TextAlignment::Right ? "right" : "left",
                  row.value("align", "left"));
        const Json color =
            control->color
                ? Json::array({control->color->red, control->color->green, control->color->blue})
                : Json();
        EXPECT_EQ(color, row.value("color", Json()));
    }
}

TEST(WindowDescription, NamesAreUniqueAndFound) {
    std::set<std::string_view> names;
    for (const ControlDescription& control : TolvexWindow().controls) {
        EXPECT_TRUE(names.insert(control.name).second) << control.name;
        EXPECT_EQ(FindControl(TolvexWindow(), control.name), &control);
    }
    EXPECT_EQ(FindControl(TolvexWindow(), "Label8"), nullptr);
    EXPECT_EQ(FindControl(TolvexWindow(), ""), nullptr);
}

TEST(WindowDescription, LabelsEndAtOneEdgeBeforeTheirFields) {
    // Right edges at 1695, 105 twips left of the text boxes they name.
    for (std::string_view label : {"Label1", "Label2", "Label3"}) {
        EXPECT_EQ(RightEdge(Control(label)), 1695) << label;
        EXPECT_EQ(Control(Control(label).labelFor).box.left - RightEdge(Control(label)), 105)
            << label;
        EXPECT_EQ(Control(label).alignment, TextAlignment::Right) << label;
    }
}

TEST(WindowDescription, ResultsStopsShortOfTheClientEdges) {
    const ControlDescription& results = Control("Results");
    EXPECT_EQ(results.kind, ControlKind::MultiLineTextBox);
    EXPECT_EQ(TolvexWindow().clientWidth - RightEdge(results), 30);
    EXPECT_EQ(TolvexWindow().clientHeight - (results.box.top + results.box.height), 30);
    // It runs across both halves, below the divider.
    const ControlDescription& line = Control("Line1");
    EXPECT_EQ(results.box.top, line.box.top + line.box.height);
    EXPECT_LT(results.box.left, line.box.left);
    EXPECT_GT(RightEdge(results), line.box.left);
}

TEST(WindowDescription, EveryControlLiesInsideTheClientArea) {
    for (const ControlDescription& control : TolvexWindow().controls) {
        EXPECT_GE(control.box.left, 0) << control.name;
        EXPECT_GE(control.box.top, 0) << control.name;
        EXPECT_LE(RightEdge(control), TolvexWindow().clientWidth) << control.name;
        EXPECT_LE(control.box.top + control.box.height, TolvexWindow().clientHeight)
            << control.name;
        EXPECT_GT(control.box.height, 0) << control.name;
        EXPECT_EQ(control.box.width == 0, control.kind == ControlKind::Line) << control.name;
    }
}

TEST(WindowDescription, TheDividerIsAVerticalLineWithoutFocus) {
    const ControlDescription& line = Control("Line1");
    EXPECT_EQ(line.kind, ControlKind::Line);
    EXPECT_EQ(line.box.left, 4440);
    EXPECT_EQ(line.box.top, 0);
    EXPECT_EQ(line.box.height, 2280);
    EXPECT_EQ(line.tabIndex, -1);
    EXPECT_EQ(line.text, "");
}

TEST(WindowDescription, TabIndexesAreDistinctAndDense) {
    std::vector<int> indexes;
    for (const ControlDescription& control : TolvexWindow().controls)
        if (control.kind != ControlKind::Line) indexes.push_back(control.tabIndex);
    std::sort(indexes.begin(), indexes.end());
    for (std::size_t i = 0; i < indexes.size(); ++i) EXPECT_EQ(indexes[i], static_cast<int>(i));
}

TEST(WindowDescription, FocusSkipsLabelsAndTheLineInTabIndexOrder) {
    const std::vector<std::string_view> order = FocusOrder(TolvexWindow());
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.end()), WindowList("focusOrder"));
}

TEST(WindowDescription, FocusOrderSortsByTabIndexNotByRow) {
    const ControlDescription rows[] = {
        {"B", ControlKind::PushButton, "b", {0, 0, 15, 15}, 2, TextAlignment::Left, {}},
        {"L", ControlKind::Label, "l", {0, 0, 15, 15}, 0, TextAlignment::Left, {}},
        {"A", ControlKind::TextBox, "", {0, 0, 15, 15}, 1, TextAlignment::Left, {}},
        {"D", ControlKind::Line, "", {0, 0, 0, 15}, -1, TextAlignment::Left, {}},
    };
    const WindowDescription window{"W", "w", 100, 100, rows};
    EXPECT_EQ(FocusOrder(window), (std::vector<std::string_view>{"A", "B"}));
}

TEST(WindowDescription, FocusKeepsTheTableOrderOfEqualTabIndexes) {
    // A description with a repeated tab index still has one focus order:
    // the table's.
    const ControlDescription rows[] = {
        {"First", ControlKind::TextBox, "", {0, 0, 15, 15}, 1, TextAlignment::Left, {}},
        {"Second", ControlKind::TextBox, "", {0, 0, 15, 15}, 1, TextAlignment::Left, {}},
        {"Third", ControlKind::PushButton, "c", {0, 0, 15, 15}, 0, TextAlignment::Left, {}},
        {"Fourth", ControlKind::TextBox, "", {0, 0, 15, 15}, 1, TextAlignment::Left, {}},
    };
    const WindowDescription window{"W", "w", 100, 100, rows};
    EXPECT_EQ(FocusOrder(window),
              (std::vector<std::string_view>{"Third", "First", "Second", "Fourth"}));
}

TEST(WindowDescription, OnlyTheEquationIsColouredDarkGreen) {
    for (const ControlDescription& control : TolvexWindow().controls) {
        if (control.name != "Label4") {
            EXPECT_FALSE(control.color.has_value()) << control.name;
            continue;
        }
        ASSERT_TRUE(control.color.has_value());
        EXPECT_EQ(control.color.value().red, 0);
        EXPECT_EQ(control.color.value().green, 128);
        EXPECT_EQ(control.color.value().blue, 0);
        EXPECT_EQ(control.alignment, TextAlignment::Left);
    }
}

TEST(WindowDescription, TheEquationKeepsItsRunsOfSpaces) {
    const std::string_view text = Control("Label4").text;
    const std::string nineteen(19, ' ');
    const std::string five(5, ' ');
    EXPECT_EQ(text.substr(0, 17), "Vessor's equation");
    EXPECT_EQ(text.substr(17, 21), nineteen + "L ");
    EXPECT_EQ(text.find("=" + five + "(N.D)^2"), text.find('='));
    EXPECT_TRUE(text.ends_with("(0.46.D + 1.02.len)"));
}

TEST(WindowDescription, InitialTextsBeforeStartUp) {
    // The model's own are checked with the start-up.
    const std::pair<std::string_view, std::string_view> texts[] = {
        {"FormDia", "20"}, {"WireDia", "0.5"}, {"Ind", "1"},   {"IndUnits", " "},
        {"Turns", ""},     {"Length", ""},     {"IndRes", ""}, {"Results", ""}};
    for (const auto& [name, text] : texts) EXPECT_EQ(Control(name).text, text) << name;
}

TEST(WindowDescription, ButtonsRunTheirActionsAndEnterPressesCalculateInductance) {
    const WindowDescription& window = TolvexWindow();
    EXPECT_EQ(window.actions.size(), 2u);
    for (const Action& action : window.actions) {
        EXPECT_EQ(Control(action.button).kind, ControlKind::PushButton) << action.button;
        EXPECT_EQ(Control(action.button).text, action.caption) << action.button;
    }
    EXPECT_EQ(window.defaultButton, "CalcInd");
}

TEST(WindowDescription, LabelsNameFieldsThatTakeFocus) {
    const std::pair<std::string_view, std::string_view> captions[] = {{"Label1", "Ind"},
                                                                      {"Label2", "FormDia"},
                                                                      {"Label3", "WireDia"},
                                                                      {"Label6", "Turns"},
                                                                      {"Label7", "Length"}};
    std::set<std::pair<std::string_view, std::string_view>> named;
    for (const ControlDescription& control : TolvexWindow().controls) {
        if (control.labelFor.empty()) continue;
        named.insert({control.name, control.labelFor});
        EXPECT_EQ(control.kind, ControlKind::Label) << control.name;
        EXPECT_EQ(Control(control.labelFor).kind, ControlKind::TextBox) << control.name;
    }
    // The equation and "Back calculate" name none.
    EXPECT_EQ(named, (std::set(std::begin(captions), std::end(captions))));
}

TEST(WindowDescription, UnnamedFieldsHaveAccessibleNames) {
    // A control no caption names still needs a name for assistive technology;
    // the buttons are named by their own text.
    const std::pair<std::string_view, std::string_view> names[] = {{"Results", "Design table"},
                                                                   {"IndUnits", "Inductance unit"},
                                                                   {"IndRes", "Inductance result"}};
    std::set<std::pair<std::string_view, std::string_view>> given;
    for (const ControlDescription& control : TolvexWindow().controls)
        if (!control.accessibleName.empty()) given.insert({control.name, control.accessibleName});
    EXPECT_EQ(given, (std::set(std::begin(names), std::end(names))));
}

TEST(WindowDescription, OnlyTheEquationIsShownApart) {
    for (const ControlDescription& control : TolvexWindow().controls)
        EXPECT_EQ(control.role == ControlRole::Equation, control.name == "Label4") << control.name;
}

} // namespace
} // namespace tolvex::testing
