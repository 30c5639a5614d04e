#include "core/search/PartwisePiece.h"

#include <algorithm>

namespace trawlit {

namespace {

bool IsCollapsible(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

PartwisePiece::PartwisePiece(const MatchSettings& settings)
    : matcher_(settings)
    , collapse_(settings.collapseWhiteSpace)
    // Room for the text however case folding may stretch it.
    , carryLength_(4 * settings.findText.size() + 4)
{
}

void PartwisePiece::Start(bool tested, bool collapsedTail)
{
    testing_ = tested;
    holds_ = !tested;
    collapsedTail_ = collapsedTail;
    endsInUnderscore_ = false;
    carry_.clear();
}

void PartwisePiece::Feed(std::string_view part)
{
    if (testing_ && !holds_) {
        joined_.assign(carry_).append(part);
        holds_ = matcher_.Holds(joined_);
        KeepTail(joined_);
    }
    NoteEnd(part);
}

// The end of what was seen, with every run of white space cut to one blank when collapsing:
// the collapsed carry then reads the same as the collapsed bytes it stands for.
void PartwisePiece::KeepTail(std::string_view seen)
{
    std::string reversed;
    bool inRun = false;
    for (std::size_t at = seen.size(); at > 0 && reversed.size() < carryLength_; --at) {
        const char c = seen[at - 1];
        const bool run = collapse_ && IsCollapsible(c);
        if (!(run && inRun))
            reversed.push_back(run ? ' ' : c);
        inRun = run;
    }
    carry_.assign(reversed.rbegin(), reversed.rend());
}

void PartwisePiece::NoteEnd(std::string_view part)
{
    for (std::size_t at = part.size(); at > 0; --at) {
        const char c = part[at - 1];
        if (!(collapsedTail_ ? IsCollapsible(c) : c == ' ')) {
            endsInUnderscore_ = c == '_';
            return;
        }
    }
}

} // namespace trawlit
