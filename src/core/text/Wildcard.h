#pragma once

#include <string_view>
#include <vector>

namespace trawlit {

// Matches `name` against a file template: one or more wildcards separated by ";" ("*.c;*.h"),
// blanks around each ignored, of which any may match. In a wildcard "*" stands for any run of
// characters, "?" for exactly one, "[ch]", "[0-9]" for one of a class ("[!0-9]" or "[^0-9]"
// for one outside it; a "[" without its "]" is itself); ASCII letters match without regard to
// case. "*.*" matches every name, with or without a dot.
bool WildcardMatches(std::string_view wildcard, std::string_view name);

// The wildcards of a template, trimmed, in order; empty ones left out.
std::vector<std::string_view> TemplateParts(std::string_view fileTemplate);

// Matches `name` against one wildcard, ";" taken as itself.
bool WildcardPartMatches(std::string_view wildcard, std::string_view name);

} // namespace trawlit
