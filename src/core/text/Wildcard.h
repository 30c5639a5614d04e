#pragma once

#include <string_view>

namespace trawlit {

// Matches `name` against a listing template: "*" any run of characters, "?" exactly one,
// ASCII letters compared without regard to case. "*.*" matches every name, with or without
// a dot.
bool WildcardMatches(std::string_view wildcard, std::string_view name);

} // namespace trawlit
