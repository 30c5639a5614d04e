#pragma once

#include <string>

#include "core/formats/SearchPrinter.h"

namespace trawlit {

// The lines editors and terminals open at the named line (LF line ends, text as read):
// PATH:LINE:TEXT for a match, PATH-LINE-TEXT for a continuation line, PATH:COUNT with counts
// only. PATH is the file as walked, so a root given relatively stays relative to where the
// search ran.
class GrepRecords : public WholeLinePrinter {
public:
    void MatchingFile(TextOut&, const PrintedFile&) override { }
    void MatchLine(TextOut& out, const PrintedFile& file, std::int64_t lineNumber,
        std::string_view text, bool isContinuation) override;
    void FileCount(TextOut& out, const PrintedFile& file, std::int64_t count) override;
    void Summary(TextOut&, const RunCounters&, bool) override { }

private:
    std::string line_; // reused: one allocation for the whole run
};

} // namespace trawlit
