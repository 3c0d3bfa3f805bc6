#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tolvex {

// The window's widgets under the names of the description's controls, made
// once as the window builds them. A name the table lacks, or a widget of
// another type than asked for, throws, so a missing or mistyped control fails
// while the window is built, not on a later click.
class ControlTable {
  public:
    void Add(std::string_view name, QWidget* widget);

    template <typename T> T* Get(std::string_view name) const {
        auto* widget = qobject_cast<T*>(Find(name));
        if (widget == nullptr)
            throw std::logic_error("the control " + std::string(name) + " is of another type");
        return widget;
    }

  private:
    QWidget* Find(std::string_view name) const;

    std::map<std::string_view, QWidget*, std::less<>> widgets_;
};

} // namespace tolvex
