#include "core/searchrun/SearchRun.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunFrame.h"
#include "core/run/RunStart.h"
#include "core/run/RunTrailer.h"
#include "core/run/RunYields.h"
#include "core/search/LineMatcher.h"
#include "core/searchrun/FileScanPool.h"
#include "core/searchrun/SearchRecords.h"
#include "core/text/TextHelpers.h"
#include "core/text/TextTrim.h"
#include "core/walk/FolderWalk.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

// Reads one open file for the matcher; a stop request ends the file where it is.
class FileNumberSource : public ByteSource {
public:
    FileNumberSource(FileRoutines& files, std::int16_t fileNumber, WalkSteps& steps)
        : files_(files)
        , fileNumber_(fileNumber)
        , steps_(steps)
    {
    }
    std::ptrdiff_t Read(char* buffer, std::size_t size) override
    {
        return files_.ReadBytes(fileNumber_, buffer, size);
    }
    bool Stopped() override { return steps_.StopRequested(); }
    bool CanReadAt() const override { return true; }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override
    {
        return files_.ReadBytesAt(fileNumber_, offset, buffer, size);
    }

private:
    FileRoutines& files_;
    std::int16_t fileNumber_;
    WalkSteps& steps_;
};

std::size_t DecimalDigits(std::int64_t value)
{
    std::size_t digits = 1;
    for (; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

// Records in place of the results file's layout have no header.
RunShape SearchShape(bool writesRecords)
{
    RunShape shape;
    if (!writesRecords) {
        shape.headerSection = SectionId::SearchForString;
    }
    shape.animated = true;
    shape.countsMatches = true;
    return shape;
}

// The search in the run frame: the per-file step and the sink of its matches. Records, when
// given, are written into the results file through it.
class StringSearch : public RunFrame, public MatchSink, private RecordsOut {
public:
    StringSearch(RunPorts ports, SearchRecords* records, SearchThreads threads)
        : RunFrame(ports, SearchShape(records != nullptr))
        , records_(records)
        , threads_(threads)
    {
    }
    ~StringSearch() override { CancelWhatIsLeft(); }
    StringSearch(const StringSearch&) = delete;
    StringSearch& operator=(const StringSearch&) = delete;

    void BeforeName() override { Yields().TimedYield(); }

    void VisitFile(const WalkFile& file) override
    {
        if (pool_) {
            queue_.push_back({ pool_->Submit(file.folder, file.name, file.displayPath),
                file.displayPath, file.checkPath, std::nullopt });
            CommitWhatIsReady();
            return;
        }
        SearchFileHere(file);
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
        MainWindowPort& window = Ports().window;
        RunCounters& counters = Counters();
        const bool countsOnly = Options().CountsOnly;
        SetCounter(window, Counter::MatchCount, counters.MatchCount, counters.MatchCount + 1);
        if (++fileMatchCount_ == 1) {
            if (!countsOnly && records_ != nullptr) {
                records_->MatchingFile(*this, RecordFileOf(*currentPath_));
            } else if (!countsOnly) {
                Writer().Write("\r\n");
                Writer().WriteLine(RelativePath(*currentPath_));
                Writer().Write("\r\n");
            }
            SetCounter(window, Counter::FileFoundCount, counters.FileFoundCount,
                counters.FileFoundCount + 1);
        }
        if (!countsOnly && records_ != nullptr) {
            recordLineNumber_ = lineNumber;
            recordIsContinuation_ = isContinuation;
            recordText_.clear();
        } else if (!countsOnly) {
            WriteMatchLineStart(lineNumber, isContinuation);
        }
    }

    // A record takes its line whole: the parts of a long line are gathered first.
    void AppendToMatch(std::string_view part) override
    {
        if (!Options().CountsOnly && records_ != nullptr) {
            recordText_.append(part);
        } else if (!Options().CountsOnly) {
            Writer().Write(part);
        }
    }

    void EndMatch() override
    {
        matchOpen_ = false;
        if (!Options().CountsOnly && records_ != nullptr) {
            records_->MatchLine(*this, RecordFileOf(*currentPath_), recordLineNumber_, recordText_,
                recordIsContinuation_);
        } else if (!Options().CountsOnly) {
            Writer().Write("\r\n");
        }
    }

protected:
    bool RefusesInputs() override
    {
        if (!TrimBlanksIsEmpty(Options().SearchStr)) {
            return false;
        }
        Ports().dialogs.MsgBox("Search String must be specified!", MsgBoxCode::Exclamation);
        Ports().window.FocusInput(InputBox::SearchStr);
        return true;
    }

    void RecordHistories() override { RecordInputHistories(Ports().window, Options()); }

    // The inputs are read by now: the matcher is made for them.
    void WriteStart() override
    {
        const SearchOptions& options = Options();
        const MatchSettings settings { options.SearchStr, options.CaseSensitive,
            options.CollapseWhiteSpace, !options.CountsOnly };
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

    void WriteEnd(bool aborted) override
    {
        if (records_ != nullptr) {
            records_->Summary(*this, Counters(), aborted);
        } else {
            WriteTrailer(Ports().window, Writer(), aborted, Counters());
        }
    }

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
    // Files handed on before the run waits for the oldest.
    static constexpr std::size_t kFilesInFlight = 64;
    // How long the run waits for a file before the window handles its messages.
    static constexpr double kFrameSeconds = 1.0 / 60;

    void Write(std::string_view text) override { Writer().Write(text); }

    // The reference way: the file is read and matched here, between the walk's steps.
    void SearchFileHere(const WalkFile& file)
    {
        RunPorts& ports = Ports();
        BeginFile(file.displayPath);
        std::int16_t fileNumber = 0;
        PlatformError error = file.folder != nullptr
            ? ports.files.TryOpenListedFile(*file.folder, file.name, file.displayPath, fileNumber)
            : ports.files.TryOpenFile(file.displayPath, fileNumber, OpenType::SequentialInput, -1);
        if (IsGoneSinceListed(error)) {
            return; // passed over silently, like any name that is no file any more
        }
        if (error) {
            ReportOpenFailure(error, file.checkPath);
        } else {
            FileNumberSource source(ports.files, fileNumber, *this);
            matcher_->ScanFile(source, *this);
            PlatformError closeError;
            ports.files.Close(fileNumber, closeError);
        }
        EndFile(file.displayPath, file.checkPath);
    }

    void BeginFile(const std::string& displayPath)
    {
        currentPath_ = &displayPath;
        fileMatchCount_ = 0;
    }

    void ReportOpenFailure(const PlatformError& error, const std::string& checkPath)
    {
        Ports().files.ReportOpenError(error, checkPath);
        Ports().dialogs.MsgBox("Open error with\r\n" + checkPath);
    }

    void EndFile(const std::string& displayPath, const std::string& checkPath)
    {
        if (Options().CountsOnly && records_ != nullptr) {
            records_->FileCount(*this, RecordFileOf(displayPath), fileMatchCount_);
        } else if (Options().CountsOnly) {
            Writer().WriteLine(RJustify(std::to_string(fileMatchCount_), 8) + "  " + checkPath);
        }
        RunCounters& counters = Counters();
        SetCounter(Ports().window, Counter::TotalFileCount, counters.TotalFileCount,
            counters.TotalFileCount + 1);
    }

    // Writes the files the workers are done with, oldest first. Once too many are under way
    // it waits until half of them are written: the walk then sleeps once per many files.
    void CommitWhatIsReady()
    {
        const bool full = queue_.size() >= kFilesInFlight;
        while (!queue_.empty() && !stopped_) {
            const bool wait = full && queue_.size() > kFilesInFlight / 2;
            if (!CommitHead(wait)) {
                return;
            }
        }
    }

    // Writes what the oldest entry holds so far, exactly as if its file were searched here:
    // the stop checks the worker met are asked again now. Returns true when the entry is
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
            BeginFile(head.displayPath);
        }
        if (wait) {
            pool_->HandOver();
        }
        bool sleep = wait && !threads_.runReadsToo;
        for (;;) {
            const bool done = head.job->Take(taken_, sleep ? kFrameSeconds : 0.0);
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
        if (now >= lastEvents_ + kFrameSeconds) {
            lastEvents_ = now;
            Ports().platform.events.DoEvents();
        }
    }

    void FinishHead(bool stoppedHere)
    {
        Queued& head = queue_.front();
        if (stoppedHere) {
            // Still under way: it is let go once the workers are.
            head.job->Cancel();
            abandoned_.push_back(std::move(head.job));
            if (matchOpen_) {
                EndMatch();
            }
        } else if (head.job->Failure()) {
            std::rethrow_exception(head.job->Failure());
        }
        const PlatformError error = stoppedHere ? PlatformError {} : head.job->OpenError();
        if (!IsGoneSinceListed(error)) {
            if (error) {
                ReportOpenFailure(error, head.checkPath);
            }
            EndFile(head.displayPath, head.checkPath);
        }
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

    RecordFile RecordFileOf(const std::string& displayPath) const
    {
        std::string_view relative = RelativePath(displayPath);
        if (!relative.empty() && relative.front() == '/') {
            relative.remove_prefix(1);
        }
        return { displayPath, relative };
    }

    static bool IsGoneSinceListed(const PlatformError& error)
    {
        return error.number == ErrorNumber::FileNotFound
            || error.number == ErrorNumber::PathNotFound;
    }

    std::string_view RelativePath(const std::string& displayPath) const
    {
        return std::string_view(displayPath)
            .substr(std::min(RootLengthInPaths(Options().RootFolder), displayPath.size()));
    }

    void WriteMatchLineStart(std::int64_t lineNumber, bool isContinuation)
    {
        ResultsWriter& writer = Writer();
        writer.Write("\t");
        if (isContinuation) {
            writer.Write(std::string(DecimalDigits(lineNumber) + 1, ' '));
        } else {
            writer.Write(std::to_string(lineNumber));
            writer.Write(":");
        }
        writer.Write("\t");
    }

    SearchRecords* records_;
    std::int64_t recordLineNumber_ = 0;
    bool recordIsContinuation_ = false;
    std::string recordText_;
    std::optional<LineMatcher> matcher_;
    const std::string* currentPath_ = nullptr;
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

RunResult RunStringSearch(RunPorts ports)
{
    return RunStringSearch(ports, nullptr);
}

RunResult RunStringSearch(RunPorts ports, SearchRecords* records)
{
    return RunStringSearch(ports, records, SearchThreads {});
}

RunResult RunStringSearch(RunPorts ports, SearchRecords* records, SearchThreads threads)
{
    StringSearch search(ports, records, threads);
    return search.Run();
}

} // namespace trawlit
