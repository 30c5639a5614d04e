#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/run/OutputHeader.h"
#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"
#include "core/run/RunYields.h"
#include "core/walk/FolderWalk.h"

namespace trawlit {

class ResultsWriter;

// What a walk left out: the folders it could not read, the files it could not open or read to
// their end, and the wildcards of the template that admitted no file in the whole tree.
struct WalkGaps {
    std::int64_t foldersNotRead = 0;
    std::int64_t filesNotRead = 0;
    std::vector<std::string> unusedTemplates;
};

// What sets one kind of run apart in the frame's own steps.
struct RunShape {
    std::optional<SectionId> headerSection; // none: the results file has no header
    bool animated = false; // the busy animation plays while the run goes on
    bool countsMatches = false; // the found-files and match counters show
    bool passOverResultsFile = true;
    // The walk's own rules (skipped names, what counts as a file); the root, template and
    // subfolder choice come from the inputs.
    WalkSettings walk;
};

// The sequence every run shares: the inputs refused or taken, the root probed, the results
// file created (with its header), the walk with the run's steps, the closing lines,
// the results file closed and checked, the closing message, then the window idle again. The
// string search and each batch tool are policies of it: their per-file steps and the hooks
// below.
class RunFrame : public WalkSteps {
public:
    RunFrame(const RunInputs& inputs, RunPorts ports, RunShape shape);
    RunFrame(const RunFrame&) = delete;
    RunFrame& operator=(const RunFrame&) = delete;

    RunResult Run();

    bool StopRequested() override;
    void OnFolderNotRead(const std::string& folderPath, const PlatformError& error) override;
    void AfterName() override;
    void OnTemplatesUnused(const std::vector<std::string>& wildcards) override;
    // A file of the walk could not be opened, or not read to its end: the run is not complete.
    void OnFileNotRead() { ++gaps_.filesNotRead; }

protected:
    // True when the inputs cannot be run; the user has been told why.
    virtual bool RefusesInputs() { return false; }
    virtual std::int16_t ResultsOpenType();
    // Called after the file routines have told why the results file could not be created.
    virtual void OnResultsFileNotCreated() { }
    // Written after the header, before the walk.
    virtual void WriteStart() { }
    // The walk is over; what it handed on may still be under way.
    virtual void AfterWalk() { }
    // Written after the walk.
    virtual void WriteEnd(bool aborted) { (void)aborted; }
    // The results file is complete: sets the status and closing message and shows them.
    virtual void Conclude(RunResult& result) = 0;

    RunPorts& Ports() { return ports_; }
    const SearchOptions& Options() const { return options_; }
    // The inputs as the header names them.
    const SearchOptions& Shown() const { return shown_; }
    ResultsWriter& Writer() { return *writer_; }
    const std::optional<FileIdentity>& ResultsFileIdentity() const { return resultsIdentity_; }
    RunCounters& Counters() { return counters_; }
    const RunCounters& Counters() const { return counters_; }
    RunYields& Yields() { return yields_; }
    const WalkGaps& Gaps() const { return gaps_; }

private:
    WalkSettings WalkSettingsFor(std::int16_t resultsFileNumber);
    void WalkAndClose(std::int16_t resultsFileNumber, RunResult& result);

    RunPorts ports_;
    RunShape shape_;
    RunYields yields_;
    SearchOptions options_;
    SearchOptions shown_;
    RunCounters counters_;
    WalkGaps gaps_;
    ResultsWriter* writer_ = nullptr;
    std::optional<FileIdentity> resultsIdentity_;
};

// "PROCESS WAS ABORTED" and a blank line when aborted, then "7 files searched." and a blank
// line, then the walk's gaps: how every run that reads files begins its closing message.
// What a user is told when a run ended because memory ran out (RunFrame::Run then throws
// std::bad_alloc, its results file closed and marked as an abort marks it).
inline constexpr const char* kOutOfMemory
    = "Memory ran out: the run was ended and its results file is incomplete.";

std::string FilesSearchedMessage(
    bool aborted, std::int64_t totalFileCount, const WalkGaps& gaps = {});
// "2 folders could not be read." and a blank line when some could not, "2 files could not be
// read in full." and a blank line likewise, then "No file in the
// tree matches the template *.h." and a blank line for each wildcard that admitted none;
// nothing when the walk left nothing out.
std::string WalkGapsMessage(const WalkGaps& gaps);

} // namespace trawlit
