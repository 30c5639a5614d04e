#include "core/search/PieceMatch.h"

#include "core/text/AsciiCase.h"
#include "core/text/CaseFold.h"
#include "core/text/TextDecode.h"

#include <cstring>

namespace trawlit {

namespace {

bool IsCollapsible(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

PieceMatcher::PieceMatcher(const MatchSettings& settings)
    : text_(settings.findText)
    , caseSensitive_(settings.caseSensitive)
    , collapse_(settings.collapseWhiteSpace)
    , asText_(!IsAllAscii(settings.findText))
{
    if (!caseSensitive_) {
        text_.clear();
        AppendFolded(settings.findText, text_);
    }
}

bool PieceMatcher::OccursAt(const char* start) const
{
    if (caseSensitive_)
        return std::memcmp(start, text_.data(), text_.size()) == 0;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (AsciiLower(start[i]) != text_[i])
            return false;
    }
    return true;
}

bool PieceMatcher::Holds(std::string_view piece)
{
    if (asText_)
        return HoldsAsText(piece);
    if (caseSensitive_ && !collapse_)
        return piece.find(text_) != std::string_view::npos;
    Collapse(piece, !caseSensitive_);
    return std::string_view(scratch_).find(text_) != std::string_view::npos;
}

// Into scratch_: the piece with each run of white space made one blank when collapsing, and
// ASCII letters lowered when `fold`.
void PieceMatcher::Collapse(std::string_view piece, bool fold)
{
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
        scratch_.push_back(fold ? AsciiLower(c) : c);
    }
}

// Folding tells on the way whether the piece is UTF-8, so a folded piece is read once.
bool PieceMatcher::HoldsAsText(std::string_view piece)
{
    std::string_view text;
    if (caseSensitive_) {
        text = LineAsUtf8(piece, decoded_);
    } else {
        folded_.clear();
        if (!AppendFoldedIfValid(piece, folded_)) {
            folded_.clear();
            AppendFolded(LineAsUtf8(piece, decoded_), folded_);
        }
        text = folded_;
    }
    if (collapse_) {
        Collapse(text, false);
        text = scratch_;
    }
    return text.find(text_) != std::string_view::npos;
}

bool PieceMatcher::Continues(std::string_view piece, bool collapsed)
{
    std::size_t end = piece.size();
    while (end > 0 && (collapsed ? IsCollapsible(piece[end - 1]) : piece[end - 1] == ' '))
        --end;
    return end > 0 && piece[end - 1] == '_';
}

} // namespace trawlit
