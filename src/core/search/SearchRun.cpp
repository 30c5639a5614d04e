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
#include "core/search/SearchRecords.h"
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
        return steps_.StopRequested() ? 0 : files_.ReadBytes(fileNumber_, buffer, size);
    }
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
    StringSearch(RunPorts ports, SearchRecords* records)
        : RunFrame(ports, SearchShape(records != nullptr))
        , records_(records)
    {
    }

    void BeforeName() override { Yields().TimedYield(); }

    void VisitFile(const WalkFile& file) override
    {
        RunPorts& ports = Ports();
        current_ = &file;
        fileMatchCount_ = 0;
        std::int16_t fileNumber = 0;
        PlatformError error = file.folder != nullptr
            ? ports.files.TryOpenListedFile(*file.folder, file.name, file.displayPath, fileNumber)
            : ports.files.TryOpenFile(file.displayPath, fileNumber, OpenType::SequentialInput, -1);
        if (IsGoneSinceListed(error)) {
            return; // passed over silently, like any name that is no file any more
        }
        if (error) {
            ports.files.ReportOpenError(error, file.checkPath);
            ports.dialogs.MsgBox("Open error with\r\n" + file.checkPath);
        } else {
            FileNumberSource source(ports.files, fileNumber, *this);
            matcher_->ScanFile(source, *this);
            PlatformError closeError;
            ports.files.Close(fileNumber, closeError);
        }
        if (Options().CountsOnly && records_ != nullptr) {
            records_->FileCount(*this, RecordFileOf(file), fileMatchCount_);
        } else if (Options().CountsOnly) {
            Writer().WriteLine(
                RJustify(std::to_string(fileMatchCount_), 8) + "  " + file.checkPath);
        }
        RunCounters& counters = Counters();
        SetCounter(ports.window, Counter::TotalFileCount, counters.TotalFileCount,
            counters.TotalFileCount + 1);
    }

    void BeginMatch(std::int64_t lineNumber, bool isContinuation) override
    {
        MainWindowPort& window = Ports().window;
        RunCounters& counters = Counters();
        const bool countsOnly = Options().CountsOnly;
        SetCounter(window, Counter::MatchCount, counters.MatchCount, counters.MatchCount + 1);
        if (++fileMatchCount_ == 1) {
            if (!countsOnly && records_ != nullptr) {
                records_->MatchingFile(*this, RecordFileOf(*current_));
            } else if (!countsOnly) {
                Writer().Write("\r\n");
                Writer().WriteLine(RelativePath(current_->displayPath));
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
        if (!Options().CountsOnly && records_ != nullptr) {
            records_->MatchLine(*this, RecordFileOf(*current_), recordLineNumber_, recordText_,
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
        matcher_.emplace(MatchSettings { options.SearchStr, options.CaseSensitive,
            options.CollapseWhiteSpace, !options.CountsOnly });
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
    void Write(std::string_view text) override { Writer().Write(text); }

    RecordFile RecordFileOf(const WalkFile& file) const
    {
        std::string_view relative = RelativePath(file.displayPath);
        if (!relative.empty() && relative.front() == '/') {
            relative.remove_prefix(1);
        }
        return { file.displayPath, relative };
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
    const WalkFile* current_ = nullptr;
    std::int64_t fileMatchCount_ = 0;
};

} // namespace

RunResult RunStringSearch(RunPorts ports)
{
    return RunStringSearch(ports, nullptr);
}

RunResult RunStringSearch(RunPorts ports, SearchRecords* records)
{
    StringSearch search(ports, records);
    return search.Run();
}

} // namespace trawlit
