#include "core/tools/WebCharacters.h"

#include <gtest/gtest.h>

#include "core/text/TextDecode.h"

namespace trawlit {
namespace {

class RecordingSink : public CleanupSink {
public:
    void Keep(std::string_view text) override { kept += text; }
    void Unmatched(std::uint32_t code, std::string_view character) override
    {
        unmatched += std::to_string(code) + "'" + std::string(character) + "' ";
    }
    void NoEAfter129() override { unmatched += "NOT-FOUND "; }

    std::string kept;
    std::string unmatched;
};

struct CleanCase {
    std::string text;
    std::string kept;
    std::string unmatched; // code'character' for each, NOT-FOUND for the 129 message
};

// Cleans the text as a line reads (valid UTF-8 as it is, else Windows-1252), whole and again
// fed one byte at a time: both must agree.
void ExpectCleaned(const CleanCase& c)
{
    std::string scratch;
    const std::string text(LineAsUtf8(c.text, scratch));
    RecordingSink whole;
    WebCleaner wholeCleaner(whole);
    wholeCleaner.Feed(text);
    wholeCleaner.Finish();
    EXPECT_EQ(whole.kept, c.kept) << ::testing::PrintToString(c.text);
    EXPECT_EQ(whole.unmatched, c.unmatched) << ::testing::PrintToString(c.text);

    RecordingSink pieces;
    WebCleaner piecesCleaner(pieces);
    for (char byte : text) {
        piecesCleaner.Feed(std::string_view(&byte, 1));
    }
    piecesCleaner.Finish();
    EXPECT_EQ(pieces.kept, c.kept) << "byte by byte: " << ::testing::PrintToString(c.text);
    EXPECT_EQ(pieces.unmatched, c.unmatched) << "byte by byte";
}

TEST(WebCleanerTest, Windows1252CharactersAreReplacedKeptOrDropped)
{
    using namespace std::string_literals;
    const CleanCase cases[] = {
        { "tab\there\fform\r\n~ ", "tab\there\fform\r\n~ ", "" },
        { "caf\xE9", "caf&eacute;", "" },
        { "\xA3\xA5\xA9\xBD", "&pound;&yen;&copy;1/2", "" },
        { "\x80\x85\x99", "&euro;...&trade;", "" },
        { "\x93q\x94 \x91s\x92\xB4", "&quot;q&quot; &#039;s&#039;&#039;", "" },
        { "a\x96"
          "b\x97"
          "c\xA0"
          "d",
            "a-b-c d", "" },
        { "\xC3\xA9", "&eacute;", "" }, // valid UTF-8 is read as UTF-8
        { "\x81"
          "Ex",
            "&#039;x", "" },
        { "\x81x", "x", "NOT-FOUND 129'\xC2\x81' " },
        { "\x81"
          "e",
            "e", "NOT-FOUND 129'\xC2\x81' " },
        { "a\x81", "a", "129'\xC2\x81' " },
        { "\x83\x8D", "", "402'\xC6\x92' 141'\xC2\x8D' " }, // listed by code point, as UTF-8
        { "x\0y\x7F"s, "xy", "0'\0' 127'\x7F' "s },
        { "\x0B\x1B", "", "11'\x0B' 27'\x1B' " },
    };
    for (const CleanCase& c : cases) {
        ExpectCleaned(c);
    }
}

TEST(WebCleanerTest, Utf8CharactersAreLookedUpByCodePoint)
{
    const CleanCase cases[] = {
        { "caf\xC3\xA9", "caf&eacute;", "" },
        { "\xE2\x82\xAC 5 \xC2\xA3", "&euro; 5 &pound;", "" },
        { "\xE2\x80\x9Cq\xE2\x80\x9D", "&quot;q&quot;", "" },
        { "\xE2\x80\x98s\xE2\x80\x99", "&#039;s&#039;", "" },
        { "\xE2\x80\xA6\xE2\x84\xA2", "...&trade;", "" },
        { "a\xE2\x80\x93"
          "b\xE2\x80\x94"
          "c\xC2\xA0",
            "a-b-c ", "" },
        { "\xC3\x9C\xC3\xBC\xC3\x9F", "&Uuml;&uuml;&szlig;", "" },
        { "\xC3\xA0", "", "224'\xC3\xA0' " },
        { "\xE6\x97\xA5!", "!", "26085'\xE6\x97\xA5' " },
        { "\xF0\x9F\x99\x82", "", "128578'\xF0\x9F\x99\x82' " },
        // The older tool's apostrophe, whatever the encoding it came in.
        { "\xC2\x81"
          "E",
            "&#039;", "" },
        { "\x01", "", "1'\x01' " },
    };
    for (const CleanCase& c : cases) {
        ExpectCleaned(c);
    }
}

} // namespace
} // namespace trawlit
