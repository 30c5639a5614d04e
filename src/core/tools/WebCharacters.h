#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trawlit {

// Bytes a web page may hold as they are: TAB, LF, FF, CR and printable ASCII.
inline bool IsKeptAsIs(unsigned char byte)
{
    return (byte >= 32 && byte <= 126) || byte == 9 || byte == 10 || byte == 12 || byte == 13;
}

// The entity or ASCII text that stands for a character, looked up by its code point.
std::optional<std::string_view> ReplacementFor(char32_t codePoint);

// Where the cleaning of one file goes.
class CleanupSink {
public:
    virtual ~CleanupSink() = default;
    // Text of the cleaned copy, in order.
    virtual void Keep(std::string_view text) = 0;
    // A character with no replacement: dropped from the copy. `character` is its UTF-8.
    virtual void Unmatched(std::uint32_t code, std::string_view character) = 0;
    // U+0081 (Windows-1252 byte 129) followed by anything but "E".
    virtual void NoEAfter129() = 0;
};

// Cleans a file's text, given as UTF-8 in pieces cut anywhere: kept bytes are copied,
// characters of the table are replaced, all others are dropped and reported. U+0081 followed
// by "E" stands for an apostrophe, as Windows-1252 byte 129 did in files of the older tool.
class WebCleaner {
public:
    explicit WebCleaner(CleanupSink& sink);
    void Feed(std::string_view text);
    void Finish();

private:
    // Cleans from `at` and returns where it stopped: the end, or a character the text ends
    // inside of, which waits for the next piece.
    std::size_t Clean(std::string_view text, std::size_t at);
    std::size_t AfterApostropheLead(std::string_view text, std::size_t at);
    void DropByte(unsigned char byte);

    CleanupSink& sink_;
    std::string tail_; // the start of a character that the next piece completes
    std::string joined_;
    bool leadHeld_ = false; // U+0081 ended the last piece: what follows decides
};

} // namespace trawlit
