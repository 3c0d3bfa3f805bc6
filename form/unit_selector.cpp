#include "unit_selector.h"

namespace tolvex {

void UnitSelector::SetListIndex(Int16 index) {
    if (index >= 0 && static_cast<std::size_t>(index) < kItems.size()) {
        index_ = index;
        text_ = std::string(kItems[static_cast<std::size_t>(index)]);
    } else {
        index_ = -1;
    }
}

void UnitSelector::SetText(std::string text) {
    text_ = std::move(text);
    index_ = -1;
    for (std::size_t i = 0; i < kItems.size(); ++i)
        if (kItems[i] == text_) index_ = static_cast<Int16>(i);
}

} // namespace tolvex
