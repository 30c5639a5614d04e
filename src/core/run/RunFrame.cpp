#include "core/run/RunFrame.h"

#include <exception>
#include <new>

#include "core/files/FileRoutines.h"
#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunStart.h"
#include "core/run/RunTrailer.h"
#include "core/text/TextHelpers.h"
#include "ports/Dialogs.h"
#include "ports/RunView.h"

namespace trawlit {

namespace {

// Creates (or replaces) the results file. When it cannot be, tells the user why in the file
// routines' words and returns nothing: the run must end without writing anything.
std::optional<std::int16_t> CreateResultsFile(
    RunPorts ports, const std::string& path, std::int16_t openType)
{
    std::int16_t fileNumber = 0;
    PlatformError error = ports.files.TryOpenFile(path, fileNumber, openType, -1);
    if (error) {
        ports.files.ReportOpenError(error, path);
        return std::nullopt;
    }
    return fileNumber;
}

// Counters hidden, run buttons shown, panel enabled: the window is idle again.
void ReturnToIdle(RunView& view)
{
    view.HideShowCounts(false);
    view.ShowStuff();
    view.EnablePanelInput(true);
}

} // namespace

RunFrame::RunFrame(const RunInputs& inputs, RunPorts ports, RunShape shape)
    : ports_(ports)
    , shape_(std::move(shape))
    , yields_(ports.platform.clock, ports.platform.events)
    , options_(TidiedInputs(inputs.options))
    , shown_(TidiedInputs(inputs.shown))
{
}

RunResult RunFrame::Run()
{
    RunResult result;
    result.outputPathname = options_.OutputPathname;
    if (RefusesInputs()) {
        return result;
    }
    if (!ProbeRootFolder(ports_.platform.fileSystem, ports_.dialogs, options_.RootFolder)) {
        return result;
    }

    if (shape_.animated) {
        ports_.view.AnimationStart();
    }
    ports_.view.EnablePanelInput(false);
    std::optional<std::int16_t> fileNumber
        = CreateResultsFile(ports_, options_.OutputPathname, ResultsOpenType());
    if (fileNumber) {
        WalkAndClose(*fileNumber, result);
    } else {
        OnResultsFileNotCreated();
        result.status = RunStatus::Failed;
        if (shape_.animated) {
            ports_.view.AnimationStop();
        }
    }
    ReturnToIdle(ports_.view);
    return result;
}

void RunFrame::WalkAndClose(std::int16_t resultsFileNumber, RunResult& result)
{
    ResultsWriter writer(ports_.files, resultsFileNumber);
    writer_ = &writer;
    if (shape_.headerSection) {
        writer.Write(OutputHeader(shown_, ports_.platform.clock.Now(), *shape_.headerSection));
    }
    WriteStart();
    counters_ = {};
    ports_.view.SetAbortRequested(false);
    const std::int64_t matchCounters = shape_.countsMatches ? 0 : -1;
    ports_.view.HideStuff(kProgramTitle, 0, matchCounters, matchCounters);

    // Memory that ran out ends the run like an abort, the results marked so, and is then told.
    std::exception_ptr outOfMemory;
    try {
        FolderWalk(ports_.platform.fileSystem, WalkSettingsFor(resultsFileNumber), *this);
        AfterWalk();
    } catch (const std::bad_alloc&) {
        outOfMemory = std::current_exception();
    }

    result.aborted = ports_.view.AbortRequested() || outOfMemory;
    WriteEnd(result.aborted);
    if (shape_.animated) {
        ports_.view.AnimationStop();
    }
    writer.Close();
    writer_ = nullptr;
    if (outOfMemory) {
        std::rethrow_exception(outOfMemory);
    }
    ports_.view.HideAbortButton();
    result.counters = counters_;
    result.foldersNotRead = gaps_.foldersNotRead;
    result.filesNotRead = gaps_.filesNotRead;
    if (writer.Failed()) {
        result.status = RunStatus::Failed;
        ReportWriteFailure(ports_.dialogs, writer.Error(), options_.OutputPathname);
        return;
    }
    Conclude(result);
}

WalkSettings RunFrame::WalkSettingsFor(std::int16_t resultsFileNumber)
{
    WalkSettings walk = shape_.walk;
    walk.rootFolder = options_.RootFolder;
    walk.fileTemplate = options_.FileTemplate;
    walk.traverseSubfolders = options_.TraverseSubfolders;
    FileIdentity identity;
    resultsIdentity_.reset();
    if (ports_.files.IdentityOf(resultsFileNumber, identity)) {
        resultsIdentity_ = identity;
    }
    if (shape_.passOverResultsFile) {
        walk.passOver = resultsIdentity_;
    }
    return walk;
}

bool RunFrame::StopRequested()
{
    return ports_.view.AbortRequested() || (writer_ != nullptr && writer_->Failed());
}

void RunFrame::OnFolderNotRead(const std::string& folderPath, const PlatformError& error)
{
    ++gaps_.foldersNotRead;
    ports_.view.FolderNotRead(folderPath, error.description);
}

void RunFrame::AfterName()
{
    yields_.InputPendingYield();
}

void RunFrame::OnTemplatesUnused(const std::vector<std::string>& wildcards)
{
    gaps_.unusedTemplates = wildcards;
}

std::int16_t RunFrame::ResultsOpenType()
{
    return OpenType::SequentialOutput;
}

std::string FilesSearchedMessage(bool aborted, std::int64_t totalFileCount, const WalkGaps& gaps)
{
    std::string message = aborted ? "PROCESS WAS ABORTED\r\n\r\n" : "";
    message += PLURAL(static_cast<double>(totalFileCount), "file", PluralFlags::NoLeadingBlank)
        + " searched.\r\n\r\n";
    return message + WalkGapsMessage(gaps);
}

std::string WalkGapsMessage(const WalkGaps& gaps)
{
    std::string message;
    if (gaps.foldersNotRead != 0) {
        message = PLURAL(static_cast<double>(gaps.foldersNotRead), "folder",
                      PluralFlags::NoLeadingBlank)
            + " could not be read.\r\n\r\n";
    }
    if (gaps.filesNotRead != 0) {
        message
            += PLURAL(static_cast<double>(gaps.filesNotRead), "file", PluralFlags::NoLeadingBlank)
            + " could not be read in full.\r\n\r\n";
    }
    for (const std::string& wildcard : gaps.unusedTemplates) {
        message += "No file in the tree matches the template " + wildcard + ".\r\n\r\n";
    }
    return message;
}

} // namespace trawlit
