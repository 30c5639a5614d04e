#pragma once

#include "core/search/LineMatcher.h"
#include "core/search/NeedlePlan.h"
#include "core/search/PieceMatch.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace trawlit {

// The tests of one piece that arrives in parts because it is too long to hold: does it hold
// the text, and does a match in it continue on the next piece. Keeps only the last few bytes
// seen, enough for the text to straddle two parts.
class PartwisePiece {
public:
    PartwisePiece(const MatchSettings& settings, const NeedlePlan& plan);

    // `tested`: whether the piece still has to be tested; `collapsedTail`: whether its end is
    // judged as white space collapsing leaves it.
    void Start(bool tested, bool collapsedTail);
    void Feed(std::string_view part);

    bool Holds() const { return holds_; }
    bool Continues() const { return endsInUnderscore_; }

private:
    bool Finds(std::string_view text);
    void KeepTail(std::string_view seen);
    void NoteEnd(std::string_view part);

    PieceMatcher matcher_;
    NeedlePlan plan_;
    bool collapse_;
    std::size_t carryLength_;
    std::string carry_;
    std::string joined_;
    bool testing_ = false;
    bool holds_ = false;
    bool collapsedTail_ = false;
    bool endsInUnderscore_ = false;
};

} // namespace trawlit
