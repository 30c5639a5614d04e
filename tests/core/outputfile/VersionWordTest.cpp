#include "core/outputfile/VersionWord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace trawlit {
namespace {

TEST(WindowsVersionTest, DecodesTheVersionWord)
{
    struct Case {
        std::uint32_t word;
        std::int32_t major;
        std::int32_t minor;
        std::string family;
    };
    const std::string older = "Windows\xC2\xA0"
                              "95"; // a no-break space between the words
    const std::vector<Case> cases = {
        { 0x80000000u, 0, 0, older },
        { 0xC3000A04u, 4, 10, older },
        { 0x00000000u, 0, 0, "Windows NT" },
        { 0x00000105u, 5, 1, "Windows NT" },
        { 0x7FFFFFFFu, 255, 255, "Windows NT" },
    };
    for (const Case& c : cases) {
        std::int32_t major = -1;
        std::int32_t minor = -1;
        std::string family;
        GetWindowsVersion(c.word, major, minor, family);
        EXPECT_EQ(major, c.major) << std::hex << c.word;
        EXPECT_EQ(minor, c.minor) << std::hex << c.word;
        EXPECT_EQ(family, c.family) << std::hex << c.word;
    }
}

} // namespace
} // namespace trawlit
