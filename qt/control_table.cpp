#include "control_table.h"

namespace tolvex {

void ControlTable::Add(std::string_view name, QWidget* widget) {
    if (!widgets_.emplace(name, widget).second)
        throw std::logic_error("the control " + std::string(name) + " is described twice");
}

QWidget* ControlTable::Find(std::string_view name) const {
    const auto found = widgets_.find(name);
    if (found == widgets_.end()) throw std::logic_error("no control is named " + std::string(name));
    return found->second;
}

} // namespace tolvex
