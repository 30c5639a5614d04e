#include "core/text/CaseFold.h"
#include "core/text/TextDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace trawlit {
namespace {

using namespace std::string_literals;

using namespace std::string_literals;

std::string Folded(std::string_view text)
{
    std::string out;
    AppendFolded(text, out);
    return out;
}

TEST(CaseFold, FoldsEveryLetterOneForOne)
{
    const struct {
        const char* text;
        const char* folded;
    } kCases[] = {
        { "ABC xyz 09_", "abc xyz 09_" }, { "\u00C9\u00C4\u00D6", "\u00E9\u00E4\u00F6" }, // ÉÄÖ
        { "\u0414\u043E\u041C", "\u0434\u043E\u043C" }, // Дом
        { "\u03A3\u03C3\u03C2", "\u03C3\u03C3\u03C3" }, // Σσς
        { "\u1E9E\u00DF", "\u00DF\u00DF" }, // ẞ and ß: never "ss"
        { "\u0178\u0152", "\u00FF\u0153" }, // ŸŒ of Windows-1252
        { "\u212A\u017F\u0130", "\u212A\u017F\u0130" }, // nothing folds into ASCII
        { "\xC3(\xE9", "\xC3(\xE9" }, // bytes that are no UTF-8 are kept
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Folded(c.text), c.folded) << c.text;
}

TEST(CaseFold, VariantsAreEveryCharacterFoldingAlike)
{
    auto sorted = [](std::vector<char32_t> v) {
        std::ranges::sort(v);
        return v;
    };
    EXPECT_EQ(sorted(CaseVariants(U'\u03C2')), (std::vector<char32_t> { 0x3A3, 0x3C2, 0x3C3 }));
    EXPECT_EQ(sorted(CaseVariants(U'\u00E9')), (std::vector<char32_t> { 0xC9, 0xE9 }));
    EXPECT_EQ(sorted(CaseVariants(U'\u00DF')), (std::vector<char32_t> { 0xDF, 0x1E9E }));
}

TEST(TextDecode, LineIsUtf8WhereValidElseWindows1252)
{
    const struct {
        std::string bytes;
        const char* text;
    } kCases[] = {
        { "plain", "plain" }, { "caf\u00E9 \u20AC", "caf\u00E9 \u20AC" },
        { "caf\xE9", "caf\u00E9" }, { "\x80\x8A\x9F\xFF", "\u20AC\u0160\u0178\u00FF" },
        { "\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D" }, // unassigned: C1 controls
        { "\xC3", "\u00C3" }, // cut-off sequence
        { "\xED\xA0\x80", "\u00ED\u00A0\u20AC" }, // encoded surrogate
        { "\xC0\xAF", "\u00C0\u00AF" }, // overlong
    };
    for (const auto& c : kCases) {
        std::string scratch;
        EXPECT_EQ(LineAsUtf8(c.bytes, scratch), c.text) << c.bytes;
        EXPECT_TRUE(IsValidUtf8(LineAsUtf8(c.bytes, scratch)));
    }
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        const char32_t character = Windows1252ToCodePoint(static_cast<unsigned char>(byte));
        EXPECT_EQ(CodePointToWindows1252(character), byte) << byte;
    }
}

TEST(TextDecode, Utf16InAnyPieces)
{
    const struct {
        std::string bytes;
        const char* text;
    } kCases[] = {
        { "\xFF\xFE\x41\0\xE9\0\r\0\n\0"s, "A\u00E9\r\n" },
        { "\xFE\xFF\0\x41\x04\x14"s, "A\u0414" }, { "\xFF\xFE\x3D\xD8\x00\xDE"s, "\U0001F600" },
        { "\xFF\xFE\x3D\xD8\x41"s, "\uFFFD\uFFFD" }, // lone high surrogate, odd byte
        { "\xFE\xFF\xDC\x00\x00\x41"s, "\uFFFDA" }, // lone low surrogate
    };
    for (const auto& c : kCases) {
        const auto order = Utf16Mark(c.bytes);
        ASSERT_TRUE(order.has_value());
        for (std::size_t piece = 1; piece <= 3; ++piece) {
            Utf16Decoder decoder(*order);
            std::string out;
            for (std::size_t at = 2; at < c.bytes.size(); at += piece)
                decoder.Feed(std::string_view(c.bytes).substr(at, piece), out);
            decoder.Finish(out);
            EXPECT_EQ(out, c.text) << "pieces of " << piece;
        }
    }
    EXPECT_FALSE(Utf16Mark("\xEF\xBB\xBFx").has_value());
    EXPECT_FALSE(Utf16Mark("\xFF").has_value());
}

} // namespace
} // namespace trawlit
