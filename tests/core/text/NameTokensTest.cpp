#include "core/text/NameTokens.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace trawlit {
namespace {

using Spans = std::vector<std::pair<int, int>>;

Spans Tokenise(const std::string& text, int maxTokens, const std::string& delimiters, int flags,
    std::size_t arraySize = 6)
{
    std::vector<int> starts(arraySize);
    std::vector<int> ends(arraySize);
    int count = -7;
    FINDTOK2(text, count, maxTokens, starts, ends, delimiters, flags);
    Spans spans;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i)
        spans.emplace_back(starts.at(i), ends.at(i));
    return spans;
}

TEST(NameTokensTest, Findtok2)
{
    struct Case {
        std::string text;
        int maxTokens;
        std::string delimiters;
        int flags;
        Spans expected;
    };
    const std::vector<Case> cases = {
        { "/C 12, 14 20", 5, ", ", 64, { { 1, 2 }, { 4, 5 }, { 8, 9 }, { 11, 12 } } },
        { "/C 12, 14 20", 5, ", ", 0, { { 1, 2 }, { 4, 5 }, { -1, -1 }, { 8, 9 }, { 11, 12 } } },
        { "/C 12, 14 20 30", 5, ", ", 0, { { 1, 2 }, { 4, 5 }, { -1, -1 }, { 8, 9 }, { 11, 12 } } },
        { ", ,", 5, ", ", 64, {} },
        { "", 5, ", ", 64, {} },
        { "", 5, ", ", 0, { { -1, -1 } } },
        { "a,", 5, ",", 0, { { 1, 1 }, { -1, -1 } } },
        { "  ab  ,cd", 5, ",", 1, { { 3, 4 }, { 8, 9 } } },
        { "a,   ,b", 5, ",", 1, { { 1, 1 }, { -1, -1 }, { 7, 7 } } },
        { "abc", 5, "", 0, {} }, // no delimiter closes the token, and the scan ends
        { "a,b", 0, ",", 0, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tokenise(c.text, c.maxTokens, c.delimiters, c.flags), c.expected)
            << "'" << c.text << "' flags " << c.flags;
}

TEST(NameTokensTest, Findtok2GrowsArraysAndHandlesLongTexts)
{
    EXPECT_EQ(Tokenise("a,b,c", 5, ",", 0, 0), (Spans { { 1, 1 }, { 3, 3 }, { 5, 5 } }));
    const std::string text = std::string(40000, 'x') + ",yyy";
    EXPECT_EQ(Tokenise(text, 5, ",", 64, 2), (Spans { { 1, 40000 }, { 40002, 40004 } }));
}

// Each example in Windows syntax, then the same path in POSIX syntax.
struct PathCase {
    std::string windowsPath, posixPath, expected;
};

TEST(NameTokensTest, Ename)
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
        EXPECT_EQ(ENAME(c.posixPath), c.expected) << c.posixPath;
    }
    EXPECT_EQ(ENAME("C:\\d\\f.txt", PathSyntax::Posix), "C:\\d\\f");
    EXPECT_EQ(ENAME("/d/f.txt", PathSyntax::Windows), "/d/f");
}

TEST(NameTokensTest, Eext)
{
    const std::vector<PathCase> cases = {
        { "C:\\dir\\page.Html", "/dir/page.Html", ".HTML" },
        { "archive.tar.gz", "archive.tar.gz", ".GZ" },
        { "file", "file", "" },
        { "file.", "file.", "" },
        { "C:\\dir.x\\file", "/dir.x/file", "" },
        { ".profile", ".profile", ".PROFILE" },
        { "C:\\n.\xC3\xA9x", "/n.\xC3\xA9x", ".\xC3\xA9X" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EEXT(c.windowsPath, PathSyntax::Windows), c.expected) << c.windowsPath;
        EXPECT_EQ(EEXT(c.posixPath), c.expected) << c.posixPath;
    }
    EXPECT_EQ(EEXT("d.x\\f", PathSyntax::Posix), ".X\\F");
}

TEST(NameTokensTest, Ampersand)
{
    EXPECT_EQ(Ampersand("salt & pepper"), "salt && pepper");
    EXPECT_EQ(Ampersand("&&"), "&&&&");
    EXPECT_EQ(Ampersand("plain"), "plain");
}

} // namespace
} // namespace trawlit
