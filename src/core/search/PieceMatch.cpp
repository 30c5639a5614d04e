#include "core/search/PieceMatch.h"

#include <cstring>

namespace trawlit {

namespace {

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

bool IsCollapsible(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

PieceMatcher::PieceMatcher(const MatchSettings& settings)
    : text_(settings.findText)
    , caseSensitive_(settings.caseSensitive)
    , collapse_(settings.collapseWhiteSpace)
{
    if (!caseSensitive_) {
        for (char& c : text_)
            c = FoldAscii(c);
    }
}

bool PieceMatcher::OccursAt(const char* start) const
{
    if (caseSensitive_)
        return std::memcmp(start, text_.data(), text_.size()) == 0;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (FoldAscii(start[i]) != text_[i])
            return false;
    }
    return true;
}

bool PieceMatcher::Holds(std::string_view piece)
{
    if (caseSensitive_ && !collapse_)
        return piece.find(text_) != std::string_view::npos;
    scratch_.clear();
    bool inRun = false;
    for (const char c : piece) {
        if (collapse_ && IsCollapsible(c)) {
            if (!inRun)
                scratch_.push_back(' ');
            inRun = true;
            continue;
        }
        inRun = false;
        scratch_.push_back(caseSensitive_ ? c : FoldAscii(c));
    }
    return std::string_view(scratch_).find(text_) != std::string_view::npos;
}

bool PieceMatcher::Continues(std::string_view piece, bool collapsed)
{
    std::size_t end = piece.size();
    while (end > 0 && (collapsed ? IsCollapsible(piece[end - 1]) : piece[end - 1] == ' '))
        --end;
    return end > 0 && piece[end - 1] == '_';
}

} // namespace trawlit
