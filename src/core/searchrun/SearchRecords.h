#pragma once

#include <cstdint>
#include <string_view>

#include "ports/SearchOptions.h"

namespace trawlit {

// Where a records format writes its text: the run's output file.
class RecordsOut {
public:
    virtual ~RecordsOut() = default;
    virtual void Write(std::string_view text) = 0;
};

// A file the search found something in (or counted), as records name it.
struct RecordFile {
    std::string_view displayPath; // as walked: root as given + the rest
    std::string_view relativePath; // below the root, without a leading separator
};

// What a search finds, in the walk's order, for a format other than the results file's own
// layout. Given one, the search writes no header, body or trailer: only what these write.
class SearchRecords {
public:
    virtual ~SearchRecords() = default;
    // Once per file, before its first match (never with counts only).
    virtual void MatchingFile(RecordsOut& out, const RecordFile& file) = 0;
    // Every line the results file would list, `text` as read; a continuation line is taken
    // without a test because the line before it ended in "_".
    virtual void MatchLine(RecordsOut& out, const RecordFile& file, std::int64_t lineNumber,
        std::string_view text, bool isContinuation)
        = 0;
    // With counts only: every file searched, matching or not.
    virtual void FileCount(RecordsOut& out, const RecordFile& file, std::int64_t count) = 0;
    // Once, after the walk ended or was aborted.
    virtual void Summary(RecordsOut& out, const RunCounters& counters, bool aborted) = 0;
};

} // namespace trawlit
