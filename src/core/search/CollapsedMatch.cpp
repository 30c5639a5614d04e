#include "core/search/CollapsedMatch.h"

#include "core/text/AsciiCase.h"

namespace trawlit {

namespace {

// White space inside a piece: CR and LF end pieces, so they never belong to a run.
bool IsWhite(char c)
{
    return static_cast<unsigned char>(c) <= ' ' && c != '\r' && c != '\n';
}

} // namespace

CollapsedMatch::CollapsedMatch(const MatchSettings& settings, std::size_t partBegin)
    : text_(settings.findText)
    , partBegin_(partBegin)
    , caseSensitive_(settings.caseSensitive)
{
    if (!caseSensitive_) {
        for (char& c : text_)
            c = AsciiLower(c);
    }
}

bool CollapsedMatch::Same(char read, char wanted) const
{
    return (caseSensitive_ ? read : AsciiLower(read)) == wanted;
}

CollapsedMatch::Verdict CollapsedMatch::At(
    const char* data, std::size_t size, std::size_t partAt, bool atEnd) const
{
    if (!MatchesLeft(data, partAt))
        return Verdict::DoesNotHold;
    return MatchesRight(data, size, partAt, atEnd);
}

bool CollapsedMatch::MatchesLeft(const char* data, std::size_t partAt) const
{
    std::size_t at = partAt;
    for (std::size_t i = partBegin_; i > 0; --i) {
        if (text_[i - 1] != ' ') {
            if (at == 0 || !Same(data[at - 1], text_[i - 1]))
                return false;
            --at;
            continue;
        }
        if (at == 0 || !IsWhite(data[at - 1]))
            return false;
        while (at > 0 && IsWhite(data[at - 1]))
            --at;
    }
    return true;
}

CollapsedMatch::Verdict CollapsedMatch::MatchesRight(
    const char* data, std::size_t size, std::size_t partAt, bool atEnd) const
{
    const Verdict shortOfData = atEnd ? Verdict::DoesNotHold : Verdict::Undecided;
    std::size_t at = partAt;
    for (std::size_t i = partBegin_; i < text_.size(); ++i) {
        if (at == size)
            return shortOfData;
        if (text_[i] != ' ') {
            if (!Same(data[at], text_[i]))
                return Verdict::DoesNotHold;
            ++at;
            continue;
        }
        if (!IsWhite(data[at]))
            return Verdict::DoesNotHold;
        // A run reaching the data's end decides nothing yet unless the text ends with it.
        while (at < size && IsWhite(data[at]))
            ++at;
    }
    return Verdict::Holds;
}

} // namespace trawlit
