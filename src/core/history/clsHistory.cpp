#include "core/history/clsHistory.h"

#include "core/text/AsciiCase.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/settings/Registry.h"
#include "core/text/NameTokens.h"
#include "core/text/TextTrim.h"
#include "ports/SettingsStore.h"

namespace trawlit {

namespace {

std::size_t Slot(int index)
{
    return static_cast<std::size_t>(index);
}

std::string DescriptionKey(const std::string& stem, int index)
{
    return stem + "D" + std::to_string(index);
}

std::string ItemKey(const std::string& stem, int index)
{
    return stem + std::to_string(index);
}

} // namespace

clsHistory::clsHistory()
{
    ResizeLists();
}

void clsHistory::SetMaxHistory(std::int16_t newMaxHistory)
{
    if (newMaxHistory < 0)
        return;
    maxHistory_ = newMaxHistory;
    ResizeLists();
}

void clsHistory::SetDataType(std::int16_t newDataType)
{
    if (newDataType == 0 || newDataType == 1)
        dataType_ = newDataType;
}

void clsHistory::ResizeLists()
{
    // Slot 0 is unused so that slots keep the numbers under which they are stored.
    itemArray_.resize(Slot(maxHistory_) + 1);
    descriptionArray_.resize(Slot(maxHistory_) + 1);
    nHistory_ = std::min(nHistory_, maxHistory_);
}

std::string clsHistory::ItemText(std::int16_t index) const
{
    if (index < 1 || index > maxHistory_)
        return "*** index value out of range: " + std::to_string(index) + " ***";
    return index <= nHistory_ ? itemArray_[Slot(index)] : std::string();
}

std::string clsHistory::ItemDescription(std::int16_t index) const
{
    if (index < 1 || index > maxHistory_)
        return "*** index value out of range: " + std::to_string(index) + " ***";
    return index <= nHistory_ ? descriptionArray_[Slot(index)] : std::string();
}

std::string clsHistory::DisplayText(int index) const
{
    if (dataType_ == 0)
        return itemArray_[Slot(index)];
    return descriptionArray_[Slot(index)] + "  (" + ENAME(itemArray_[Slot(index)]) + ")";
}

void clsHistory::add(const std::string& itemStr, const std::string& descriptionStr)
{
    // With no slot at all there is nowhere to keep the entry.
    if (maxHistory_ < 1)
        return;

    int match = 0;
    for (int i = 1; i <= nHistory_; ++i) {
        if (EqualIgnoringAsciiCase(itemArray_[Slot(i)], itemStr))
            match = i;
    }

    if (match == 1) {
        // The first entry keeps the letter case it was stored in.
        descriptionArray_[1] = descriptionStr;
        return;
    }

    // Either the match moves to the front or everything moves down one slot, losing the last.
    const int lastMoved = match > 1 ? match : std::min(nHistory_ + 1, int { maxHistory_ });
    for (int i = lastMoved; i >= 2; --i) {
        itemArray_[Slot(i)] = std::move(itemArray_[Slot(i - 1)]);
        descriptionArray_[Slot(i)] = std::move(descriptionArray_[Slot(i - 1)]);
    }
    itemArray_[1] = itemStr;
    descriptionArray_[1] = descriptionStr;
    if (match == 0 && nHistory_ < maxHistory_)
        ++nHistory_;
}

void clsHistory::RegistryRead(SettingsStore& store, const std::string& itemOneDefault)
{
    if (registryKey_.empty())
        return;

    nHistory_ = 0;
    for (int i = 1; i <= maxHistory_; ++i) {
        std::string value
            = RegistryGetString(store, ItemKey(registryKey_, i), i == 1 ? itemOneDefault : "");
        if (value.empty())
            continue;
        ++nHistory_;
        itemArray_[Slot(nHistory_)] = std::move(value);
        descriptionArray_[Slot(nHistory_)] = dataType_ != 0
            ? RegistryGetString(store, DescriptionKey(registryKey_, i), "")
            : std::string();
    }
}

void clsHistory::RegistryWrite(SettingsStore& store) const
{
    for (int i = 1; i <= maxHistory_; ++i) {
        // Clearing the slots past the last entry keeps dropped entries from coming back.
        const bool inUse = i <= nHistory_;
        RegistrySaveString(
            store, ItemKey(registryKey_, i), inUse ? itemArray_[Slot(i)] : std::string());
        if (dataType_ == 1) {
            RegistrySaveString(store, DescriptionKey(registryKey_, i),
                inUse ? descriptionArray_[Slot(i)] : std::string());
        }
    }
}

void clsHistory::ComboBoxRefresh(ComboBoxView& combo) const
{
    combo.Clear();
    for (int i = 1; i <= nHistory_; ++i)
        combo.AddItem(DisplayText(i), i);
    combo.SetListIndex(nHistory_ > 0 ? 0 : -1);
}

void clsHistory::ArrayPopulate(std::vector<std::string>& strArray) const
{
    // An array too short for the entries grows rather than being written past its end.
    if (strArray.size() < Slot(nHistory_) + 1)
        strArray.resize(Slot(nHistory_) + 1);
    for (int i = 1; i <= nHistory_; ++i)
        strArray[Slot(i)] = DisplayText(i);
}

void clsHistory::ValidateFiles(
    const std::string& folderPathname, const std::function<bool(const std::string&)>& fileExists)
{
    std::string folder = TrimBlanks(folderPathname);
    if (folder.empty())
        return;
    if (folder.back() != '/' && folder.back() != '\\')
        folder += '/';

    // Going down from the last entry, a deletion moves only entries already found to exist.
    for (int i = nHistory_; i >= 1; --i) {
        if (!fileExists(folder + itemArray_[Slot(i)]))
            DeleteByIndex(static_cast<std::int16_t>(i));
    }
}

void clsHistory::UpdateMenu(HistoryMenuView& menu) const
{
    for (int i = 1; i <= maxHistory_; ++i) {
        if (i <= nHistory_)
            menu.SetEntry(i, "&" + std::to_string(i) + "   " + Ampersand(DisplayText(i)), true);
        else
            menu.SetEntry(i, std::string(), false);
    }
    menu.SetSeparatorVisible(nHistory_ >= 1);
}

void clsHistory::DeleteByIndex(std::int16_t itemIndex)
{
    if (itemIndex < 1 || itemIndex > nHistory_)
        return;
    for (int i = itemIndex; i < nHistory_; ++i) {
        itemArray_[Slot(i)] = std::move(itemArray_[Slot(i + 1)]);
        descriptionArray_[Slot(i)] = std::move(descriptionArray_[Slot(i + 1)]);
    }
    itemArray_[Slot(nHistory_)].clear();
    descriptionArray_[Slot(nHistory_)].clear();
    --nHistory_;
}

} // namespace trawlit
