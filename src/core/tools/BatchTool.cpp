#include "core/tools/BatchTool.h"

#include "core/text/AsciiCase.h"

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/run/RunStart.h"
#include "core/text/TextHelpers.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

RunShape ShapeOf(const BatchToolPolicy& policy)
{
    RunShape shape;
    shape.headerSection = policy.headerSection;
    shape.animated = policy.animated;
    shape.passOverResultsFile = policy.passOverResultsFile;
    shape.walk.skippedNameParts = policy.skippedNameParts;
    shape.walk.fileMustExist = false;
    return shape;
}

} // namespace

BatchToolPolicy ReadingToolPolicy(std::optional<SectionId> headerSection)
{
    BatchToolPolicy policy;
    policy.headerSection = headerSection;
    policy.skippedNameParts = { ".gif", ".jpg" };
    return policy;
}

BatchTool::BatchTool(const RunInputs& inputs, RunPorts ports, const BatchToolPolicy& policy)
    : RunFrame(inputs, ports, ShapeOf(policy))
{
}

void BatchTool::Conclude(RunResult& result)
{
    result.status = RunStatus::Done;
    result.closingMessage = ClosingMessage(result.aborted);
    Ports().dialogs.ShowOutputFile(result.closingMessage, kProgramTitle, result.outputPathname);
}

std::string BatchTool::ClosingMessage(bool aborted) const
{
    return FilesSearchedMessage(aborted, TotalFiles(), Gaps());
}

void BatchTool::CountFile()
{
    RunCounters& counters = Counters();
    SetCounter(Ports().view, Counter::TotalFileCount, counters.TotalFileCount,
        counters.TotalFileCount + 1);
}

bool BatchTool::OpenFileOfTree(const WalkFile& file, std::int16_t& fileNumber)
{
    PlatformError error = file.folder != nullptr
        ? Ports().files.TryOpenListedFile(*file.folder, file.name, file.displayPath, fileNumber)
        : Ports().files.TryOpenFile(file.displayPath, fileNumber, OpenType::SequentialInput, -1);
    if (error) {
        Ports().files.ReportOpenError(error, file.checkPath);
        OnFileNotRead();
        return false;
    }
    return true;
}

void BatchTool::ReportReadFailure(const WalkFile& file)
{
    // A name that became a folder since it was listed fails at its first read.
    const PlatformError error = Ports().platform.fileSystem.FolderExists(file.displayPath)
        ? ErrorWithCause(ErrorNumber::PathFileAccessError, "it is a folder, not a file")
        : ErrorWithNumber(ErrorNumber::DeviceIoError);
    Ports().files.ReportOpenError(error, file.checkPath);
    OnFileNotRead();
}

void BatchTool::CloseFile(std::int16_t fileNumber)
{
    PlatformError ignored; // nothing was written to it
    Ports().files.Close(fileNumber, ignored);
}

FileRead BatchTool::ReadLinesOf(
    const WalkFile& file, const std::function<void(LineReader&)>& readLines, LineReading reading)
{
    std::int16_t fileNumber = 0;
    if (!OpenFileOfTree(file, fileNumber)) {
        return FileRead::NotOpened;
    }
    LineReader reader(
        Ports().files, fileNumber, [this] { return StopRequested(); }, reading);
    readLines(reader);
    CloseFile(fileNumber);
    if (reader.Failed()) {
        ReportReadFailure(file);
        return FileRead::Failed;
    }
    return reader.Stopped() ? FileRead::Stopped : FileRead::Read;
}

std::string PathBelowRoot(const std::string& path, const std::string& rootFolder)
{
    const std::string rootAndSeparator = rootFolder + "/";
    if (StartsWithIgnoringAsciiCase(path, rootAndSeparator)) {
        return path.substr(rootAndSeparator.size());
    }
    return path;
}

} // namespace trawlit
