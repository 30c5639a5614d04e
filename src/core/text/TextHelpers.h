#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

// Mode bits of ReplaceString.
namespace ReplaceMode {
inline constexpr std::uint8_t BlankBounded = 1; // bounded by blanks or the text's ends
inline constexpr std::uint8_t IgnoreCase = 2;
inline constexpr std::uint8_t NotInWord = 4; // no letter or digit on either side
} // namespace ReplaceMode

// Replaces every occurrence of `find` in `text`, left to right; an inserted replacement is
// never searched again. `find` must not be empty.
void ReplaceString(std::string& text, const std::string& find, const std::string& replacement,
    std::uint8_t mode = 0);

// Flag bits of PLURAL.
namespace PluralFlags {
inline constexpr std::uint8_t NoLeadingBlank = 1;
inline constexpr std::uint8_t Es = 2; // "match" -> "matches"
inline constexpr std::uint8_t Ies = 4; // "entry" -> "entries"
inline constexpr std::uint8_t Period = 8; // "." after the number
inline constexpr std::uint8_t NounOnly = 64;
} // namespace PluralFlags

// "3 files", " 1 file", "2 matches", ... The count is any number; 1.0 counts as 1.
std::string PLURAL(double count, const std::string& noun, std::uint8_t flags);

// Trims blanks (not TABs) on both sides, then pads on the left to `width`; never cuts.
std::string RJustify(const std::string& text, int width);

// Collapses each run of characters with codes 0 to 32 into one blank, in place.
void RMEXTSP(std::string& text);

// 1 for true, 0 for false: the value of a check box.
std::int16_t T_OR_F(bool value);

// "Yes" or "No".
std::string YesOrNo(bool value);

} // namespace trawlit
