#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/run/ResultsWriter.h"
#include "ports/Clock.h"
#include "ports/SearchOptions.h"

namespace trawlit {

// A file the search found something in (or counted), named every way a printer may want.
struct PrintedFile {
    std::string_view displayPath; // as walked: root as given + the rest
    std::string_view belowRoot; // the display path less the root's text: "/sub/a.txt"
    std::string_view relativePath; // below the root, without a leading separator
    std::string_view checkPath; // the display path with its name upper-cased
};

// What a search finds, in the walk's order. The search hands every printer the same events and
// never asks which one listens; a printer writes its own format through `out`. Without counts
// only, a file's first match brings MatchingFile and each listed line BeginLine, LineText (its
// text as read, in one or more parts) and EndLine; with counts only, every file searched
// brings FileCount instead. A continuation line is listed without a test because the line
// before it ended in "_".
class SearchPrinter {
public:
    virtual ~SearchPrinter() = default;
    // Before the walk; `shown` is what the header names.
    virtual void Begin(TextOut& out, const SearchOptions& shown, const LocalDateTime& now)
    {
        (void)out;
        (void)shown;
        (void)now;
    }
    virtual void MatchingFile(TextOut& out, const PrintedFile& file) = 0;
    virtual void BeginLine(
        TextOut& out, const PrintedFile& file, std::int64_t lineNumber, bool isContinuation)
        = 0;
    virtual void LineText(TextOut& out, std::string_view part) = 0;
    virtual void EndLine(TextOut& out) = 0;
    virtual void FileCount(TextOut& out, const PrintedFile& file, std::int64_t count) = 0;
    // Once, after the walk ended or was aborted.
    virtual void Summary(TextOut& out, const RunCounters& counters, bool aborted) = 0;
};

// A printer of records that take a line whole: its parts are gathered first.
class WholeLinePrinter : public SearchPrinter {
public:
    void BeginLine(
        TextOut& out, const PrintedFile& file, std::int64_t lineNumber, bool isContinuation) final;
    void LineText(TextOut& out, std::string_view part) final;
    void EndLine(TextOut& out) final;

protected:
    virtual void MatchLine(TextOut& out, const PrintedFile& file, std::int64_t lineNumber,
        std::string_view text, bool isContinuation)
        = 0;

private:
    PrintedFile file_;
    std::int64_t lineNumber_ = 0;
    bool isContinuation_ = false;
    std::string text_; // reused: one allocation for the whole run
};

} // namespace trawlit
