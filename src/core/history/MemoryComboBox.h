#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ports/HistoryViews.h"

namespace trawlit {

// A combo box without a screen: keeps its items, selection and edit text. Serves headless
// runs and tests.
class MemoryComboBox : public ComboBoxView {
public:
    void Clear() override
    {
        items_.clear();
        listIndex_ = -1;
    }
    void AddItem(const std::string& text, int itemData) override
    {
        items_.emplace_back(text, itemData);
    }
    void SetListIndex(int index) override
    {
        listIndex_ = index;
        if (index >= 0 && static_cast<std::size_t>(index) < items_.size()) {
            editText_ = items_[static_cast<std::size_t>(index)].first;
        }
    }
    const std::vector<std::pair<std::string, int>>& Items() const { return items_; }
    int ListIndex() const { return listIndex_; }
    const std::string& EditText() const { return editText_; }
    void SetEditText(const std::string& text) { editText_ = text; }

private:
    std::vector<std::pair<std::string, int>> items_;
    int listIndex_ = -1;
    std::string editText_;
};

} // namespace trawlit
