#include "core/outputfile/VersionWord.h"

namespace trawlit {

void GetWindowsVersion(
    std::uint32_t versionWord, std::int32_t& major, std::int32_t& minor, std::string& family)
{
    major = static_cast<std::int32_t>(versionWord & 0xFFu);
    minor = static_cast<std::int32_t>((versionWord >> 8) & 0xFFu);
    constexpr std::uint32_t kOlderFamilyBit = 0x80000000u;
    family = (versionWord & kOlderFamilyBit) != 0 ? "Windows\u00A095" : "Windows NT";
}

WindowsVersion GetWindowsVersion(std::uint32_t versionWord)
{
    WindowsVersion version;
    GetWindowsVersion(versionWord, version.major, version.minor, version.family);
    return version;
}

std::uint32_t PlatformVersionWord()
{
    return 10u;
}

} // namespace trawlit
