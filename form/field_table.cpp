#include "field_table.h"

#include <algorithm>

namespace tolvex {

namespace {

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

CoilFields::CoilFields() {
    for (const FormField& field : kFormFields) TakeShownText(*this, field, field.initialText);
}

const FormField* FindField(std::string_view name) {
    const auto found = std::find_if(kFormFields.begin(), kFormFields.end(),
                                    [name](const FormField& field) { return field.name == name; });
    return found == kFormFields.end() ? nullptr : &*found;
}

std::string ShownText(const CoilFields& fields, const FormField& field) {
    switch (field.kind) {
    case FieldKind::UnitList:
        return fields.IndUnits.Text();
    case FieldKind::MultiLine:
        return Replaced(fields.*field.text, kLineBreak, "\n");
    case FieldKind::SingleLine:
        break;
    }
    return fields.*field.text;
}

void TakeShownText(CoilFields& fields, const FormField& field, std::string_view shown) {
    switch (field.kind) {
    case FieldKind::UnitList:
        fields.IndUnits.SetText(std::string(shown));
        return;
    case FieldKind::MultiLine:
        fields.*field.text = Replaced(shown, "\n", kLineBreak);
        return;
    case FieldKind::SingleLine:
        break;
    }
    fields.*field.text = shown;
}

std::optional<int> ListIndexOf(const CoilFields& fields, const FormField& field) {
    if (field.kind == FieldKind::UnitList) return fields.IndUnits.ListIndex();
    return std::nullopt;
}

bool ShowsTheSame(const CoilFields& a, const CoilFields& b, const FormField& field) {
    if (field.kind == FieldKind::UnitList)
        return a.IndUnits.ListIndex() == b.IndUnits.ListIndex() &&
               a.IndUnits.Text() == b.IndUnits.Text();
    return a.*field.text == b.*field.text;
}

void CopyField(CoilFields& to, const CoilFields& from, const FormField& field) {
    if (field.kind == FieldKind::UnitList)
        to.IndUnits = from.IndUnits;
    else
        to.*field.text = from.*field.text;
}

} // namespace tolvex
