#pragma once

#include <cstdio>
#include <string>

namespace trawlit {

inline constexpr const char* kProgramName = "trawlit-cli";

// A message box's text as one line: its lines trimmed and joined, the blank ones left out.
// After a line that ends a sentence or in ":" comes a blank, after the first line (what the
// message is about) ": ", after any other ", ".
std::string OneLine(const std::string& text);

// "trawlit-cli: " and the text as one line, so that a script's log says who spoke and grep
// finds each message whole.
void PrintMessage(std::FILE* stream, const std::string& text);

} // namespace trawlit
