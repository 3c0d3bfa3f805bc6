#pragma once

#include "numtext/checked_arithmetic.h"

#include <array>
#include <string>
#include <string_view>

namespace tolvex {

// The editable units drop-down as the actions see it: a fixed list, the
// selected list index (-1 for none) and the text shown, which the user may
// type freely.
class UnitSelector {
  public:
    static constexpr std::array<std::string_view, 3> kItems{"nH", "uH", "mH"};

    // Selecting an item shows its text; an index outside the list selects none
    // and leaves the text as it is.
    void SetListIndex(Int16 index);
    // A typed text selects the item that equals it exactly, or none.
    void SetText(std::string text);

    Int16 ListIndex() const { return index_; }
    const std::string& Text() const { return text_; }

  private:
    Int16 index_ = -1;
    std::string text_;
};

} // namespace tolvex
