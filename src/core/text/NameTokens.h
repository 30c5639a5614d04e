#pragma once

#include <string>
#include <vector>

namespace trawlit {

// Path syntax of the name routines: the native one is POSIX ("/"); Windows ("\" and the
// drive colon) is kept so stored Windows paths and the documented examples work too.
enum class PathSyntax { Posix, Windows };
inline constexpr PathSyntax kNativePathSyntax = PathSyntax::Posix;

// Flag bits of FINDTOK2.
namespace TokenFlags {
inline constexpr int TrimBlanks = 1;
inline constexpr int SkipEmpty = 64;
} // namespace TokenFlags

// Splits `text` at any of `delimiters`. Positions count from 1; an empty token is (-1, -1).
// Fills starts[1..count] and ends[1..count] (index 0 unused); stops after `maxTokens` tokens.
void FINDTOK2(const std::string& text, int& count, int maxTokens, std::vector<int>& starts,
    std::vector<int>& ends, const std::string& delimiters, int flags);

// Base name: after the last separator, before the last dot of that part. Positions from 1.
void ENAMEPOS(const std::string& path, int& start, int& end, PathSyntax syntax = kNativePathSyntax);
std::string ENAME(const std::string& path, PathSyntax syntax = kNativePathSyntax);

// Extension with its dot, upper-cased, or empty. Positions from 1; 0 when there is none.
void EEXTPOS(const std::string& path, int& dot, int& end, PathSyntax syntax = kNativePathSyntax);
std::string EEXT(const std::string& path, PathSyntax syntax = kNativePathSyntax);

// Doubles every "&" so that it shows literally in a menu caption.
std::string Ampersand(const std::string& text);

} // namespace trawlit
