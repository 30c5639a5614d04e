#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/walk/FolderWalk.h"
#include "core/run/RunYields.h"
#include "core/search/SearchRun.h"

namespace trawlit {

class ResultsWriter;

// What sets one batch tool's run apart from another's, besides its steps.
struct BatchToolPolicy {
    std::optional<std::int16_t> headerSection; // none: the results file has no header
    bool animated = false; // the busy animation plays while the tool runs
    std::vector<std::string> skippedNameParts; // a file whose name holds one is never visited
    bool passOverResultsFile = true;
};

// The frame every batch tool runs in: the inputs read and recorded, the root probed, the
// results file created (with its header), the walk with the tool's steps, the closing lines
// and the output-file dialog, then the window idle again. A tool gives its per-file step and
// what it writes before and after the walk.
class BatchTool : public WalkSteps {
public:
    BatchTool(RunPorts ports, BatchToolPolicy policy);
    BatchTool(const BatchTool&) = delete;
    BatchTool& operator=(const BatchTool&) = delete;

    SearchResult Run();

    bool StopRequested() override;
    void AfterName() override;

protected:
    // Written after the header, before the walk.
    virtual void WriteStart() { }
    // Written after the walk.
    virtual void WriteEnd(bool aborted) { (void)aborted; }
    virtual std::int16_t ResultsOpenType();
    // Called after the file routines have told why the results file could not be created.
    virtual void OnResultsFileNotCreated() { }
    virtual std::string ClosingMessage(bool aborted) const;

    RunPorts& Ports() { return ports_; }
    const SearchOptions& Options() const { return options_; }
    ResultsWriter& Writer() { return *writer_; }
    const std::optional<FileIdentity>& ResultsFileIdentity() const { return resultsIdentity_; }
    std::int64_t TotalFiles() const { return counters_.TotalFileCount; }
    // One more file for the total-files counter, shown at once.
    void CountFile();

    // Opens a file of the walk for reading by the name it was listed under. When it cannot
    // be opened, tells the user in the file routines' words, naming its CheckPath.
    bool OpenFileOfTree(const WalkFile& file, std::int16_t& fileNumber);
    // Tells the user that a file of the walk could not be read to its end.
    void ReportReadFailure(const WalkFile& file);
    void CloseFile(std::int16_t fileNumber);

private:
    WalkSettings WalkSettingsFor(std::int16_t resultsFileNumber);
    void WalkAndClose(std::int16_t resultsFileNumber, SearchResult& result);

    RunPorts ports_;
    BatchToolPolicy policy_;
    RunYields yields_;
    SearchOptions options_;
    RunCounters counters_;
    ResultsWriter* writer_ = nullptr;
    std::optional<FileIdentity> resultsIdentity_;
};

// How a file is shown in the results: its CheckPath without the root folder and the separator
// after it when it begins with them (case ignored), else the whole CheckPath.
std::string PathBelowRoot(const std::string& checkPath, const std::string& rootFolder);

} // namespace trawlit
