#pragma once

#include "core/search/LineMatcher.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace trawlit::test {

struct ReportedMatch {
    std::int64_t lineNumber = 0;
    std::string piece;
    bool isContinuation = false;

    bool operator==(const ReportedMatch&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ReportedMatch& match);

// The matches of a whole file, found the slow and plain way: one line at a time, each read as
// text and folded whole.
std::vector<ReportedMatch> ReferenceMatches(std::string_view file, const MatchSettings& settings);

} // namespace trawlit::test
