#pragma once

#include <cstdint>
#include <string>

#include "ports/HistoryViews.h"
#include "ports/SearchOptions.h"

namespace trawlit {

class clsHistory;

// Check box values: unchecked, checked, greyed. Anything but unchecked counts as true.
enum class CheckState : std::uint8_t { Unchecked = 0, Checked = 1, Grayed = 2 };

enum class InputBox : std::uint8_t { SearchStr, RootFolder, FileTemplate, OutputPathname };
enum class OptionBox : std::uint8_t {
    TraverseSubfolders,
    CaseSensitive,
    CollapseWhiteSpace,
    CountsOnly
};
enum class Counter : std::uint8_t { TotalFileCount, FileFoundCount, MatchCount };

// The surface of the main window that runs use. The Qt window implements it; so does the
// console host of headless runs.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;

    virtual std::string InputText(InputBox box) = 0; // the combo box's edit text, unchanged
    virtual CheckState Option(OptionBox box) = 0;
    virtual void FocusInput(InputBox box) = 0;

    // Sets a counter label's caption to the value and shows it at once.
    virtual void ShowCounter(Counter counter, std::int64_t value) = 0;
    // The caption of a counter's header label ("Total files processed:", ...).
    virtual std::string CounterHeaderCaption(Counter counter) = 0;

    virtual void HideStuff(const std::string& expandingCaption, std::int64_t totalFileCount,
        std::int64_t fileFoundCount, std::int64_t matchCount)
        = 0;
    virtual void ShowStuff() = 0;
    virtual void HideShowCounts(bool visible) = 0;
    virtual void EnablePanelInput(bool enabled) = 0;
    virtual void AnimationStart() = 0;
    virtual void AnimationStop() = 0;
    virtual void HideAbortButton() = 0;

    // A folder of the walk could not be read. The window counts them in its closing message;
    // a console names each at once.
    virtual void FolderNotRead(const std::string& folderPath, const std::string& reason)
    {
        (void)folderPath;
        (void)reason;
    }

    virtual bool AbortRequested() = 0;
    virtual void SetAbortRequested(bool value) = 0;

    virtual clsHistory& History(InputBox box) = 0;
    virtual ComboBoxView& Combo(InputBox box) = 0;
};

// The counter header captions, part of the results-file format.
inline const char* DefaultCounterHeaderCaption(Counter counter)
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
