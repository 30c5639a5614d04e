#pragma once

#include <functional>
#include <string>

#include "core/formats/SearchPrinter.h"

namespace trawlit {

// The lines editors and terminals open at the named line (LF line ends, text as read):
// PATH:LINE:TEXT for a match, PATH-LINE-TEXT for a continuation line, PATH:COUNT with counts
// only. PATH is the file as walked, so a root given relatively stays relative to where the
// search ran. A line is written as it comes, however long. A cut file is told beside the
// lines, as grep tells its errors: "PATH: (not read in full: why)" goes to `note`.
class GrepRecords : public SearchPrinter {
public:
    using Note = std::function<void(const std::string&)>;
    explicit GrepRecords(Note note = {});

    void MatchingFile(TextOut&, const PrintedFile&) override { }
    void BeginLine(TextOut& out, const PrintedFile& file, std::int64_t lineNumber,
        bool isContinuation) override;
    void LineText(TextOut& out, std::string_view part) override;
    void EndLine(TextOut& out) override;
    void FileCount(TextOut& out, const PrintedFile& file, std::int64_t count) override;
    void FileCut(TextOut& out, const PrintedFile& file, std::string_view why) override;
    void Summary(TextOut&, const RunCounters&, bool, std::int64_t) override { }

private:
    Note note_;
    std::string line_; // reused: one allocation for the whole run
};

} // namespace trawlit
