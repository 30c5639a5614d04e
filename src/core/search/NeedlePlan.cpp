#include "core/search/NeedlePlan.h"

#include "core/text/AsciiCase.h"
#include "core/text/CaseFold.h"
#include "core/text/TextDecode.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trawlit {

namespace {

// Printable bytes of typical source text, most frequent first. Bytes not listed (control
// characters, bytes of 128 and above) are taken as the rarest.
constexpr std::string_view kCommonFirst = " etnsiroa_lcdpuSETmRhfNIAO(),;*=LCgbxyD0\n1/"
                                          "MP.FvGkUBw2-H\t3>:\"#<{}W4KV85X96z'&[]7Y+!qjQJZ|%"
                                          "\\?@~^$`";

constexpr std::array<int, 256> BuildCommonness()
{
    std::array<int, 256> commonness {};
    const auto count = static_cast<int>(kCommonFirst.size());
    for (int rank = 0; rank < count; ++rank)
        commonness[static_cast<unsigned char>(kCommonFirst[static_cast<std::size_t>(rank)])]
            = count - rank;
    return commonness;
}

constexpr std::array<int, 256> kCommonness = BuildCommonness();

int Commonness(unsigned char c, bool caseSensitive)
{
    if (caseSensitive || !IsAsciiLetter(static_cast<char>(c)))
        return kCommonness[c];
    const auto lower = static_cast<unsigned char>(c | 0x20);
    const auto upper = static_cast<unsigned char>(c & ~0x20);
    return kCommonness[lower] > kCommonness[upper] ? kCommonness[lower] : kCommonness[upper];
}

// The least common byte in [begin, end) of `text`, skipping `excluded`; a byte equal to
// `avoidValue` counts as common so that a pair probes two different values when it can.
std::size_t RarestOffset(std::string_view text, std::size_t begin, std::size_t end,
    std::size_t excluded, bool caseSensitive, int avoidValue)
{
    std::size_t best = end;
    int bestScore = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (i == excluded)
            continue;
        const auto c = static_cast<unsigned char>(text[i]);
        const int score = Commonness(c, caseSensitive) + (c == avoidValue ? 1000 : 0);
        if (best == end || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

void ProbeByte(unsigned char c, bool caseSensitive, unsigned char& byte, unsigned char& fold)
{
    const bool folded = !caseSensitive && IsAsciiLetter(static_cast<char>(c));
    byte = folded ? static_cast<unsigned char>(c | 0x20) : c;
    fold = folded ? 0x20 : 0;
}

// A probe of the two rarest bytes of text[begin, begin + length), offsets counted from begin.
NeedlePlan ProbePlan(NeedleStrategy strategy, std::string_view text, std::size_t begin,
    std::size_t length, bool caseSensitive)
{
    const std::size_t end = begin + length;
    const std::size_t first = RarestOffset(text, begin, end, end, caseSensitive, -1);
    std::size_t second = RarestOffset(
        text, begin, end, first, caseSensitive, static_cast<unsigned char>(text[first]));
    if (second == end)
        second = first;
    NeedlePlan plan;
    plan.strategy = strategy;
    plan.partBegin = begin;
    plan.window = length;
    plan.probe.firstOffset = first - begin;
    plan.probe.secondOffset = second - begin;
    ProbeByte(static_cast<unsigned char>(text[first]), caseSensitive, plan.probe.firstByte,
        plan.probe.firstFold);
    ProbeByte(static_cast<unsigned char>(text[second]), caseSensitive, plan.probe.secondByte,
        plan.probe.secondFold);
    return plan;
}

bool HoldsLineEnd(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A collapsed piece has no byte below 32 and no two blanks in a row.
bool CollapsedPieceCannotHold(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < ' ' || (c == ' ' && i > 0 && text[i - 1] == ' '))
            return true;
    }
    return false;
}

// The blank-free part of `text` that holds its rarest non-blank byte.
void RarestToken(std::string_view text, bool caseSensitive, std::size_t& begin, std::size_t& length)
{
    std::size_t rarest = text.size();
    int rarestScore = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ' ')
            continue;
        if (rarest == text.size() || Commonness(c, caseSensitive) < rarestScore) {
            rarest = i;
            rarestScore = Commonness(c, caseSensitive);
        }
    }
    if (rarest == text.size()) {
        begin = length = 0;
        return;
    }
    const std::size_t blankBefore = text.rfind(' ', rarest);
    begin = blankBefore == std::string_view::npos ? 0 : blankBefore + 1;
    const std::size_t blankAfter = text.find(' ', rarest);
    length = (blankAfter == std::string_view::npos ? text.size() : blankAfter) - begin;
}

// A one-byte part alone is a weak probe; the run of white space its blank neighbour in the
// text stands for starts (or ends) right beside it.
void PairWithWhiteNeighbour(std::string_view text, NeedlePlan& plan)
{
    const bool blankBefore = plan.partBegin > 0;
    const bool blankAfter = plan.partBegin + 1 < text.size();
    if (!blankBefore && !blankAfter)
        return;
    plan.window = 2;
    plan.partOffset = blankBefore ? 1 : 0;
    plan.probe.firstOffset = plan.partOffset;
    plan.probe.secondOffset = 1 - plan.partOffset;
    plan.probe.secondIsWhite = true;
}

NeedlePlan StrategyOnly(NeedleStrategy strategy)
{
    NeedlePlan plan;
    plan.strategy = strategy;
    return plan;
}

bool AddByte(unsigned char byte, bytescan::ByteSet& set)
{
    for (std::size_t i = 0; i < set.count; ++i) {
        if (set.bytes[i] == byte)
            return true;
    }
    if (set.count == bytescan::ByteSet::kMaxCount)
        return false;
    set.bytes[set.count++] = byte;
    return true;
}

// The bytes one of which every form of a character in a file holds: the last byte of the
// UTF-8 of each of its case variants, and its Windows-1252 byte. False when they are too many.
bool CharacterBytes(char32_t character, bool caseSensitive, bytescan::ByteSet& set)
{
    const std::vector<char32_t> variants
        = caseSensitive ? std::vector<char32_t> { character } : CaseVariants(character);
    set = {};
    std::string utf8;
    for (const char32_t variant : variants) {
        utf8.clear();
        AppendUtf8(variant, utf8);
        if (!AddByte(static_cast<unsigned char>(utf8.back()), set))
            return false;
        const auto single = CodePointToWindows1252(variant);
        if (single && !AddByte(*single, set))
            return false;
    }
    return true;
}

bool SameLengthVariants(char32_t character, bool caseSensitive)
{
    if (caseSensitive)
        return true;
    std::string utf8;
    AppendUtf8(character, utf8);
    const std::size_t length = utf8.size();
    for (const char32_t variant : CaseVariants(character)) {
        utf8.clear();
        AppendUtf8(variant, utf8);
        if (utf8.size() != length)
            return false;
    }
    return true;
}

// Of the characters beyond ASCII, the one with the fewest bytes to probe for.
bool RarestCharacterBytes(std::string_view text, bool caseSensitive, bytescan::ByteSet& best)
{
    bool found = false;
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t character = 0;
        std::size_t length = 1;
        DecodeUtf8At(text, at, character, length);
        bytescan::ByteSet set;
        if (character >= 0x80 && CharacterBytes(character, caseSensitive, set)
            && (!found || set.count < best.count)) {
            best = set;
            found = true;
        }
        at += length;
    }
    return found;
}

// Where no line can hold the text as Windows-1252, two characters in a row make a far stronger
// probe: the last byte of the first, and that of the second when all its variants are as long.
bool CharacterPairBytes(std::string_view text, bool caseSensitive, NeedlePlan& plan)
{
    std::size_t at = 0;
    char32_t previous = 0;
    while (at < text.size()) {
        char32_t character = 0;
        std::size_t length = 1;
        DecodeUtf8At(text, at, character, length);
        at += length;
        const char32_t first = std::exchange(previous, character);
        if (first < 0x80 || character < 0x80 || !SameLengthVariants(character, caseSensitive))
            continue;
        bytescan::SetProbe sets;
        if (CharacterBytes(first, caseSensitive, sets.first)
            && CharacterBytes(character, caseSensitive, sets.second)) {
            sets.secondOffset = length;
            plan.sets = sets;
            return true;
        }
    }
    return false;
}

// Whether a Windows-1252 line can hold the text: with case ignored, a character stands there
// in any of its case forms (U+03BC "μ" as the byte of its partner U+00B5 "µ").
bool HasWindows1252Form(std::string_view text, bool caseSensitive)
{
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t character = 0;
        std::size_t length = 1;
        DecodeUtf8At(text, at, character, length);
        const std::vector<char32_t> variants
            = caseSensitive ? std::vector<char32_t> { character } : CaseVariants(character);
        if (std::none_of(variants.begin(), variants.end(),
                [](char32_t variant) { return CodePointToWindows1252(variant).has_value(); }))
            return false;
        at += length;
    }
    return true;
}

// The longest run of ASCII bytes of the text that reads the same in every form of it (no blank
// when blanks stand for runs of white space).
void LongestAsciiRun(
    std::string_view text, bool blanksAreRuns, std::size_t& begin, std::size_t& length)
{
    begin = length = 0;
    std::size_t runStart = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool inRun = i < text.size() && static_cast<unsigned char>(text[i]) < 0x80
            && !(blanksAreRuns && text[i] == ' ');
        if (inRun)
            continue;
        if (i - runStart > length) {
            begin = runStart;
            length = i - runStart;
        }
        runStart = i + 1;
    }
}

// A text beyond ASCII may stand in a line as UTF-8 or as Windows-1252, in any case when case
// is ignored: the probe looks for what all forms share, the piece test decides.
NeedlePlan TextPlan(std::string_view text, const MatchSettings& settings)
{
    const bool caseSensitive = settings.caseSensitive;
    const bool blanksAreRuns = settings.collapseWhiteSpace && text.find(' ') != text.npos;
    if (caseSensitive && !blanksAreRuns && !HasWindows1252Form(text, true))
        return ProbePlan(NeedleStrategy::RawProbe, text, 0, text.size(), true);
    NeedlePlan plan;
    if ((!HasWindows1252Form(text, caseSensitive) && CharacterPairBytes(text, caseSensitive, plan))
        || RarestCharacterBytes(text, caseSensitive, plan.sets.first)) {
        plan.strategy = NeedleStrategy::TextProbe;
        plan.probesSets = true;
        plan.window = plan.sets.secondOffset + 1;
        return plan;
    }
    std::size_t runBegin = 0;
    std::size_t runLength = 0;
    LongestAsciiRun(text, blanksAreRuns, runBegin, runLength);
    if (runLength >= 2)
        return ProbePlan(NeedleStrategy::TextProbe, text, runBegin, runLength, caseSensitive);
    return StrategyOnly(NeedleStrategy::EveryPiece);
}

} // namespace

NeedlePlan PlanNeedle(const MatchSettings& settings)
{
    const std::string_view text = settings.findText;
    const bool caseSensitive = settings.caseSensitive;
    if (text.empty())
        return StrategyOnly(NeedleStrategy::EveryPiece);
    if (HoldsLineEnd(text))
        return StrategyOnly(NeedleStrategy::NeverMatches);
    if (settings.collapseWhiteSpace && CollapsedPieceCannotHold(text))
        return StrategyOnly(NeedleStrategy::NeverMatches);
    if (!IsAllAscii(text))
        return TextPlan(text, settings);
    // Without blanks in the text, a collapsed piece holds it exactly when the piece as read
    // does: collapsing only touches bytes up to 32.
    if (!settings.collapseWhiteSpace || text.find(' ') == std::string_view::npos) {
        if (settings.collapseWhiteSpace && CollapsedPieceCannotHold(text))
            return StrategyOnly(NeedleStrategy::NeverMatches);
        return ProbePlan(NeedleStrategy::RawProbe, text, 0, text.size(), caseSensitive);
    }
    if (CollapsedPieceCannotHold(text))
        return StrategyOnly(NeedleStrategy::NeverMatches);
    std::size_t tokenBegin = 0;
    std::size_t tokenLength = 0;
    RarestToken(text, caseSensitive, tokenBegin, tokenLength);
    if (tokenLength == 0)
        return StrategyOnly(NeedleStrategy::EveryPiece);
    NeedlePlan plan
        = ProbePlan(NeedleStrategy::TokenProbe, text, tokenBegin, tokenLength, caseSensitive);
    if (tokenLength == 1)
        PairWithWhiteNeighbour(text, plan);
    return plan;
}

} // namespace trawlit
