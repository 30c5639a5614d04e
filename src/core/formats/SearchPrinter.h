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
// before it ended in "_". A file read only part way (a read failed, or the abort came inside
// it) brings FileCut after all that was found in it, so that no format shows it as whole.
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
    // `why`: "PROCESS WAS ABORTED", or the failed read's error ("Device I/O error").
    virtual void FileCut(TextOut& out, const PrintedFile& file, std::string_view why) = 0;
    // Once, after the walk ended or was aborted. `filesNotRead`: the files that could not be
    // opened or read to their end.
    virtual void Summary(
        TextOut& out, const RunCounters& counters, bool aborted, std::int64_t filesNotRead)
        = 0;
};

// The words every format marks a cut file with: "not read in full: " and why.
std::string NotReadInFull(std::string_view why);

} // namespace trawlit
