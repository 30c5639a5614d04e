#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

enum class Counter : std::uint8_t { TotalFileCount, FileFoundCount, MatchCount };

// What a run shows while it goes on, and the abort it polls: the window's counters and busy
// look, or a console's status line and Ctrl-C. Messages go through the Dialogs port.
class RunView {
public:
    virtual ~RunView() = default;

    // Sets a counter label's caption to the value and shows it at once.
    virtual void ShowCounter(Counter counter, std::int64_t value) = 0;

    virtual void HideStuff(const std::string& expandingCaption, std::int64_t totalFileCount,
        std::int64_t fileFoundCount, std::int64_t matchCount)
        = 0;
    virtual void ShowStuff() = 0;
    virtual void HideShowCounts(bool visible) = 0;
    virtual void EnablePanelInput(bool enabled) = 0;
    virtual void AnimationStart() { }
    virtual void AnimationStop() { }
    virtual void HideAbortButton() { }

    // A folder of the walk could not be read. The window counts them in its closing message;
    // a console names each at once.
    virtual void FolderNotRead(const std::string& folderPath, const std::string& reason)
    {
        (void)folderPath;
        (void)reason;
    }

    virtual bool AbortRequested() = 0;
    virtual void SetAbortRequested(bool value) = 0;
};

// The captions of the counters' header labels, part of the results-file format.
inline const char* CounterCaption(Counter counter)
{
    switch (counter) {
    case Counter::TotalFileCount:
        return "Total files processed:";
    case Counter::FileFoundCount:
        return "Matching files:";
    case Counter::MatchCount:
        return "Number of matches:";
    }
    return "";
}

} // namespace trawlit
