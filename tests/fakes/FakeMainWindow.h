#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/history/MemoryComboBox.h"
#include "core/history/clsHistory.h"
#include "ports/MainWindowPort.h"

namespace trawlit::fakes {

// A main window without a screen that records what a run does to it.
class FakeMainWindow : public MainWindowPort {
public:
    FakeMainWindow()
    {
        for (auto& history : histories) {
            history.SetMaxHistory(20);
        }
    }

    std::string InputText(InputBox box) override { return texts[Index(box)]; }
    CheckState Option(OptionBox box) override { return options[static_cast<std::size_t>(box)]; }
    void FocusInput(InputBox box) override
    {
        calls.push_back("FocusInput " + std::to_string(Index(box)));
    }

    void ShowCounter(Counter counter, std::int64_t value) override
    {
        counters[static_cast<std::size_t>(counter)] = value;
        if (onCounter) {
            onCounter(counter, value);
        }
    }
    std::string CounterHeaderCaption(Counter counter) override
    {
        return DefaultCounterHeaderCaption(counter);
    }

    void HideStuff(const std::string& caption, std::int64_t total, std::int64_t found,
        std::int64_t matches) override
    {
        calls.push_back("HideStuff " + caption + " " + std::to_string(total) + " "
            + std::to_string(found) + " " + std::to_string(matches));
    }
    void ShowStuff() override { calls.push_back("ShowStuff"); }
    void HideShowCounts(bool visible) override
    {
        calls.emplace_back(visible ? "HideShowCounts true" : "HideShowCounts false");
    }
    void EnablePanelInput(bool enabled) override
    {
        runBusy = !enabled;
        calls.emplace_back(enabled ? "EnablePanelInput true" : "EnablePanelInput false");
    }
    void AnimationStart() override { calls.push_back("AnimationStart"); }
    void AnimationStop() override { calls.push_back("AnimationStop"); }
    void HideAbortButton() override { calls.push_back("HideAbortButton"); }

    void FolderNotRead(const std::string& folderPath, const std::string& reason) override
    {
        foldersNotRead.push_back(folderPath + " (" + reason + ")");
    }
    bool AbortRequested() override { return abortRequested; }
    void SetAbortRequested(bool value) override { abortRequested = value; }

    clsHistory& History(InputBox box) override { return histories[Index(box)]; }
    ComboBoxView& Combo(InputBox box) override { return combos[Index(box)]; }

    void SetText(InputBox box, const std::string& text) { texts[Index(box)] = text; }
    void SetOption(OptionBox box, bool checked)
    {
        options[static_cast<std::size_t>(box)]
            = checked ? CheckState::Checked : CheckState::Unchecked;
    }

    std::array<std::string, 4> texts { "", "", "*.*", "" };
    std::array<CheckState, 4> options { CheckState::Checked, CheckState::Unchecked,
        CheckState::Unchecked, CheckState::Unchecked };
    std::array<std::int64_t, 3> counters {};
    std::array<clsHistory, 4> histories;
    std::array<MemoryComboBox, 4> combos;
    std::vector<std::string> calls;
    std::vector<std::string> foldersNotRead;
    std::function<void(Counter, std::int64_t)> onCounter;
    bool abortRequested = false;
    bool runBusy = false;

private:
    static std::size_t Index(InputBox box) { return static_cast<std::size_t>(box); }
};

} // namespace trawlit::fakes
