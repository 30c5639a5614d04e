#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

struct WindowsVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::string family;
};

// Decodes an operating-system version word: the major version in its lowest byte, the minor
// in the next, and the family from its highest bit ("Windows 95", with a no-break space
// between the words, when set; "Windows NT" when clear).
void GetWindowsVersion(
    std::uint32_t versionWord, std::int32_t& major, std::int32_t& minor, std::string& family);
WindowsVersion GetWindowsVersion(std::uint32_t versionWord);

// The version word this platform answers with: the NT family at version 10.0, so every
// newer-system branch (system icons, for one) is taken.
std::uint32_t PlatformVersionWord();

} // namespace trawlit
