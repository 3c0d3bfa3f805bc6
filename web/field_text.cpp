#include "field_text.h"

namespace tolvex::web {

namespace {

// The plain text fields; const or not, as the fields are.
template <typename Fields>
auto TextField(Fields& fields, std::string_view name) -> decltype(&fields.FormDia) {
    if (name == "FormDia") return &fields.FormDia;
    if (name == "WireDia") return &fields.WireDia;
    if (name == "Ind") return &fields.Ind;
    if (name == "Turns") return &fields.Turns;
    if (name == "Length") return &fields.Length;
    if (name == "IndRes") return &fields.IndRes;
    return nullptr;
}

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos;
         at = text.find(from, start)) {
        out.append(text.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    out.append(text.substr(start));
    return out;
}

} // namespace

std::string ResultsFromDisplay(std::string_view shown) {
    return Replaced(shown, "\n", "\r\n");
}

std::string ResultsToDisplay(std::string_view text) {
    return Replaced(text, "\r\n", "\n");
}

void SetField(CoilFields& fields, std::string_view name, std::string_view text) {
    if (name == "IndUnits") {
        fields.IndUnits.SetText(std::string(text));
    } else if (name == "Results") {
        fields.Results = ResultsFromDisplay(text);
    } else if (std::string* field = TextField(fields, name)) {
        field->assign(text);
    }
}

std::string GetField(const CoilFields& fields, std::string_view name) {
    if (name == "IndUnits") return fields.IndUnits.Text();
    if (name == "Results") return ResultsToDisplay(fields.Results);
    if (const std::string* field = TextField(fields, name)) return *field;
    return {};
}

} // namespace tolvex::web
