#pragma once

#include <string>

#include "core/formats/SearchPrinter.h"

namespace trawlit {

// One JSON object per line (LF), UTF-8: "file" before a file's first match, "match" and
// "continuation" for the lines the results file lists, "count" per file with counts only, and
// a "cut" after a file read only part way, and a closing "summary". Each record names its
// file by "path" (below the root) and "absolute". A line longer than kHeldLineBytes is written
// as it comes: its text then shows bad bytes as U+FFFD and, in place of the exact bytes,
// says "text_exact":false.
class JsonLinesRecords : public SearchPrinter {
public:
    static constexpr std::size_t kHeldLineBytes = 1024 * 1024;

    // `workingFolder` makes the paths of a root given relatively absolute.
    explicit JsonLinesRecords(std::string workingFolder);

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
    void StartStreaming(TextOut& out);
    void StartRecord(std::string_view type, const PrintedFile* file);
    const std::string& PathFields(const PrintedFile& file);
    void AppendNumber(std::string_view name, std::int64_t value);
    void EndRecord(TextOut& out);

    std::string workingFolder_;
    std::string record_; // reused: one allocation for the whole run
    std::string pathsOf_; // the display path whose fields pathFields_ holds
    std::string pathFields_;
    // The line being listed: held until it ends, or until it outgrows kHeldLineBytes.
    std::string text_;
    bool streaming_ = false;
    bool streamedExact_ = true;
    std::string pending_; // a UTF-8 sequence cut between two parts
};

// `displayPath` when it is absolute (or the working folder unknown), else `workingFolder` + "/" +
// it, leading "./" dropped.
std::string AbsoluteDisplayPath(std::string_view displayPath, std::string_view workingFolder);

} // namespace trawlit
