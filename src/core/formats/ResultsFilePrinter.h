#pragma once

#include "core/formats/SearchPrinter.h"

namespace trawlit {

// The results file's own layout: the header, then for each matching file an empty line, its
// path below the root and an empty line, and its lines as TAB, number, ":", TAB, text (a
// continuation line with blanks for the number); with counts only, one line per file, its count
// right-justified in 8 and its CheckPath; then the totals. Lines end in CR LF. A cut file's
// lines or count are followed by "(not read in full: why)", indented as they are.
class ResultsFilePrinter : public SearchPrinter {
public:
    void Begin(TextOut& out, const SearchOptions& shown, const LocalDateTime& now) override;
    void MatchingFile(TextOut& out, const PrintedFile& file) override;
    void BeginLine(TextOut& out, const PrintedFile& file, std::int64_t lineNumber,
        bool isContinuation) override;
    void LineText(TextOut& out, std::string_view part) override;
    void EndLine(TextOut& out) override;
    void FileCount(TextOut& out, const PrintedFile& file, std::int64_t count) override;
    void FileCut(TextOut& out, const PrintedFile& file, std::string_view why) override;
    void Summary(TextOut& out, const RunCounters& counters, bool aborted,
        std::int64_t filesNotRead) override;

private:
    bool countsOnly_ = false;
};

} // namespace trawlit
