#include "core/text/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace trawlit {
namespace {

TEST(TextHelpersTest, ReplaceString)
{
    struct Case {
        std::string text, find, replacement;
        std::uint8_t mode;
        std::string expected;
    };
    const std::vector<Case> cases = {
        { "C:\\\\a.txt", "\\\\", "\\", 0, "C:\\a.txt" },
        { "/dir//a.txt", "//", "/", 0, "/dir/a.txt" },
        { "a\\\\\\\\\\b", "\\\\", "\\", 0, "a\\\\\\b" }, // five halve to three
        { "C:\\a.txt", "\\\\", "\\", 0, "C:\\a.txt" },
        { "cat concat cat", "cat", "dog", ReplaceMode::BlankBounded, "dog concat dog" },
        { "cat,cat", "cat", "dog", ReplaceMode::BlankBounded, "cat,cat" },
        { "id, ids, _id", "id", "key", ReplaceMode::NotInWord, "key, ids, _key" },
        { "1id id2 id", "id", "key", ReplaceMode::NotInWord, "1id id2 key" },
        { "ABC abc", "abc", "x", ReplaceMode::IgnoreCase, "x x" },
        { "ABC abc", "abc", "x", 0, "ABC x" },
        { "\xC3\xA9t ET", "et", "x", ReplaceMode::IgnoreCase, "\xC3\xA9t x" },
        { "aa", "a", "aa", 0, "aaaa" }, // the inserted text is not searched again
        { "xab", "ab", "", 0, "x" }, { "abc", "", "x", 0, "abc" }, // empty find must not hang
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        ReplaceString(text, c.find, c.replacement, c.mode);
        EXPECT_EQ(text, c.expected) << c.text << " / " << c.find;
    }
}

TEST(TextHelpersTest, LongTextsPastSixteenBitPositions)
{
    std::string text = "&" + std::string(40000, 'x') + "&&";
    ReplaceString(text, "&", "+&");
    EXPECT_EQ(text.size(), 40006u);
    EXPECT_EQ(text.substr(40002), "+&+&");

    std::string spaced;
    for (int i = 0; i < 20000; ++i)
        spaced += "a \t";
    RMEXTSP(spaced);
    ASSERT_EQ(spaced.size(), 40000u);
    EXPECT_EQ(spaced.substr(39996), "a a ");
}

TEST(TextHelpersTest, Plural)
{
    struct Case {
        double count;
        std::string noun;
        std::uint8_t flags;
        std::string expected;
    };
    const std::vector<Case> cases = {
        { 1, "file", 1, "1 file" },
        { 3, "file", 1, "3 files" },
        { 2, "match", 3, "2 matches" },
        { 0, "file", 1, "0 files" },
        { 2, "entry", 5, "2 entries" },
        { 2, "entry", 7, "2 entries" },
        { 5, "file", 0, " 5 files" },
        { 1.0, "file", 0, " 1 file" },
        { -3, "file", 0, "-3 files" },
        { -0.0, "file", 0, " 0 files" },
        { 2.5, "file", 1, "2.5 files" },
        { 1e20, "file", 1, "100000000000000000000 files" },
        { 7, "file", 9, "7. files" },
        { 4, "entry", 64 | 4, "entries" },
        { 1, "file", 64, "file" },
        { 4, "", 64 | 4, "ies" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PLURAL(c.count, c.noun, c.flags), c.expected) << c.count << " " << c.noun;
}

TEST(TextHelpersTest, RJustify)
{
    EXPECT_EQ(RJustify("  ab ", 4), "  ab");
    EXPECT_EQ(RJustify("abcdef", 3), "abcdef");
    EXPECT_EQ(RJustify("\tab\t", 5), " \tab\t");
    EXPECT_EQ(RJustify("  ab  ", 0), "ab");
    EXPECT_EQ(RJustify("   ", 2), "  ");
}

TEST(TextHelpersTest, Rmextsp)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "\ta  b\r\n", " a b " },
        { "", "" },
        { " \t\r\n", " " },
        { std::string("a\0\x01z", 4), "a z" },
        { "\xC3\xA9 \xC3\xA9", "\xC3\xA9 \xC3\xA9" },
    };
    for (const auto& [input, expected] : cases) {
        std::string text = input;
        RMEXTSP(text);
        EXPECT_EQ(text, expected);
    }
}

} // namespace
} // namespace trawlit
