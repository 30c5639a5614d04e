#include "core/printing/PrintedTextEncoding.h"

#include <gtest/gtest.h>

namespace trawlit {
namespace {

TEST(PrintableUtf8Test, ValidUtf8StaysAndAnythingElseIsReadAsWindows1252)
{
    struct Case {
        std::string text;
        std::string printed;
    };
    const Case cases[] = {
        { "plain\tASCII", "plain\tASCII" },
        { "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
            "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80" },
        { "caf\xE9", "caf\xC3\xA9" },
        { "\x80 \x93q\x94 \x81", "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D \xC2\x81" },
        // One flaw makes the whole text Windows-1252, its UTF-8 look-alikes too.
        { "\xC3\xA9 \xE9", "\xC3\x83\xC2\xA9 \xC3\xA9" },
        { "\xC0\xAF", "\xC3\x80\xC2\xAF" }, // overlong
        { "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC" }, // surrogate
        { "ends in \xC3", "ends in \xC3\x83" }, // a cut character is no character
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintableUtf8(c.text), c.printed) << c.text;
}

TEST(Utf8CharacterCutAtEndTest, CountsOnlyTheStartOfACharacterAfterValidText)
{
    struct Case {
        std::string text;
        std::size_t cut;
    };
    const Case cases[] = { { "abc", 0 }, { "", 0 }, { "ab\xC3", 1 }, { "ab\xE2\x82", 2 },
        { "\xF0\x9F\x98", 3 }, { "\xE9 \xC3", 0 }, { "ab\xE2\x41", 0 } };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8CharacterCutAtEnd(c.text), c.cut) << c.text;
}

} // namespace
} // namespace trawlit
