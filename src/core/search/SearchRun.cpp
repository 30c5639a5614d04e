#include "core/search/SearchRun.h"

#include <algorithm>
#include <optional>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunFrame.h"
#include "core/run/RunStart.h"
#include "core/run/RunTrailer.h"
#include "core/run/RunYields.h"
#include "core/search/LineMatcher.h"
#include "core/text/TextHelpers.h"
#include "core/text/TextTrim.h"
#include "core/walk/FolderWalk.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

// Reads one open file for the matcher.
class FileNumberSource : public ByteSource {
public:
    FileNumberSource(FileRoutines& files, std::int16_t fileNumber)
        : files_(files)
        , fileNumber_(fileNumber)
    {
    }
    std::ptrdiff_t Read(char* buffer, std::size_t size) override
    {
        return files_.ReadBytes(fileNumber_, buffer, size);
    }
    bool CanReadAt() const override { return true; }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override
    {
        return files_.ReadBytesAt(fileNumber_, offset, buffer, size);
    }

private:
    FileRoutines& files_;
    std::int16_t fileNumber_;
};

std::size_t DecimalDigits(std::int64_t value)
{
    std::size_t digits = 1;
    for (; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

// The per-file step of the search and the sink of its matches.
class SearchSteps : public WalkSteps, public MatchSink {
public:
    SearchSteps(
        RunPorts ports, const SearchOptions& options, ResultsWriter& writer, SearchResult& result)
        : ports_(ports)
        , options_(options)
        , writer_(writer)
        , counters_(result.counters)
        , yields_(ports.platform.clock, ports.platform.events)
        , matcher_(MatchSettings { options.SearchStr, options.CaseSensitive,
              options.CollapseWhiteSpace, !options.CountsOnly })
    {
    }

    bool StopRequested() override { return ports_.window.AbortRequested() || writer_.Failed(); }
    void BeforeName() override { yields_.TimedYield(); }
    void AfterName() override { yields_.InputPendingYield(); }

    void VisitFile(const WalkFile& file) override
    {
        current_ = &file;
        fileMatchCount_ = 0;
        std::int16_t fileNumber = 0;
        PlatformError error = file.folder != nullptr
            ? ports_.files.TryOpenListedFile(*file.folder, file.name, file.displayPath, fileNumber)
            : ports_.files.TryOpenFile(file.displayPath, fileNumber, OpenType::SequentialInput, -1);
        if (IsGoneSinceListed(error)) {
            return; // passed over silently, like any name that is no file any more
        }
        if (error) {
            ports_.files.ReportOpenError(error, file.checkPath);
            ports_.dialogs.MsgBox("Open error with\r\n" + file.checkPath);
        } else {
            FileNumberSource source(ports_.files, fileNumber);
            matcher_.ScanFile(source, *this);
            PlatformError closeError;
            ports_.files.Close(fileNumber, closeError);
        }
        if (options_.CountsOnly) {
            writer_.WriteLine(RJustify(std::to_string(fileMatchCount_), 8) + "  " + file.checkPath);
        }
        SetCounter(ports_.window, Counter::TotalFileCount, counters_.TotalFileCount,
            counters_.TotalFileCount + 1);
    }

    void OnMatch(
        std::int64_t lineNumber, std::string_view pieceAsRead, bool isContinuation) override
    {
        SetCounter(
            ports_.window, Counter::MatchCount, counters_.MatchCount, counters_.MatchCount + 1);
        if (++fileMatchCount_ == 1) {
            if (!options_.CountsOnly) {
                writer_.Write("\r\n");
                writer_.WriteLine(RelativePath(current_->displayPath));
                writer_.Write("\r\n");
            }
            SetCounter(ports_.window, Counter::FileFoundCount, counters_.FileFoundCount,
                counters_.FileFoundCount + 1);
        }
        if (!options_.CountsOnly) {
            WriteMatchLine(lineNumber, pieceAsRead, isContinuation);
        }
    }

private:
    static bool IsGoneSinceListed(const PlatformError& error)
    {
        return error.number == ErrorNumber::FileNotFound
            || error.number == ErrorNumber::PathNotFound;
    }

    std::string_view RelativePath(const std::string& displayPath) const
    {
        return std::string_view(displayPath)
            .substr(std::min(options_.RootFolder.size(), displayPath.size()));
    }

    void WriteMatchLine(std::int64_t lineNumber, std::string_view piece, bool isContinuation)
    {
        writer_.Write("\t");
        if (isContinuation) {
            writer_.Write(std::string(DecimalDigits(lineNumber) + 1, ' '));
        } else {
            writer_.Write(std::to_string(lineNumber));
            writer_.Write(":");
        }
        writer_.Write("\t");
        writer_.WriteLine(piece);
    }

    RunPorts ports_;
    const SearchOptions& options_;
    ResultsWriter& writer_;
    RunCounters& counters_;
    RunYields yields_;
    LineMatcher matcher_;
    const WalkFile* current_ = nullptr;
    std::int64_t fileMatchCount_ = 0;
};

void FinishRun(RunPorts ports, SearchResult& result)
{
    result.closingMessage = FilesSearchedMessage(result.aborted, result.counters.TotalFileCount);
    if (result.counters.MatchCount > 0) {
        result.status = RunStatus::Found;
        result.closingMessage += PLURAL(static_cast<double>(result.counters.MatchCount), "match",
                                     PluralFlags::NoLeadingBlank | PluralFlags::Es)
            + " found in "
            + PLURAL(static_cast<double>(result.counters.FileFoundCount), "file",
                PluralFlags::NoLeadingBlank)
            + ".";
        ports.dialogs.ShowOutputFile(result.closingMessage, kProgramTitle, result.outputPathname);
    } else {
        result.status = RunStatus::NoMatch;
        result.closingMessage += "No matches were found.";
        ports.dialogs.MsgBox(result.closingMessage);
    }
}

void WalkAndWrite(RunPorts ports, const SearchOptions& options, ResultsWriter& writer,
    std::int16_t fileNumber, SearchResult& result)
{
    writer.Write(
        OutputHeader(ports.window, ports.platform.clock.Now(), SectionId::SearchForString));
    ports.window.SetAbortRequested(false);
    ports.window.HideStuff(kProgramTitle, 0, 0, 0);

    WalkSettings walk;
    walk.rootFolder = options.RootFolder;
    walk.fileTemplate = options.FileTemplate;
    walk.traverseSubfolders = options.TraverseSubfolders;
    FileIdentity resultsIdentity;
    if (ports.files.IdentityOf(fileNumber, resultsIdentity)) {
        walk.passOver = resultsIdentity;
    }
    SearchSteps steps(ports, options, writer, result);
    FolderWalk(ports.platform.fileSystem, walk, steps);

    result.aborted = ports.window.AbortRequested();
    WriteTrailer(ports.window, writer, result.aborted, result.counters);
}

} // namespace

SearchResult RunStringSearch(RunPorts ports)
{
    SearchResult result;
    SearchOptions options = ReadSearchOptions(ports.window);
    result.outputPathname = options.OutputPathname;
    if (TrimBlanksIsEmpty(options.SearchStr)) {
        ports.dialogs.MsgBox("Search String must be specified!", MsgBoxCode::Exclamation);
        ports.window.FocusInput(InputBox::SearchStr);
        return result;
    }
    RecordInputHistories(ports.window, options);
    if (!ProbeRootFolder(ports.platform.fileSystem, ports.dialogs, options.RootFolder)) {
        return result;
    }

    ports.window.AnimationStart();
    ports.window.EnablePanelInput(false);
    std::optional<std::int16_t> fileNumber = CreateResultsFile(ports, options.OutputPathname);
    if (!fileNumber) {
        result.status = RunStatus::Failed;
        ports.window.AnimationStop();
        ReturnToIdle(ports.window);
        return result;
    }
    ResultsWriter writer(ports.files, *fileNumber);
    WalkAndWrite(ports, options, writer, *fileNumber, result);

    ports.window.AnimationStop();
    writer.Close();
    ports.window.HideAbortButton();
    if (writer.Failed()) {
        result.status = RunStatus::Failed;
        ReportWriteFailure(ports.dialogs, writer.Error(), options.OutputPathname);
    } else {
        FinishRun(ports, result);
    }
    ReturnToIdle(ports.window);
    return result;
}

} // namespace trawlit
