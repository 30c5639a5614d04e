#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trawlit {

// How the search ignores case: Unicode simple case folding, one character for one (É/é,
// Σ/σ/ς), except that nothing outside ASCII folds into ASCII (the Kelvin sign stays itself), so
// a text of ASCII letters matches exactly what it always did.
char32_t FoldCharacter(char32_t codePoint);

// Appends `text` (UTF-8) folded; bytes that are no valid UTF-8 are copied as they are.
void AppendFolded(std::string_view text, std::string& out);

// The same for text that is valid UTF-8; false, with part of it appended, for any other.
bool AppendFoldedIfValid(std::string_view text, std::string& out);

// Every character that folds like `codePoint`, itself included.
std::vector<char32_t> CaseVariants(char32_t codePoint);

bool IsAllAscii(std::string_view text);

} // namespace trawlit
