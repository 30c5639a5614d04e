#pragma once

#include <cstdint>
#include <string>

#include "ports/HistoryViews.h"
#include "ports/RunView.h"

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

// The main window whole: what a run shows on it, and the input boxes its click handlers read
// into SearchOptions and record in their histories before a run starts. Runs see only the
// RunView part.
class MainWindowPort : public RunView {
public:
    virtual std::string InputText(InputBox box) = 0; // the combo box's edit text, unchanged
    virtual CheckState Option(OptionBox box) = 0;
    virtual void FocusInput(InputBox box) = 0;

    virtual clsHistory& History(InputBox box) = 0;
    virtual ComboBoxView& Combo(InputBox box) = 0;
};

} // namespace trawlit
