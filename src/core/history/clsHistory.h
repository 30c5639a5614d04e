#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ports/HistoryViews.h"

namespace trawlit {

class SettingsStore;

// A most-recently-used list of texts (entry 1 the most recent), kept in the settings store
// under RegistryKey + number and shown in a combo box or a menu.
class clsHistory {
public:
    clsHistory();

    std::int16_t MaxHistory() const { return maxHistory_; }
    std::int16_t NHistory() const { return nHistory_; }
    std::int16_t DataType() const { return dataType_; }
    void SetMaxHistory(std::int16_t newMaxHistory); // negative values are ignored
    void SetDataType(std::int16_t newDataType); // only 0 (texts) and 1 (paths with descriptions)
    const std::string& RegistryKey() const { return registryKey_; }
    void SetRegistryKey(const std::string& newRegistryKey) { registryKey_ = newRegistryKey; }

    std::string ItemText(std::int16_t index) const;
    std::string ItemDescription(std::int16_t index) const;

    void add(const std::string& itemStr, const std::string& descriptionStr);
    void RegistryRead(SettingsStore& store, const std::string& itemOneDefault);
    void RegistryWrite(SettingsStore& store) const;
    void ComboBoxRefresh(ComboBoxView& combo) const;
    void ArrayPopulate(std::vector<std::string>& strArray) const; // fills [1..NHistory]
    void ValidateFiles(
        const std::string& folderPathname, const std::function<bool(const std::string&)>& fileExists);
    void UpdateMenu(HistoryMenuView& menu) const;
    void DeleteByIndex(std::int16_t itemIndex);

private:
    void ResizeLists();
    std::string DisplayText(int index) const;

    std::int16_t maxHistory_ = 6;
    std::int16_t nHistory_ = 0;
    std::int16_t dataType_ = 0;
    std::string registryKey_;
    std::vector<std::string> itemArray_; // slots 1..MaxHistory (index 0 unused)
    std::vector<std::string> descriptionArray_;
};

} // namespace trawlit
