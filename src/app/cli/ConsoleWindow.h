#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/signals/ProgramSignals.h"
#include "ports/RunView.h"

namespace trawlit {

// A run's view without a window: the counters go to a status line on a terminal, Ctrl-C is
// Abort.
class ConsoleWindow : public RunView {
public:
    explicit ConsoleWindow(std::FILE* statusStream);

    void ShowCounter(Counter counter, std::int64_t value) override;

    void HideStuff(const std::string& expandingCaption, std::int64_t totalFileCount,
        std::int64_t fileFoundCount, std::int64_t matchCount) override;
    void ShowStuff() override { }
    void HideShowCounts(bool visible) override;
    void EnablePanelInput(bool enabled) override { runBusy_ = !enabled; }

    void FolderNotRead(const std::string& folderPath, const std::string& reason) override;

    bool AbortRequested() override { return abortRequested_ || StopSignalReceived() != 0; }
    void SetAbortRequested(bool value) override;

    bool RunBusy() const { return runBusy_; }
    // Ends the status line with its latest values, so that a message starts on a line of its
    // own; the next counter change starts a new status line.
    void FinishStatusLine();

private:
    void DrawStatusLine();

    std::FILE* statusStream_; // null when the counters are not shown (not a terminal)
    std::array<std::int64_t, 3> counters_ {};
    std::array<bool, 3> counterVisible_ {};
    bool countsShown_ = false;
    bool statusLineDrawn_ = false;
    double lastDraw_ = -1.0;
    bool abortRequested_ = false;
    bool runBusy_ = false;
};

} // namespace trawlit
