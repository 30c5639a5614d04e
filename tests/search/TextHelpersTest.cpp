#include "search/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace trawlit {
namespace {

struct ReplaceCase {
    const char* name;
    std::string text;
    std::string find;
    std::string replacement;
    std::uint8_t mode;
    std::string expected;
};

TEST(TextHelpersTest, ReplaceStringCases)
{
    const std::vector<ReplaceCase> cases = {
        { "halves a doubled backslash", "C:\\\\a.txt", "\\\\", "\\", 0, "C:\\a.txt" },
        { "three backslashes become two", "a\\\\\\b", "\\\\", "\\", 0, "a\\\\b" },
        { "four backslashes become two", "a\\\\\\\\b", "\\\\", "\\", 0, "a\\\\b" },
        { "five backslashes become three", "a\\\\\\\\\\b", "\\\\", "\\", 0, "a\\\\\\b" },
        { "doubled slashes in a POSIX path", "/dir//a.txt", "//", "/", 0, "/dir/a.txt" },
        { "absent text leaves it unchanged", "C:\\a.txt", "\\\\", "\\", 0, "C:\\a.txt" },
        { "blank bounded skips the inner word", "cat concat cat", "cat", "dog",
            ReplaceMode::BlankBounded, "dog concat dog" },
        { "blank bounded rejects a comma", "cat,cat", "cat", "dog", ReplaceMode::BlankBounded,
            "cat,cat" },
        { "not in word", "id, ids, _id", "id", "key", ReplaceMode::NotInWord, "key, ids, _key" },
        { "not in word rejects digits", "1id id2 id", "id", "key", ReplaceMode::NotInWord,
            "1id id2 key" },
        { "ignore case finds both", "ABC abc", "abc", "x", ReplaceMode::IgnoreCase, "x x" },
        { "exact case finds one", "ABC abc", "abc", "x", 0, "ABC x" },
        { "ignore case leaves UTF-8 alone", "\xC3\xA9t\xC3\xA9 ET", "et", "x",
            ReplaceMode::IgnoreCase, "\xC3\xA9t\xC3\xA9 x" },
        { "replacement is never searched again", "aa", "a", "aa", 0, "aaaa" },
        { "replacement at the end", "xab", "ab", "", 0, "x" },
        { "empty find leaves text unchanged", "abc", "", "x", 0, "abc" },
        { "empty text", "", "a", "b", 0, "" },
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        ReplaceString(text, c.find, c.replacement, c.mode);
        EXPECT_EQ(text, c.expected) << c.name;
    }
}

TEST(TextHelpersTest, ReplaceStringBeyond16BitPositions)
{
    std::string text(40000, 'x');
    text += "&&";
    text.insert(0, "&");
    ReplaceString(text, "&", "+&");
    EXPECT_EQ(text.size(), 40006u);
    EXPECT_EQ(text.substr(0, 2), "+&");
    EXPECT_EQ(text.substr(40002), "+&+&");
}

struct PluralCase {
    double count;
    std::string noun;
    std::uint8_t flags;
    std::string expected;
};

TEST(TextHelpersTest, PluralCases)
{
    const std::vector<PluralCase> cases = {
        { 1, "file", 1, "1 file" },
        { 3, "file", 1, "3 files" },
        { 2, "match", 3, "2 matches" },
        { 0, "file", 1, "0 files" },
        { 2, "entry", 5, "2 entries" },
        { 2, "entry", 7, "2 entries" }, // Ies wins over Es
        { 5, "file", 0, " 5 files" },
        { 1.0, "file", 0, " 1 file" },
        { -3, "file", 0, "-3 files" },
        { -1, "file", 0, "-1 files" },
        { -0.0, "file", 0, " 0 files" },
        { 2.5, "file", 1, "2.5 files" },
        { 0.1, "file", 0, " 0.1 files" },
        { 1e20, "file", 1, "100000000000000000000 files" },
        { 7, "file", 9, "7. files" },
        { 4, "file", 64, "files" },
        { 1, "file", 64, "file" },
        { 4, "entry", 64 | 4, "entries" },
        { 4, "", 64 | 4, "ies" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PLURAL(c.count, c.noun, c.flags), c.expected)
            << c.count << " " << c.noun << " flags " << int { c.flags };
}

TEST(TextHelpersTest, RJustifyCases)
{
    struct Case {
        std::string text;
        int width;
        std::string expected;
    };
    const std::vector<Case> cases = {
        { "  ab ", 4, "  ab" },
        { "abcdef", 3, "abcdef" },
        { "abc", 3, "abc" },
        { "\tab\t", 5, " \tab\t" },
        { "  ab  ", 0, "ab" },
        { "  ab  ", -2, "ab" },
        { "   ", 2, "  " },
        { "", 0, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(RJustify(c.text, c.width), c.expected) << "'" << c.text << "' " << c.width;
}

TEST(TextHelpersTest, RmextspCases)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "\ta  b\r\n", " a b " }, { "", "" }, { " \t\r\n", " " }, { "abc", "abc" },
        { std::string("a\0\x01z", 4), "a z" },
        { "\xC3\xA9 \xC3\xA9", "\xC3\xA9 \xC3\xA9" }, // bytes above 127 are kept
    };
    for (const auto& [input, expected] : cases) {
        std::string text = input;
        RMEXTSP(text);
        EXPECT_EQ(text, expected);
    }
}

TEST(TextHelpersTest, RmextspLongText)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "a \t";
    RMEXTSP(text);
    ASSERT_EQ(text.size(), 40000u);
    EXPECT_EQ(text.substr(39996), "a a ");
}

TEST(TextHelpersTest, BooleanTexts)
{
    EXPECT_EQ(T_OR_F(true), 1);
    EXPECT_EQ(T_OR_F(false), 0);
    EXPECT_EQ(YesOrNo(true), "Yes");
    EXPECT_EQ(YesOrNo(false), "No");
}

} // namespace
} // namespace trawlit
