#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ports/RunView.h"

namespace trawlit::fakes {

// A run's view without a screen that records what the run does to it.
class FakeRunView : public RunView {
public:
    void ShowCounter(Counter counter, std::int64_t value) override
    {
        counters[static_cast<std::size_t>(counter)] = value;
        if (onCounter) {
            onCounter(counter, value);
        }
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

    std::array<std::int64_t, 3> counters {};
    std::vector<std::string> calls;
    std::vector<std::string> foldersNotRead;
    std::function<void(Counter, std::int64_t)> onCounter;
    bool abortRequested = false;
    bool runBusy = false;
};

} // namespace trawlit::fakes
