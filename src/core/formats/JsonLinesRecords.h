#pragma once

#include <string>

#include "core/formats/SearchPrinter.h"

namespace trawlit {

// One JSON object per line (LF), UTF-8: "file" before a file's first match, "match" and
// "continuation" for the lines the results file lists, "count" per file with counts only, and
// a closing "summary". Each record names its file by "path" (below the root) and "absolute".
class JsonLinesRecords : public WholeLinePrinter {
public:
    // `workingFolder` makes the paths of a root given relatively absolute.
    explicit JsonLinesRecords(std::string workingFolder);

    void MatchingFile(TextOut& out, const PrintedFile& file) override;
    void MatchLine(TextOut& out, const PrintedFile& file, std::int64_t lineNumber,
        std::string_view text, bool isContinuation) override;
    void FileCount(TextOut& out, const PrintedFile& file, std::int64_t count) override;
    void Summary(TextOut& out, const RunCounters& counters, bool aborted) override;

private:
    void StartRecord(std::string_view type, const PrintedFile* file);
    const std::string& PathFields(const PrintedFile& file);
    void AppendNumber(std::string_view name, std::int64_t value);
    void EndRecord(TextOut& out);

    std::string workingFolder_;
    std::string record_; // reused: one allocation for the whole run
    std::string pathsOf_; // the display path whose fields pathFields_ holds
    std::string pathFields_;
};

// `displayPath` when it is absolute (or the working folder unknown), else `workingFolder` + "/" +
// it, leading "./" dropped.
std::string AbsoluteDisplayPath(std::string_view displayPath, std::string_view workingFolder);

} // namespace trawlit
