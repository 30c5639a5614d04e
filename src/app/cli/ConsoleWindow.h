#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/signals/ProgramSignals.h"
#include "core/history/MemoryComboBox.h"
#include "core/history/clsHistory.h"
#include "ports/MainWindowPort.h"

namespace trawlit {

// The main window's surface for a run without a window: the inputs come from the command
// line, the counters go to a status line on a terminal, Ctrl-C is Abort.
class ConsoleWindow : public MainWindowPort {
public:
    ConsoleWindow(const SearchOptions& inputs, std::FILE* statusStream);

    std::string InputText(InputBox box) override;
    CheckState Option(OptionBox box) override;
    void FocusInput(InputBox) override { }

    void ShowCounter(Counter counter, std::int64_t value) override;
    std::string CounterHeaderCaption(Counter counter) override
    {
        return DefaultCounterHeaderCaption(counter);
    }

    void HideStuff(const std::string& expandingCaption, std::int64_t totalFileCount,
        std::int64_t fileFoundCount, std::int64_t matchCount) override;
    void ShowStuff() override { }
    void HideShowCounts(bool visible) override;
    void EnablePanelInput(bool enabled) override { runBusy_ = !enabled; }
    void AnimationStart() override { }
    void AnimationStop() override { }
    void HideAbortButton() override { }

    void FolderNotRead(const std::string& folderPath, const std::string& reason) override;

    bool AbortRequested() override { return abortRequested_ || StopSignalReceived() != 0; }
    void SetAbortRequested(bool value) override;

    clsHistory& History(InputBox box) override { return histories_[Index(box)]; }
    ComboBoxView& Combo(InputBox box) override { return combos_[Index(box)]; }

    bool RunBusy() const { return runBusy_; }
    // Ends the status line with its latest values, so that a message starts on a line of its
    // own; the next counter change starts a new status line.
    void FinishStatusLine();

private:
    static std::size_t Index(InputBox box) { return static_cast<std::size_t>(box); }
    void DrawStatusLine();

    SearchOptions inputs_;
    std::FILE* statusStream_; // null when the counters are not shown (not a terminal)
    std::array<std::int64_t, 3> counters_ {};
    std::array<bool, 3> counterVisible_ {};
    bool countsShown_ = false;
    bool statusLineDrawn_ = false;
    double lastDraw_ = -1.0;
    bool abortRequested_ = false;
    bool runBusy_ = false;
    std::array<clsHistory, 4> histories_;
    std::array<MemoryComboBox, 4> combos_;
};

} // namespace trawlit
