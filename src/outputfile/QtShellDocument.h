#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

inline constexpr std::uint8_t kShellMaximised = 1;

// Opens a document in the program the desktop registers for its type, without waiting.
// The lowest bit of flags asks for a maximised window (a wish the desktop may not honour).
// Failures are silent.
void ShellDocument(const std::string& document, std::uint8_t flags);

} // namespace trawlit
