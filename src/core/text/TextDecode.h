#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trawlit {

// How files become text: UTF-16 with a byte-order mark is decoded; everything else is UTF-8
// where it is valid and Windows-1252 where it is not. All text handed on is UTF-8.

// What starts at a position of a text: a whole UTF-8 character, the start of one that the
// text ends inside (`length` = the bytes there are), or a byte that starts none (`length` 1).
enum class Utf8Step : std::uint8_t { Complete, Incomplete, Invalid };
Utf8Step DecodeUtf8Step(
    std::string_view text, std::size_t at, char32_t& codePoint, std::size_t& length);

// The character at `at`: its code point and length, or false (and a length of 1) when no
// complete, valid UTF-8 sequence starts there. ASCII and two-byte characters, the most
// common, are decoded here.
inline bool DecodeUtf8At(
    std::string_view text, std::size_t at, char32_t& codePoint, std::size_t& length)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        codePoint = lead;
        length = 1;
        return true;
    }
    if (lead >= 0xC2 && lead <= 0xDF && at + 1 < text.size()) {
        const auto next = static_cast<unsigned char>(text[at + 1]);
        if ((next & 0xC0) == 0x80) {
            codePoint = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
            length = 2;
            return true;
        }
    }
    if (DecodeUtf8Step(text, at, codePoint, length) == Utf8Step::Complete)
        return true;
    length = 1;
    return false;
}

bool IsValidUtf8(std::string_view text);

void AppendUtf8(char32_t codePoint, std::string& out);
// Writes the one to four bytes of a character; returns the end.
char* PutUtf8(char32_t codePoint, char* write);

char32_t Windows1252ToCodePoint(unsigned char byte);
std::optional<unsigned char> CodePointToWindows1252(char32_t codePoint);

// A line's text: its bytes when they are valid UTF-8, else the bytes read as Windows-1252,
// written into `scratch`.
std::string_view LineAsUtf8(std::string_view bytes, std::string& scratch);

enum class ByteOrder : std::uint8_t { LittleEndian, BigEndian };

// The byte order a UTF-16 byte-order mark at the start of `firstBytes` announces.
std::optional<ByteOrder> Utf16Mark(std::string_view firstBytes);

// UTF-16 to UTF-8, fed in pieces of any size. Unpaired surrogates and a final odd byte
// become U+FFFD, so the output is always valid UTF-8.
class Utf16Decoder {
public:
    explicit Utf16Decoder(ByteOrder order)
        : order_(order)
    {
    }
    void Feed(std::string_view bytes, std::string& out);
    void Finish(std::string& out);

private:
    char16_t Join(unsigned char first, unsigned char second) const;
    char* Unit(char16_t unit, char* write);

    ByteOrder order_;
    std::optional<unsigned char> oddByte_;
    char16_t highSurrogate_ = 0;
};

} // namespace trawlit
