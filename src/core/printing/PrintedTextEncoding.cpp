#include "core/printing/PrintedTextEncoding.h"

#include <array>

namespace trawlit {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five it leaves undefined keep their C1 code points.
constexpr std::array<char32_t, 32> kWindows1252High { U'\u20AC', U'\u0081', U'\u201A', U'\u0192',
    U'\u201E', U'\u2026', U'\u2020', U'\u2021', U'\u02C6', U'\u2030', U'\u0160', U'\u2039',
    U'\u0152', U'\u008D', U'\u017D', U'\u008F', U'\u0090', U'\u2018', U'\u2019', U'\u201C',
    U'\u201D', U'\u2022', U'\u2013', U'\u2014', U'\u02DC', U'\u2122', U'\u0161', U'\u203A',
    U'\u0153', U'\u009D', U'\u017E', U'\u0178' };

unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
}

// The length of the character a lead byte starts; 0 for a byte no character starts with.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
bool FitsAfterLead(unsigned char lead, unsigned char second)
{
    switch (lead) {
    case 0xE0:
        return second >= 0xA0 && second <= 0xBF;
    case 0xED:
        return second >= 0x80 && second <= 0x9F;
    case 0xF0:
        return second >= 0x90 && second <= 0xBF;
    case 0xF4:
        return second >= 0x80 && second <= 0x8F;
    default:
        return second >= 0x80 && second <= 0xBF;
    }
}

struct Utf8Scan {
    bool valid = true;
    std::size_t cutAtEnd = 0; // bytes of a character the text ends in the middle of
};

Utf8Scan ScanUtf8(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const unsigned char lead = Byte(text[at]);
        const std::size_t length = SequenceLength(lead);
        if (length == 0)
            return { false, 0 };
        std::size_t seen = 1;
        for (; seen < length && at + seen < text.size(); ++seen) {
            const unsigned char next = Byte(text[at + seen]);
            const bool fits = seen == 1 ? FitsAfterLead(lead, next) : next >= 0x80 && next <= 0xBF;
            if (!fits)
                return { false, 0 };
        }
        if (seen < length)
            return { true, text.size() - at };
        at += length;
    }
    return {};
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t Windows1252CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80U] : char32_t { byte };
}

} // namespace

std::string PrintableUtf8(std::string_view text)
{
    const Utf8Scan scan = ScanUtf8(text);
    if (scan.valid && scan.cutAtEnd == 0)
        return std::string(text);
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text)
        AppendUtf8(out, Windows1252CodePoint(Byte(c)));
    return out;
}

std::size_t Utf8CharacterCutAtEnd(std::string_view text)
{
    const Utf8Scan scan = ScanUtf8(text);
    return scan.valid ? scan.cutAtEnd : 0;
}

} // namespace trawlit
