#include "core/search/PartwisePiece.h"

#include <cstdint>
#include <cstring>

namespace trawlit {

namespace {

constexpr std::uint64_t kLowBits = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

bool IsBlank(char c, bool anyWhite)
{
    return anyWhite ? static_cast<unsigned char>(c) <= ' ' : c == ' ';
}

// Where the run of blanks (any byte up to 32 when `anyWhite`) ending at `end` starts. A long
// run is skipped eight bytes at a time: a file of zero bytes is one such run.
std::size_t StartOfBlanks(std::string_view text, std::size_t end, bool anyWhite)
{
    while (end >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + end - 8, 8);
        const bool allBlank = anyWhite ? (((word + kLowBits * (127 - ' ')) | word) & kHighBits) == 0
                                       : word == kLowBits * ' ';
        if (!allBlank)
            break;
        end -= 8;
    }
    while (end > 0 && IsBlank(text[end - 1], anyWhite))
        --end;
    return end;
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
    std::size_t at = seen.size();
    while (at > 0 && reversed.size() < carryLength_) {
        if (collapse_ && IsBlank(seen[at - 1], true)) {
            reversed.push_back(' ');
            at = StartOfBlanks(seen, at, true);
            continue;
        }
        reversed.push_back(seen[--at]);
    }
    carry_.assign(reversed.rbegin(), reversed.rend());
}

void PartwisePiece::NoteEnd(std::string_view part)
{
    const std::size_t end = StartOfBlanks(part, part.size(), collapsedTail_);
    if (end != 0)
        endsInUnderscore_ = part[end - 1] == '_';
}

} // namespace trawlit
