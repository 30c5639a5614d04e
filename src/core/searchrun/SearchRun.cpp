#include "core/searchrun/SearchRun.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/formats/ResultsFilePrinter.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunFrame.h"
#include "core/run/RunStart.h"
#include "core/search/LineMatcher.h"
#include "core/searchrun/FileScanPool.h"
#include "core/searchrun/SearchedFile.h"
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

// The search in the run frame: the per-file step, the sink of the matcher's findings (read
// here or taken from the workers), which it counts and hands to the printer, and the commit
// of the workers' files in walk order.
class StringSearch : public RunFrame, public MatchSink {
public:
    StringSearch(
        const RunInputs& inputs, RunPorts ports, SearchPrinter& printer, SearchThreads threads)
        : RunFrame(inputs, ports, SearchShape())
        , printer_(printer)
        , listsLines_(!Options().CountsOnly)
        , threads_(threads)
    {
    }
    ~StringSearch() override { CancelWhatIsLeft(); }
    StringSearch(const StringSearch&) = delete;
    StringSearch& operator=(const StringSearch&) = delete;

    void BeforeName() override { Yields().TimedYield(); }

    void VisitFile(const WalkFile& file) override
    {
        if (!pool_) {
            SearchFileHere(file);
            return;
        }
        queue_.push_back({ pool_->Submit({ file.folder, std::string(file.name), file.displayPath }),
            file.displayPath, file.checkPath, std::nullopt });
        CommitWhatIsReady();
    }

    void OnFolderNotRead(const std::string& folderPath, const PlatformError& error) override
    {
        if (pool_) {
            queue_.push_back({ nullptr, folderPath, {}, error });
        } else {
            RunFrame::OnFolderNotRead(folderPath, error);
        }
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
        if (threads_.workers > 0) {
            pool_.emplace(Ports().platform.fileSystem, settings, threads_.workers);
        }
        if (threads_.workers == 0 || threads_.runReadsToo) {
            matcher_.emplace(settings);
        }
    }

    void AfterWalk() override
    {
        while (!queue_.empty() && !stopped_) {
            CommitHead(true);
        }
        CancelWhatIsLeft();
    }

    void WriteEnd(bool aborted) override { printer_.Summary(Writer(), Counters(), aborted); }

    void Conclude(RunResult& result) override
    {
        result.closingMessage = FilesSearchedMessage(
            result.aborted, result.counters.TotalFileCount, FoldersNotRead());
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
    // A file handed to the workers, or a folder that could not be listed, in walk order.
    struct Queued {
        std::unique_ptr<FileScanJob> job; // none for a folder not read
        std::string displayPath;
        std::string checkPath;
        std::optional<PlatformError> folderError;
    };

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

    void BeginFile(std::string_view displayPath, std::string_view checkPath)
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

    // A file that could not be opened is reported and counted with no lines, unless it is
    // gone since it was listed: that one is passed over silently, like any name that is no
    // file any more. A read that failed part way counts what came before it.
    void EndFile(const FileRead& read)
    {
        if (read.outcome == ReadOutcome::NotOpened) {
            if (IsGoneSinceListed(read.openError)) {
                return;
            }
            const std::string checkPath(printed_.checkPath);
            Ports().files.ReportOpenError(read.openError, checkPath);
            Ports().dialogs.MsgBox("Open error with\r\n" + checkPath);
        }
        if (!listsLines_) {
            printer_.FileCount(Writer(), printed_, fileMatchCount_);
        }
        RunCounters& counters = Counters();
        SetCounter(Ports().view, Counter::TotalFileCount, counters.TotalFileCount,
            counters.TotalFileCount + 1);
    }

    // Writes the files the workers are done with, oldest first. Once too many are under way
    // it waits until half of them are written: the walk then sleeps once per many files.
    void CommitWhatIsReady()
    {
        const std::size_t inFlight = kParallelTuning.filesInFlight;
        const bool full = queue_.size() >= inFlight;
        while (!queue_.empty() && !stopped_) {
            const bool wait = full && queue_.size() > inFlight / 2;
            if (!CommitHead(wait)) {
                return;
            }
        }
    }

    // Writes what the oldest entry holds so far, exactly as if its file were searched here:
    // the stop checks the worker recorded are asked again now. Returns true when the entry is
    // done; with `wait`, waits for that, letting the window handle its messages meanwhile.
    bool CommitHead(bool wait)
    {
        Queued& head = queue_.front();
        // The walk asks before every folder and every file.
        if (!headBegun_ && StopRequested()) {
            stopped_ = true;
            return false;
        }
        if (head.folderError) {
            RunFrame::OnFolderNotRead(head.displayPath, *head.folderError);
            queue_.pop_front();
            return true;
        }
        if (!headBegun_) {
            headBegun_ = true;
            atStopCheck_ = true;
            BeginFile(head.displayPath, head.checkPath);
        }
        if (wait) {
            pool_->HandOver();
        }
        bool sleep = wait && !threads_.runReadsToo;
        for (;;) {
            const bool done = head.job->Take(taken_, sleep ? kParallelTuning.frameSeconds : 0.0);
            bool stoppedHere = !taken_.Replay(*this, [this] { return StopRequested(); });
            if (!taken_.Empty()) {
                atStopCheck_ = taken_.EndsWithStopCheck();
            }
            // An abort while the worker reads on is heard at the last stop check written.
            stoppedHere = stoppedHere || (!done && atStopCheck_ && StopRequested());
            if (stoppedHere || done) {
                FinishHead(stoppedHere);
                return true;
            }
            if (!wait) {
                return false;
            }
            pool_->HandOver();
            if (threads_.runReadsToo && pool_->TakeBack(*head.job)) {
                head.job->ScanStraightInto(Ports().platform.fileSystem, *matcher_, *this,
                    [this] { return StopRequested(); });
                FinishHead(false);
                return true;
            }
            // Rather than sleep, the run's thread reads a file no worker has taken, where it
            // may.
            sleep = !(threads_.runReadsToo && pool_->ScanOneHere(*matcher_));
            if (sleep) {
                DoEventsOncePerFrame();
            }
        }
    }

    void DoEventsOncePerFrame()
    {
        const double now = Ports().platform.clock.MonotonicSeconds();
        if (now >= lastEvents_ + kParallelTuning.frameSeconds) {
            lastEvents_ = now;
            Ports().platform.events.DoEvents();
        }
    }

    void FinishHead(bool stoppedHere)
    {
        Queued& head = queue_.front();
        FileRead read;
        if (stoppedHere) {
            // Still under way: it is let go once the workers are.
            head.job->Cancel();
            abandoned_.push_back(std::move(head.job));
            if (matchOpen_) {
                EndMatch();
            }
        } else {
            if (head.job->Failure()) {
                std::rethrow_exception(head.job->Failure());
            }
            read = head.job->Outcome();
        }
        EndFile(read);
        queue_.pop_front();
        headBegun_ = false;
    }

    void CancelWhatIsLeft()
    {
        for (Queued& queued : queue_) {
            if (queued.job) {
                queued.job->Cancel();
            }
        }
        pool_.reset();
        queue_.clear();
        abandoned_.clear();
    }

    SearchPrinter& printer_;
    const bool listsLines_; // without counts only, the printers list matching lines
    std::optional<LineMatcher> matcher_;
    std::size_t rootLength_ = 0;
    PrintedFile printed_; // the file being written: its views are valid until the next
    std::int64_t fileMatchCount_ = 0;
    bool matchOpen_ = false;

    SearchThreads threads_;
    std::optional<FileScanPool> pool_;
    std::deque<Queued> queue_;
    ScanRecord taken_;
    std::vector<std::unique_ptr<FileScanJob>> abandoned_;
    bool headBegun_ = false;
    bool atStopCheck_ = false; // what was written of the oldest file ends at a stop check
    bool stopped_ = false;
    double lastEvents_ = 0.0;
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
