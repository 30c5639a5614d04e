#pragma once

#include "core/search/ByteScan.h"
#include "core/search/LineMatcher.h"

#include <cstddef>

namespace trawlit {

// How the line matcher looks for a text.
enum class NeedleStrategy {
    NeverMatches, // no piece can hold it (a line end in it, or white space collapsing rules it out)
    RawProbe, // probe finds where the whole text may start; a byte compare decides
    TokenProbe, // probe finds a blank-free part of the text; the piece around it is collapsed and
                // tested
    TextProbe, // a text beyond ASCII: probe finds where a form of it may be; the piece around
               // it is read as text and tested
    EveryPiece, // nothing to probe for: every piece is tested
};

struct NeedlePlan {
    NeedleStrategy strategy = NeedleStrategy::NeverMatches;
    bytescan::PairProbe probe;
    bool probesSets = false; // the probe is `sets`, not `probe`
    bytescan::SetProbe sets;
    std::size_t partBegin = 0; // where the probed part starts in the text
    std::size_t window = 0; // bytes probed from a candidate's start
    std::size_t partOffset = 0; // where the probed part starts after a candidate's start
};

// A text beyond ASCII must be valid UTF-8 by now.
NeedlePlan PlanNeedle(const MatchSettings& settings);

} // namespace trawlit
