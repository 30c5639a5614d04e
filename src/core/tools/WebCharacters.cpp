#include "core/tools/WebCharacters.h"

#include "core/text/TextDecode.h"

#include <array>

namespace trawlit {

namespace {

struct TableRow {
    unsigned char byte; // Windows-1252
    char32_t codePoint;
    const char* replacement;
};

constexpr std::array<TableRow, 37> kTable { {
    { 225, U'\u00E1', "&aacute;" },
    { 194, U'\u00C2', "&Acirc;" },
    { 195, U'\u00C3', "&Atilde;" },
    { 226, U'\u00E2', "&acirc;" },
    { 197, U'\u00C5', "&Aring;" },
    { 229, U'\u00E5', "&aring;" },
    { 230, U'\u00E6', "&aelig;" },
    { 228, U'\u00E4', "&auml;" },
    { 196, U'\u00C4', "&Auml;" },
    { 233, U'\u00E9', "&eacute;" },
    { 231, U'\u00E7', "&ccedil;" },
    { 169, U'\u00A9', "&copy;" },
    { 232, U'\u00E8', "&egrave;" },
    { 200, U'\u00C8', "&Egrave;" },
    { 234, U'\u00EA', "&ecirc;" },
    { 128, U'\u20AC', "&euro;" },
    { 248, U'\u00F8', "&oslash;" },
    { 216, U'\u00D8', "&Oslash;" },
    { 241, U'\u00F1', "&ntilde;" },
    { 246, U'\u00F6', "&ouml;" },
    { 214, U'\u00D6', "&Ouml;" },
    { 163, U'\u00A3', "&pound;" },
    { 148, U'\u201D', "&quot;" },
    { 147, U'\u201C', "&quot;" },
    { 145, U'\u2018', "&#039;" },
    { 146, U'\u2019', "&#039;" },
    { 180, U'\u00B4', "&#039;" },
    { 133, U'\u2026', "..." },
    { 150, U'\u2013', "-" },
    { 151, U'\u2014', "-" },
    { 189, U'\u00BD', "1/2" },
    { 223, U'\u00DF', "&szlig;" },
    { 153, U'\u2122', "&trade;" },
    { 220, U'\u00DC', "&Uuml;" },
    { 252, U'\u00FC', "&uuml;" },
    { 165, U'\u00A5', "&yen;" },
    { 160, U'\u00A0', " " },
} };

constexpr unsigned char kApostropheLead = 129;
constexpr const char* kApostrophe = "&#039;";

enum class Utf8Step : std::uint8_t { Complete, Incomplete, Invalid };

unsigned char ByteAt(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]);
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the multi-byte character at `at`.
Utf8Step DecodeUtf8(std::string_view text, std::size_t at, std::size_t& length, char32_t& codePoint)
{
    unsigned char low = 0;
    unsigned char high = 0;
    const unsigned char lead = ByteAt(text, at);
    length = Utf8SequenceShape(lead, low, high);
    if (length == 0) {
        return Utf8Step::Invalid;
    }
    codePoint = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (at + k >= text.size()) {
            return Utf8Step::Incomplete;
        }
        const unsigned char byte = ByteAt(text, at + k);
        if (k == 1 ? (byte < low || byte > high) : !IsContinuation(byte)) {
            return Utf8Step::Invalid;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return Utf8Step::Complete;
}

// `text` with what the last block left over in front; `joined` holds it when there was any.
std::string_view AfterTail(std::string& tail, std::string_view block, std::string& joined)
{
    if (tail.empty()) {
        return block;
    }
    joined.assign(tail).append(block);
    tail.clear();
    return joined;
}

} // namespace

bool IsKeptAsIs(unsigned char byte)
{
    return byte == 9 || byte == 10 || byte == 12 || byte == 13 || (byte >= 32 && byte <= 126);
}

std::optional<std::string_view> ReplacementForByte(unsigned char byte)
{
    for (const TableRow& row : kTable) {
        if (row.byte == byte) {
            return row.replacement;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> ReplacementForCodePoint(char32_t codePoint)
{
    for (const TableRow& row : kTable) {
        if (row.codePoint == codePoint) {
            return row.replacement;
        }
    }
    return std::nullopt;
}

void CleanupSurvey::Feed(std::string_view block)
{
    std::string joined;
    const std::string_view text = AfterTail(tail_, block, joined);
    std::size_t at = 0;
    while (at < text.size()) {
        const unsigned char byte = ByteAt(text, at);
        if (byte < 0x80) {
            needsCleaning_ = needsCleaning_ || !IsKeptAsIs(byte);
            ++at;
            continue;
        }
        needsCleaning_ = true;
        if (!validUtf8_) {
            return; // settled: nothing more to learn
        }
        std::size_t length = 0;
        char32_t codePoint = 0;
        switch (DecodeUtf8(text, at, length, codePoint)) {
        case Utf8Step::Complete:
            sawMultiByte_ = true;
            at += length;
            break;
        case Utf8Step::Incomplete:
            tail_.assign(text.substr(at));
            return;
        case Utf8Step::Invalid:
            validUtf8_ = false;
            return;
        }
    }
}

void CleanupSurvey::Finish()
{
    if (!tail_.empty()) {
        validUtf8_ = false; // the file ends inside a character
        tail_.clear();
    }
}

WebCleaner::WebCleaner(TextEncoding encoding, CleanupSink& sink)
    : encoding_(encoding)
    , sink_(sink)
{
}

void WebCleaner::Feed(std::string_view block)
{
    std::string joined;
    const std::string_view text = AfterTail(tail_, block, joined);
    const std::size_t used = Clean(text, false);
    tail_.assign(text.substr(used));
}

void WebCleaner::Finish()
{
    const std::string rest = std::move(tail_);
    tail_.clear();
    Clean(rest, true);
}

std::size_t WebCleaner::Clean(std::string_view text, bool atEnd)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t keptEnd = at;
        while (keptEnd < text.size() && IsKeptAsIs(ByteAt(text, keptEnd))) {
            ++keptEnd;
        }
        if (keptEnd > at) {
            sink_.Keep(text.substr(at, keptEnd - at));
            at = keptEnd;
            continue;
        }
        const std::size_t next = encoding_ == TextEncoding::Utf8 ? CleanUtf8(text, at, atEnd)
                                                                 : CleanByte(text, at, atEnd);
        if (next == at) {
            break; // the rest completes with the next block
        }
        at = next;
    }
    return at;
}

std::size_t WebCleaner::CleanByte(std::string_view text, std::size_t at, bool atEnd)
{
    const unsigned char byte = ByteAt(text, at);
    if (byte != kApostropheLead) {
        Replace(byte);
        return at + 1;
    }
    if (at + 1 == text.size()) {
        if (!atEnd) {
            return at;
        }
        sink_.Unmatched(byte, text.substr(at, 1)); // the last byte of the file: no message
        return at + 1;
    }
    if (text[at + 1] == 'E') {
        sink_.Keep(kApostrophe);
        return at + 2;
    }
    sink_.NoEAfter129();
    sink_.Unmatched(byte, text.substr(at, 1));
    return at + 1;
}

std::size_t WebCleaner::CleanUtf8(std::string_view text, std::size_t at, bool atEnd)
{
    const unsigned char byte = ByteAt(text, at);
    if (byte < 0x80) {
        sink_.Unmatched(byte, text.substr(at, 1));
        return at + 1;
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    switch (DecodeUtf8(text, at, length, codePoint)) {
    case Utf8Step::Complete:
        if (auto replacement = ReplacementForCodePoint(codePoint)) {
            sink_.Keep(*replacement);
        } else {
            sink_.Unmatched(codePoint, text.substr(at, length));
        }
        return at + length;
    case Utf8Step::Incomplete:
        if (!atEnd) {
            return at;
        }
        break;
    case Utf8Step::Invalid:
        break;
    }
    // Not UTF-8 after all (the file changed since it was surveyed): this byte alone.
    Replace(byte);
    return at + 1;
}

void WebCleaner::Replace(unsigned char byte)
{
    if (auto replacement = ReplacementForByte(byte)) {
        sink_.Keep(*replacement);
    } else {
        const char character = static_cast<char>(byte);
        sink_.Unmatched(byte, std::string_view(&character, 1));
    }
}

} // namespace trawlit
