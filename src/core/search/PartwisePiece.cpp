#include "core/search/PartwisePiece.h"

#include <algorithm>

namespace trawlit {

namespace {

bool IsCollapsible(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

PartwisePiece::PartwisePiece(const MatchSettings& settings, const NeedlePlan& plan)
    : matcher_(settings)
    , plan_(plan)
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
        holds_ = Finds(joined_);
        KeepTail(joined_);
    }
    NoteEnd(part);
}

// A text probed as read is found the fast way, as in short lines.
bool PartwisePiece::Finds(std::string_view text)
{
    if (plan_.strategy != NeedleStrategy::RawProbe)
        return matcher_.Holds(text);
    if (text.size() < plan_.window)
        return false;
    const char* candidatesEnd = text.data() + (text.size() - plan_.window + 1);
    for (const char* from = text.data(); from < candidatesEnd;) {
        const char* hit = bytescan::FindProbe(from, candidatesEnd, plan_.probe);
        if (hit == nullptr)
            return false;
        if (matcher_.OccursAt(hit))
            return true;
        from = hit + 1;
    }
    return false;
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
