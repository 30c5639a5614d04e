#pragma once

#include <string>

namespace trawlit {

// The little of a combo box that a history list fills. The Qt layer adapts QComboBox.
class ComboBoxView {
public:
    virtual ~ComboBoxView() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text, int itemData) = 0;
    // -1 selects nothing; selecting an item also puts its text into the edit field.
    virtual void SetListIndex(int index) = 0;
};

// A window's numbered history menu entries "mnuFileHistory"(1..n) and their separator.
class HistoryMenuView {
public:
    virtual ~HistoryMenuView() = default;
    virtual void SetEntry(int index, const std::string& caption, bool visible) = 0;
    virtual void SetSeparatorVisible(bool visible) = 0;
};

} // namespace trawlit
