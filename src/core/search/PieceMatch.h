#pragma once

#include "core/search/LineMatcher.h"

#include <string>
#include <string_view>

namespace trawlit {

// The exact tests on one piece: does it hold the text, does a match continue on the next
// piece. Keeps one reused buffer for collapsed pieces, so testing never allocates once warm.
class PieceMatcher {
public:
    explicit PieceMatcher(const MatchSettings& settings);

    // Whether the text occurs at `start` as read (a line end never occurs in the text here).
    bool OccursAt(const char* start) const;

    // Whether the piece holds the text, after collapsing white space when asked. A text
    // beyond ASCII is looked for in the piece read as text, with case folded when ignored.
    bool Holds(std::string_view piece);

    // Whether a match in this piece makes the next piece its continuation: the piece, trimmed
    // of blanks, ends in "_". `collapsed` judges the piece as white space collapsing leaves it.
    static bool Continues(std::string_view piece, bool collapsed);

private:
    bool HoldsAsText(std::string_view piece);
    void Collapse(std::string_view piece, bool fold);

    std::string text_; // folded when case is ignored
    bool caseSensitive_;
    bool collapse_;
    bool asText_;
    std::string scratch_;
    std::string decoded_;
    std::string folded_;
};

} // namespace trawlit
