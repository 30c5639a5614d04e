#pragma once

#include <string>

#include "core/searchrun/SearchRecords.h"

namespace trawlit {

// The lines editors and terminals open at the named line (LF line ends, text as read):
// PATH:LINE:TEXT for a match, PATH-LINE-TEXT for a continuation line, PATH:COUNT with counts
// only. PATH is the file as walked, so a root given relatively stays relative to where the
// search ran.
class GrepRecords : public SearchRecords {
public:
    void MatchingFile(RecordsOut&, const RecordFile&) override { }
    void MatchLine(RecordsOut& out, const RecordFile& file, std::int64_t lineNumber,
        std::string_view text, bool isContinuation) override;
    void FileCount(RecordsOut& out, const RecordFile& file, std::int64_t count) override;
    void Summary(RecordsOut&, const RunCounters&, bool) override { }

private:
    std::string line_; // reused: one allocation for the whole run
};

} // namespace trawlit
