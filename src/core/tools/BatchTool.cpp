#include "core/tools/BatchTool.h"

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunFrame.h"
#include "core/run/RunStart.h"
#include "core/run/RunTrailer.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& start)
{
    if (text.size() < start.size()) {
        return false;
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (AsciiUpper(text[i]) != AsciiUpper(start[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

BatchTool::BatchTool(RunPorts ports, BatchToolPolicy policy)
    : ports_(ports)
    , policy_(std::move(policy))
    , yields_(ports.platform.clock, ports.platform.events)
{
}

SearchResult BatchTool::Run()
{
    SearchResult result;
    options_ = ReadSearchOptions(ports_.window);
    result.outputPathname = options_.OutputPathname;
    RecordFolderHistories(ports_.window, options_);
    if (!ProbeRootFolder(ports_.platform.fileSystem, ports_.dialogs, options_.RootFolder)) {
        return result;
    }

    if (policy_.animated) {
        ports_.window.AnimationStart();
    }
    ports_.window.EnablePanelInput(false);
    std::optional<std::int16_t> fileNumber
        = CreateResultsFile(ports_, options_.OutputPathname, ResultsOpenType());
    if (fileNumber) {
        WalkAndClose(*fileNumber, result);
    } else {
        OnResultsFileNotCreated();
        result.status = RunStatus::Failed;
        if (policy_.animated) {
            ports_.window.AnimationStop();
        }
    }
    ReturnToIdle(ports_.window);
    return result;
}

void BatchTool::WalkAndClose(std::int16_t resultsFileNumber, SearchResult& result)
{
    ResultsWriter writer(ports_.files, resultsFileNumber);
    writer_ = &writer;
    if (policy_.headerSection) {
        writer.Write(
            OutputHeader(ports_.window, ports_.platform.clock.Now(), *policy_.headerSection));
    }
    WriteStart();
    counters_ = {};
    ports_.window.SetAbortRequested(false);
    ports_.window.HideStuff(kProgramTitle, 0, -1, -1);

    FolderWalk(ports_.platform.fileSystem, WalkSettingsFor(resultsFileNumber), *this);

    result.aborted = ports_.window.AbortRequested();
    WriteEnd(result.aborted);
    if (policy_.animated) {
        ports_.window.AnimationStop();
    }
    writer.Close();
    writer_ = nullptr;
    ports_.window.HideAbortButton();
    result.counters = counters_;
    if (writer.Failed()) {
        result.status = RunStatus::Failed;
        ReportWriteFailure(ports_.dialogs, writer.Error(), options_.OutputPathname);
        return;
    }
    result.status = RunStatus::Done;
    result.closingMessage = ClosingMessage(result.aborted);
    ports_.dialogs.ShowOutputFile(result.closingMessage, kProgramTitle, result.outputPathname);
}

WalkSettings BatchTool::WalkSettingsFor(std::int16_t resultsFileNumber)
{
    WalkSettings walk;
    walk.rootFolder = options_.RootFolder;
    walk.fileTemplate = options_.FileTemplate;
    walk.traverseSubfolders = options_.TraverseSubfolders;
    walk.skippedNameParts = policy_.skippedNameParts;
    walk.fileMustExist = false;
    FileIdentity identity;
    resultsIdentity_.reset();
    if (ports_.files.IdentityOf(resultsFileNumber, identity)) {
        resultsIdentity_ = identity;
    }
    if (policy_.passOverResultsFile) {
        walk.passOver = resultsIdentity_;
    }
    return walk;
}

bool BatchTool::StopRequested()
{
    return ports_.window.AbortRequested() || (writer_ != nullptr && writer_->Failed());
}

void BatchTool::AfterName()
{
    yields_.InputPendingYield();
}

std::int16_t BatchTool::ResultsOpenType()
{
    return OpenType::SequentialOutput;
}

std::string BatchTool::ClosingMessage(bool aborted) const
{
    return FilesSearchedMessage(aborted, counters_.TotalFileCount);
}

void BatchTool::CountFile()
{
    SetCounter(ports_.window, Counter::TotalFileCount, counters_.TotalFileCount,
        counters_.TotalFileCount + 1);
}

bool BatchTool::OpenFileOfTree(const WalkFile& file, std::int16_t& fileNumber)
{
    PlatformError error = file.folder != nullptr
        ? ports_.files.TryOpenListedFile(*file.folder, file.name, file.displayPath, fileNumber)
        : ports_.files.TryOpenFile(file.displayPath, fileNumber, OpenType::SequentialInput, -1);
    if (error) {
        ports_.files.ReportOpenError(error, file.checkPath);
        return false;
    }
    return true;
}

void BatchTool::ReportReadFailure(const WalkFile& file)
{
    ports_.files.ReportOpenError(ErrorWithNumber(ErrorNumber::DeviceIoError), file.checkPath);
}

void BatchTool::CloseFile(std::int16_t fileNumber)
{
    PlatformError ignored; // nothing was written to it
    ports_.files.Close(fileNumber, ignored);
}

std::string PathBelowRoot(const std::string& checkPath, const std::string& rootFolder)
{
    const std::string rootAndSeparator = rootFolder + "/";
    if (StartsWithIgnoringCase(checkPath, rootAndSeparator)) {
        return checkPath.substr(rootAndSeparator.size());
    }
    return checkPath;
}

} // namespace trawlit
