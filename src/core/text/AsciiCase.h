#pragma once

#include <algorithm>
#include <string_view>

namespace trawlit {

// Letter case of names, keys and commands: only A-Z and a-z have one, so multi-byte
// characters are never altered or split. The search's own folding is CaseFold.h.

constexpr bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool SameIgnoringAsciiCase(char a, char b)
{
    return AsciiLower(a) == AsciiLower(b);
}

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, SameIgnoringAsciiCase);
}

inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size()
        && EqualIgnoringAsciiCase(text.substr(0, start.size()), start);
}

} // namespace trawlit
