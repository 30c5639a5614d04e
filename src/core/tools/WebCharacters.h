#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trawlit {

// Bytes a web page may hold as they are: TAB, LF, FF, CR and printable ASCII.
bool IsKeptAsIs(unsigned char byte);

// The entity or ASCII text that stands for a Windows-1252 byte, or nothing.
std::optional<std::string_view> ReplacementForByte(unsigned char byte);
// The same for a Unicode character, looked up by its code point.
std::optional<std::string_view> ReplacementForCodePoint(char32_t codePoint);

// How a file's text is read: byte by byte as Windows-1252, or as UTF-8 characters.
enum class TextEncoding : std::uint8_t { Windows1252, Utf8 };

// A first look at a file, block by block: does it need cleaning, and is it UTF-8? A file is
// read as UTF-8 when all of it is valid UTF-8 and it holds at least one multi-byte character.
class CleanupSurvey {
public:
    void Feed(std::string_view block);
    void Finish();
    // True once the blocks seen so far settle both questions: more cannot change them.
    bool Settled() const { return needsCleaning_ && !validUtf8_; }
    bool NeedsCleaning() const { return needsCleaning_; }
    TextEncoding Encoding() const
    {
        return validUtf8_ && sawMultiByte_ ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    }

private:
    std::string tail_; // the start of a character the next block completes
    bool needsCleaning_ = false;
    bool validUtf8_ = true;
    bool sawMultiByte_ = false;
};

// Where the cleaning of one file goes.
class CleanupSink {
public:
    virtual ~CleanupSink() = default;
    // Text of the cleaned copy, in order.
    virtual void Keep(std::string_view text) = 0;
    // A character with no replacement: dropped from the copy. `character` is its bytes.
    virtual void Unmatched(std::uint32_t code, std::string_view character) = 0;
    // Byte 129 followed by anything but "E".
    virtual void NoEAfter129() = 0;
};

// Cleans a file's text block by block: kept bytes are copied, characters of the table are
// replaced, all others are dropped and reported. Windows-1252 byte 129 followed by "E"
// stands for an apostrophe.
class WebCleaner {
public:
    WebCleaner(TextEncoding encoding, CleanupSink& sink);
    void Feed(std::string_view block);
    void Finish();

private:
    // Cleans what it can and returns how much of `text` it used; the rest waits for the
    // next block unless `atEnd`.
    std::size_t Clean(std::string_view text, bool atEnd);
    std::size_t CleanByte(std::string_view text, std::size_t at, bool atEnd);
    std::size_t CleanUtf8(std::string_view text, std::size_t at, bool atEnd);
    void Replace(unsigned char byte);

    TextEncoding encoding_;
    CleanupSink& sink_;
    std::string tail_;
};

} // namespace trawlit
