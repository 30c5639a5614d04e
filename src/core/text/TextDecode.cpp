#include "core/text/TextDecode.h"

#include <array>
#include <cstring>

namespace trawlit {

namespace {

constexpr char32_t kReplacement = U'\uFFFD';

// Bytes 128 to 159 of Windows-1252; the five it leaves unassigned stand for the C1 controls
// of the same number, as browsers read them.
constexpr std::array<char16_t, 32> kHighControls { u'\u20AC', u'\u0081', u'\u201A', u'\u0192',
    u'\u201E', u'\u2026', u'\u2020', u'\u2021', u'\u02C6', u'\u2030', u'\u0160', u'\u2039',
    u'\u0152', u'\u008D', u'\u017D', u'\u008F', u'\u0090', u'\u2018', u'\u2019', u'\u201C',
    u'\u201D', u'\u2022', u'\u2013', u'\u2014', u'\u02DC', u'\u2122', u'\u0161', u'\u203A',
    u'\u0153', u'\u009D', u'\u017E', u'\u0178' };

unsigned char ByteAt(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]);
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The length of the UTF-8 sequence a lead byte starts and the range its second byte must lie
// in (which rules out overlong forms, surrogates and code points beyond U+10FFFF); 0 for a
// byte that starts none.
std::size_t SequenceShape(unsigned char lead, unsigned char& low, unsigned char& high)
{
    low = 0x80;
    high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF) {
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
        return 4;
    }
    return 0;
}

} // namespace

Utf8Step DecodeUtf8Step(
    std::string_view text, std::size_t at, char32_t& codePoint, std::size_t& length)
{
    const unsigned char lead = ByteAt(text, at);
    length = 1;
    if (lead < 0x80) {
        codePoint = lead;
        return Utf8Step::Complete;
    }
    unsigned char low = 0;
    unsigned char high = 0;
    const std::size_t shape = SequenceShape(lead, low, high);
    if (shape == 0)
        return Utf8Step::Invalid;
    char32_t decoded = lead & (0x7Fu >> shape);
    for (std::size_t k = 1; k < shape; ++k) {
        if (at + k == text.size()) {
            length = k;
            return Utf8Step::Incomplete;
        }
        const unsigned char byte = ByteAt(text, at + k);
        if (k == 1 ? (byte < low || byte > high) : (byte & 0xC0) != 0x80)
            return Utf8Step::Invalid;
        decoded = (decoded << 6) | (byte & 0x3Fu);
    }
    codePoint = decoded;
    length = shape;
    return Utf8Step::Complete;
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        // Eight ASCII bytes at a time: most lines are all ASCII.
        std::uint64_t word = 0;
        if (text.size() - at >= sizeof word) {
            std::memcpy(&word, text.data() + at, sizeof word);
            if ((word & 0x8080808080808080u) == 0) {
                at += sizeof word;
                continue;
            }
        }
        char32_t codePoint = 0;
        std::size_t length = 0;
        if (!DecodeUtf8At(text, at, codePoint, length))
            return false;
        at += length;
    }
    return true;
}

char* PutUtf8(char32_t codePoint, char* write)
{
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (codePoint < 0x80) {
        *write++ = byte(codePoint);
    } else if (codePoint < 0x800) {
        *write++ = byte(0xC0 | (codePoint >> 6));
        *write++ = byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *write++ = byte(0xE0 | (codePoint >> 12));
        *write++ = byte(0x80 | ((codePoint >> 6) & 0x3F));
        *write++ = byte(0x80 | (codePoint & 0x3F));
    } else {
        *write++ = byte(0xF0 | (codePoint >> 18));
        *write++ = byte(0x80 | ((codePoint >> 12) & 0x3F));
        *write++ = byte(0x80 | ((codePoint >> 6) & 0x3F));
        *write++ = byte(0x80 | (codePoint & 0x3F));
    }
    return write;
}

void AppendUtf8(char32_t codePoint, std::string& out)
{
    char bytes[4];
    out.append(bytes, static_cast<std::size_t>(PutUtf8(codePoint, bytes) - bytes));
}

char32_t Windows1252ToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80u];
    return byte;
}

std::optional<unsigned char> CodePointToWindows1252(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::string_view LineAsUtf8(std::string_view bytes, std::string& scratch)
{
    if (IsValidUtf8(bytes))
        return bytes;
    scratch.clear();
    for (const char c : bytes)
        AppendUtf8(Windows1252ToCodePoint(static_cast<unsigned char>(c)), scratch);
    return scratch;
}

std::optional<ByteOrder> Utf16Mark(std::string_view firstBytes)
{
    if (firstBytes.starts_with("\xFF\xFE"))
        return ByteOrder::LittleEndian;
    if (firstBytes.starts_with("\xFE\xFF"))
        return ByteOrder::BigEndian;
    return std::nullopt;
}

// Writes into room made ahead: a unit gives at most three bytes, a pair four, and a surrogate
// left waiting by the last piece three more.
void Utf16Decoder::Feed(std::string_view bytes, std::string& out)
{
    const std::size_t start = out.size();
    out.resize(start + (bytes.size() / 2 + 1) * 3 + 3);
    char* write = out.data() + start;
    std::size_t at = 0;
    if (oddByte_ && !bytes.empty()) {
        write = Unit(Join(*oddByte_, ByteAt(bytes, 0)), write);
        oddByte_.reset();
        at = 1;
    }
    for (; at + 1 < bytes.size(); at += 2) {
        const char16_t unit = Join(ByteAt(bytes, at), ByteAt(bytes, at + 1));
        if (unit < 0x80 && highSurrogate_ == 0)
            *write++ = static_cast<char>(unit);
        else
            write = Unit(unit, write);
    }
    if (at < bytes.size())
        oddByte_ = ByteAt(bytes, at);
    out.resize(static_cast<std::size_t>(write - out.data()));
}

char16_t Utf16Decoder::Join(unsigned char first, unsigned char second) const
{
    const unsigned high = order_ == ByteOrder::LittleEndian ? second : first;
    const unsigned low = order_ == ByteOrder::LittleEndian ? first : second;
    return static_cast<char16_t>((high << 8) | low);
}

char* Utf16Decoder::Unit(char16_t unit, char* write)
{
    if (highSurrogate_ != 0) {
        const char16_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (IsLowSurrogate(unit))
            return PutUtf8(
                0x10000 + ((char32_t { high } - 0xD800) << 10) + (unit - 0xDC00u), write);
        write = PutUtf8(kReplacement, write);
    }
    if (IsHighSurrogate(unit)) {
        highSurrogate_ = unit;
        return write;
    }
    return PutUtf8(IsLowSurrogate(unit) ? kReplacement : char32_t { unit }, write);
}

void Utf16Decoder::Finish(std::string& out)
{
    if (highSurrogate_ != 0)
        AppendUtf8(kReplacement, out);
    if (oddByte_)
        AppendUtf8(kReplacement, out);
    highSurrogate_ = 0;
    oddByte_.reset();
}

} // namespace trawlit
