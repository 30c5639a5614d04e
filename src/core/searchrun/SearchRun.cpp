#include "core/searchrun/SearchRun.h"

#include <algorithm>
#include <optional>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/formats/ResultsFilePrinter.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunFrame.h"
#include "core/run/RunStart.h"
#include "core/search/LineMatcher.h"
#include "core/searchrun/SearchedFile.h"
#include "core/searchrun/WalkOrderCommit.h"
#include "core/text/TextHelpers.h"
#include "core/walk/FolderWalk.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

RunShape SearchShape()
{
    RunShape shape;
    shape.animated = true;
    shape.countsMatches = true;
    return shape;
}

bool IsGoneSinceListed(const PlatformError& error)
{
    return error.number == ErrorNumber::FileNotFound || error.number == ErrorNumber::PathNotFound;
}

// The search in the run frame: the per-file step, and the sink of the matcher's findings (read
// here, or committed from the workers in walk order), which it counts and hands to the printer.
class StringSearch : public RunFrame, public CommitTarget {
public:
    StringSearch(
        const RunInputs& inputs, RunPorts ports, SearchPrinter& printer, SearchThreads threads)
        : RunFrame(inputs, ports, SearchShape())
        , printer_(printer)
        , listsLines_(!Options().CountsOnly)
        , threads_(threads)
    {
    }
    StringSearch(const StringSearch&) = delete;
    StringSearch& operator=(const StringSearch&) = delete;

    void BeforeName() override { Yields().TimedYield(); }

    void VisitFile(const WalkFile& file) override
    {
        if (commit_) {
            commit_->AddFile(file);
        } else {
            SearchFileHere(file);
        }
    }

    void OnFolderNotRead(const std::string& folderPath, const PlatformError& error) override
    {
        if (commit_) {
            commit_->AddFolderNotRead(folderPath, error);
        } else {
            RunFrame::OnFolderNotRead(folderPath, error);
        }
    }

    bool StopRequested() override { return RunFrame::StopRequested(); }
    void FolderNotRead(const std::string& folderPath, const PlatformError& error) override
    {
        RunFrame::OnFolderNotRead(folderPath, error);
    }

    void BeginMatch(std::int64_t lineNumber, bool isContinuation) override
    {
        matchOpen_ = true;
        RunView& view = Ports().view;
        RunCounters& counters = Counters();
        SetCounter(view, Counter::MatchCount, counters.MatchCount, counters.MatchCount + 1);
        if (++fileMatchCount_ == 1) {
            if (listsLines_) {
                printer_.MatchingFile(Writer(), printed_);
            }
            SetCounter(view, Counter::FileFoundCount, counters.FileFoundCount,
                counters.FileFoundCount + 1);
        }
        if (listsLines_) {
            printer_.BeginLine(Writer(), printed_, lineNumber, isContinuation);
        }
    }

    void AppendToMatch(std::string_view part) override
    {
        if (listsLines_) {
            printer_.LineText(Writer(), part);
        }
    }

    void EndMatch() override
    {
        matchOpen_ = false;
        if (listsLines_) {
            printer_.EndLine(Writer());
        }
    }

protected:
    bool RefusesInputs() override { return SearchTextMissing(Options(), Ports().dialogs); }

    // The inputs are taken by now: the printer begins and the matcher is made for them.
    void WriteStart() override
    {
        printer_.Begin(Writer(), Shown(), Ports().platform.clock.Now());
        rootLength_ = RootLengthInPaths(Options().RootFolder);
        const SearchOptions& options = Options();
        const MatchSettings settings { options.SearchStr, options.CaseSensitive,
            options.CollapseWhiteSpace, listsLines_ };
        if (threads_.workers == 0 || threads_.runReads != RunReads::Nothing) {
            matcher_.emplace(settings);
        }
        if (threads_.workers > 0) {
            commit_.emplace(
                Ports().platform, settings, threads_, *this, matcher_ ? &*matcher_ : nullptr);
        }
    }

    void AfterWalk() override
    {
        if (commit_) {
            commit_->Finish();
        }
    }

    void WriteEnd(bool aborted) override
    {
        printer_.Summary(Writer(), Counters(), aborted, Gaps().filesNotRead);
    }

    void Conclude(RunResult& result) override
    {
        result.closingMessage
            = FilesSearchedMessage(result.aborted, result.counters.TotalFileCount, Gaps());
        if (result.counters.MatchCount > 0) {
            result.status = RunStatus::Found;
            result.closingMessage += PLURAL(static_cast<double>(result.counters.MatchCount),
                                         "match", PluralFlags::NoLeadingBlank | PluralFlags::Es)
                + " found in "
                + PLURAL(static_cast<double>(result.counters.FileFoundCount), "file",
                    PluralFlags::NoLeadingBlank)
                + ".";
            Ports().dialogs.ShowOutputFile(
                result.closingMessage, kProgramTitle, result.outputPathname);
        } else {
            result.status = RunStatus::NoMatch;
            result.closingMessage += "No matches were found.";
            Ports().dialogs.ShowNoMatch(result.closingMessage, result.outputPathname);
        }
    }

private:
    // The reference way: the file is read and matched here, between the walk's steps.
    void SearchFileHere(const WalkFile& walked)
    {
        BeginFile(walked.displayPath, walked.checkPath);
        FileRead read;
        {
            SearchedFile file(Ports().platform.fileSystem, walked.folder.get(), walked.name,
                walked.displayPath, [this] { return StopRequested(); });
            if (file.IsOpen()) {
                matcher_->ScanFile(file, *this);
            }
            read = file.Outcome();
        }
        EndFile(read);
    }

    void BeginFile(std::string_view displayPath, std::string_view checkPath) override
    {
        const std::string_view belowRoot
            = displayPath.substr(std::min(rootLength_, displayPath.size()));
        std::string_view relative = belowRoot;
        if (!relative.empty() && relative.front() == '/') {
            relative.remove_prefix(1);
        }
        printed_ = { displayPath, belowRoot, relative, checkPath };
        fileMatchCount_ = 0;
    }

    // A file that could not be opened is reported and left out of the files searched, unless
    // it is gone since it was listed: that one is passed over silently, like any name that is
    // no file any more. A file read only part way is searched as far as it was read, and
    // marked so by every printer; a failed read is reported as the batch tools report it.
    void EndFile(const FileRead& read) override
    {
        if (matchOpen_) {
            EndMatch(); // stopped inside a line: what was written of it ends there
        }
        if (read.outcome == ReadOutcome::NotOpened) {
            if (!IsGoneSinceListed(read.error)) {
                const std::string checkPath(printed_.checkPath);
                Ports().files.ReportOpenError(read.error, checkPath);
                Ports().dialogs.MsgBox("Open error with\r\n" + checkPath);
                OnFileNotRead();
            }
            return;
        }
        if (!listsLines_) {
            printer_.FileCount(Writer(), printed_, fileMatchCount_);
        }
        if (IsCutShort(read.outcome)) {
            MarkCut(read);
        }
        RunCounters& counters = Counters();
        SetCounter(Ports().view, Counter::TotalFileCount, counters.TotalFileCount,
            counters.TotalFileCount + 1);
    }

    void MarkCut(const FileRead& read)
    {
        if (read.outcome == ReadOutcome::ReadFailed) {
            Ports().files.ReportOpenError(read.error, std::string(printed_.checkPath));
            OnFileNotRead();
        }
        if (listsLines_ && fileMatchCount_ == 0) {
            printer_.MatchingFile(Writer(), printed_); // the mark needs its file named
        }
        printer_.FileCut(Writer(), printed_,
            read.outcome == ReadOutcome::Stopped ? "PROCESS WAS ABORTED" : read.error.description);
    }

    SearchPrinter& printer_;
    const bool listsLines_; // without counts only, the printers list matching lines
    std::optional<LineMatcher> matcher_;
    std::size_t rootLength_ = 0;
    PrintedFile printed_; // the file being written: its views are valid until the next
    std::int64_t fileMatchCount_ = 0;
    bool matchOpen_ = false;

    SearchThreads threads_;
    std::optional<WalkOrderCommit> commit_; // with workers
};

} // namespace

RunResult RunStringSearch(
    const RunInputs& inputs, RunPorts ports, SearchPrinter* printer, SearchThreads threads)
{
    ResultsFilePrinter resultsFile;
    StringSearch search(inputs, ports, printer != nullptr ? *printer : resultsFile, threads);
    return search.Run();
}

} // namespace trawlit
