#include "util/NameTokens.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace trawlit {
namespace {

using Span = std::pair<int, int>;

std::vector<Span> Tokenise(const std::string& text, int maxTokens, const std::string& delimiters,
    int flags, std::size_t arraySize = 0)
{
    std::vector<int> starts(arraySize);
    std::vector<int> ends(arraySize);
    int count = -7;
    FINDTOK2(text, count, maxTokens, starts, ends, delimiters, flags);
    std::vector<Span> spans;
    for (int i = 1; i <= count; ++i)
        spans.emplace_back(
            starts.at(static_cast<std::size_t>(i)), ends.at(static_cast<std::size_t>(i)));
    return spans;
}

struct TokenCase {
    const char* name;
    std::string text;
    int maxTokens;
    std::string delimiters;
    int flags;
    std::vector<Span> expected;
};

TEST(NameTokensTest, Findtok2Cases)
{
    const std::vector<TokenCase> cases = {
        { "skip empty", "/C 12, 14 20", 5, ", ", 64, { { 1, 2 }, { 4, 5 }, { 8, 9 }, { 11, 12 } } },
        { "keep empty", "/C 12, 14 20", 5, ", ", 0,
            { { 1, 2 }, { 4, 5 }, { -1, -1 }, { 8, 9 }, { 11, 12 } } },
        { "maximum stops the scan", "/C 12, 14 20 30", 5, ", ", 0,
            { { 1, 2 }, { 4, 5 }, { -1, -1 }, { 8, 9 }, { 11, 12 } } },
        { "delimiters only, skip empty", ", ,", 5, ", ", 64, {} },
        { "empty text, skip empty", "", 5, ", ", 64, {} },
        { "empty text", "", 5, ", ", 0, { { -1, -1 } } },
        { "trailing delimiter", "a,", 5, ",", 0, { { 1, 1 }, { -1, -1 } } },
        { "leading delimiter", ",a", 5, ",", 0, { { -1, -1 }, { 2, 2 } } },
        { "trim blanks", "  ab  ,cd", 5, ",", 1, { { 3, 4 }, { 8, 9 } } },
        { "trim blanks, blank-only token", "a,   ,b", 5, ",", 1,
            { { 1, 1 }, { -1, -1 }, { 7, 7 } } },
        { "empty delimiters never close", "abc", 5, "", 0, {} },
        { "zero maximum stores nothing", "a,b", 0, ",", 0, {} },
        { "negative maximum stores nothing", "a,b", -1, ",", 0, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tokenise(c.text, c.maxTokens, c.delimiters, c.flags, 6), c.expected) << c.name;
}

TEST(NameTokensTest, Findtok2GrowsTooSmallArrays)
{
    const std::vector<Span> expected = { { 1, 1 }, { 3, 3 }, { 5, 5 } };
    EXPECT_EQ(Tokenise("a,b,c", 5, ",", 0, 0), expected);
    EXPECT_EQ(Tokenise("a,b,c", 5, ",", 0, 2), expected);
}

TEST(NameTokensTest, Findtok2BeyondSixteenBitPositions)
{
    const std::string text = std::string(40000, 'x') + "," + std::string(3, 'y');
    const std::vector<Span> expected = { { 1, 40000 }, { 40002, 40004 } };
    EXPECT_EQ(Tokenise(text, 5, ",", 64, 6), expected);
}

struct PathCase {
    std::string windowsPath;
    std::string posixPath;
    std::string expected;
};

TEST(NameTokensTest, EnameCases)
{
    const std::vector<PathCase> cases = {
        { "C:\\dir\\file.txt", "/dir/file.txt", "file" },
        { "C:\\dir\\archive.tar.gz", "/dir/archive.tar.gz", "archive.tar" },
        { "C:file.txt", "file.txt", "file" },
        { "C:\\dir.x\\file", "/dir.x/file", "file" },
        { "C:\\dir\\", "/dir/", "" },
        { "C:\\dir\\.profile", "/dir/.profile", "" },
        { "", "", "" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ENAME(c.windowsPath, PathSyntax::Windows), c.expected) << c.windowsPath;
        EXPECT_EQ(ENAME(c.posixPath, PathSyntax::Posix), c.expected) << c.posixPath;
        EXPECT_EQ(ENAME(c.posixPath), c.expected) << c.posixPath;
    }
}

TEST(NameTokensTest, SeparatorsDependOnSyntax)
{
    EXPECT_EQ(ENAME("C:file.txt", PathSyntax::Posix), "C:file");
    EXPECT_EQ(ENAME("a\\b.txt", PathSyntax::Posix), "a\\b");
    EXPECT_EQ(ENAME("/dir/file.txt", PathSyntax::Windows), "/dir/file");
    EXPECT_EQ(EEXT("dir.x\\file", PathSyntax::Posix), ".X\\FILE");
    EXPECT_EQ(EEXT("dir.x/file", PathSyntax::Windows), ".X/FILE");
}

TEST(NameTokensTest, EnameposPositions)
{
    int start = 0;
    int end = 0;
    ENAMEPOS("C:\\dir\\file.txt", start, end, PathSyntax::Windows);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(8, 11));
    ENAMEPOS("/dir/file.txt", start, end, PathSyntax::Posix);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(6, 9));
}

TEST(NameTokensTest, EextCases)
{
    const std::vector<PathCase> cases = {
        { "C:\\dir\\page.Html", "/dir/page.Html", ".HTML" },
        { "archive.tar.gz", "archive.tar.gz", ".GZ" },
        { "file", "file", "" },
        { "file.", "file.", "" },
        { "C:\\dir.x\\file", "/dir.x/file", "" },
        { ".profile", ".profile", ".PROFILE" },
        { "C:\\d\\n.\xC3\xA9x", "/d/n.\xC3\xA9x", ".\xC3\xA9X" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EEXT(c.windowsPath, PathSyntax::Windows), c.expected) << c.windowsPath;
        EXPECT_EQ(EEXT(c.posixPath, PathSyntax::Posix), c.expected) << c.posixPath;
        EXPECT_EQ(EEXT(c.posixPath), c.expected) << c.posixPath;
    }
}

TEST(NameTokensTest, EextposPositions)
{
    int dot = -1;
    int end = -1;
    EEXTPOS("C:\\dir.x\\file", dot, end, PathSyntax::Windows);
    EXPECT_EQ(std::make_pair(dot, end), std::make_pair(0, 0));
    EEXTPOS("/dir/a.tar.gz", dot, end, PathSyntax::Posix);
    EXPECT_EQ(std::make_pair(dot, end), std::make_pair(11, 13));
}

TEST(NameTokensTest, AmpersandCases)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "salt & pepper", "salt && pepper" },
        { "&&", "&&&&" },
        { "plain", "plain" },
        { "&", "&&" },
        { "", "" },
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(Ampersand(input), expected) << input;
}

} // namespace
} // namespace trawlit
