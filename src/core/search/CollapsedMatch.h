#pragma once

#include "core/search/LineMatcher.h"

#include <cstddef>
#include <string>

namespace trawlit {

// Decides, where a blank-free part of the text occurs in the bytes as read, whether the
// collapsed piece holds the whole text there, without collapsing anything: each blank of the
// text stands for one whole run of bytes up to 32 within the piece.
class CollapsedMatch {
public:
    enum class Verdict { Holds, DoesNotHold, Undecided };

    // `partBegin`: where the probed part starts in the text.
    CollapsedMatch(const MatchSettings& settings, std::size_t partBegin);

    // `data` starts at a piece start; the part occurs at `partAt`. Undecided when the answer
    // depends on bytes after `size` that are still to come.
    Verdict At(const char* data, std::size_t size, std::size_t partAt, bool atEnd) const;

private:
    bool MatchesLeft(const char* data, std::size_t partAt) const;
    Verdict MatchesRight(const char* data, std::size_t size, std::size_t partAt, bool atEnd) const;
    bool Same(char read, char wanted) const;

    std::string text_; // lower case when case is ignored
    std::size_t partBegin_;
    bool caseSensitive_;
};

} // namespace trawlit
