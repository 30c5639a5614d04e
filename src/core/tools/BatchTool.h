#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/run/RunFrame.h"
#include "core/tools/LineReader.h"

namespace trawlit {

// What sets one batch tool's run apart from another's, besides its steps.
struct BatchToolPolicy {
    std::optional<SectionId> headerSection; // none: the results file has no header
    bool animated = false; // the busy animation plays while the tool runs
    std::vector<std::string> skippedNameParts; // a file whose name holds one is never visited
    bool passOverResultsFile = true;
};

// The policy of a tool that reads the files it visits: pictures are passed over.
BatchToolPolicy ReadingToolPolicy(std::optional<SectionId> headerSection);

// How the reading of one file of the walk went. Failed and Stopped (an abort heard inside the
// file) leave it cut short: what a tool made of it must not pass for the whole file.
enum class FileRead : std::uint8_t { NotOpened, Failed, Stopped, Read };

// A batch tool in the run frame: the folder inputs recorded, every entry that is not a folder
// handed on, the total-files counter alone, and the results file handed to the output-file
// dialog at the end. A tool gives its per-file step and what it writes before and after the
// walk.
class BatchTool : public RunFrame {
public:
    BatchTool(const RunInputs& inputs, RunPorts ports, const BatchToolPolicy& policy);

protected:
    virtual std::string ClosingMessage(bool aborted) const;
    void Conclude(RunResult& result) override;

    std::int64_t TotalFiles() const { return Counters().TotalFileCount; }
    // One more file for the total-files counter, shown at once.
    void CountFile();

    // Opens a file of the walk for reading by the name it was listed under. When it cannot
    // be opened, tells the user in the file routines' words.
    bool OpenFileOfTree(const WalkFile& file, std::int16_t& fileNumber);
    // Tells the user that a file of the walk could not be read to its end, and counts it.
    void ReportReadFailure(const WalkFile& file);
    void CloseFile(std::int16_t fileNumber);
    // Opens a file of the walk, hands its lines to `readLines` and closes it; a file that
    // could not be opened or read to its end has been reported.
    FileRead ReadLinesOf(const WalkFile& file, const std::function<void(LineReader&)>& readLines,
        LineReading reading = {});
};

// How a file is shown in the results: its path without the root folder and the separator
// after it when it begins with them (case ignored), else the whole path.
std::string PathBelowRoot(const std::string& path, const std::string& rootFolder);

} // namespace trawlit
