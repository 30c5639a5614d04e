#include "core/tools/WebCharacters.h"

#include "core/text/TextDecode.h"

#include <array>

namespace trawlit {

namespace {

// The characters of the older tool's Windows-1252 table, by their code points.
struct TableRow {
    char32_t codePoint;
    const char* replacement;
};

constexpr std::array<TableRow, 37> kTable { {
    { U'\u00E1', "&aacute;" },
    { U'\u00C2', "&Acirc;" },
    { U'\u00C3', "&Atilde;" },
    { U'\u00E2', "&acirc;" },
    { U'\u00C5', "&Aring;" },
    { U'\u00E5', "&aring;" },
    { U'\u00E6', "&aelig;" },
    { U'\u00E4', "&auml;" },
    { U'\u00C4', "&Auml;" },
    { U'\u00E9', "&eacute;" },
    { U'\u00E7', "&ccedil;" },
    { U'\u00A9', "&copy;" },
    { U'\u00E8', "&egrave;" },
    { U'\u00C8', "&Egrave;" },
    { U'\u00EA', "&ecirc;" },
    { U'\u20AC', "&euro;" },
    { U'\u00F8', "&oslash;" },
    { U'\u00D8', "&Oslash;" },
    { U'\u00F1', "&ntilde;" },
    { U'\u00F6', "&ouml;" },
    { U'\u00D6', "&Ouml;" },
    { U'\u00A3', "&pound;" },
    { U'\u201D', "&quot;" },
    { U'\u201C', "&quot;" },
    { U'\u2018', "&#039;" },
    { U'\u2019', "&#039;" },
    { U'\u00B4', "&#039;" },
    { U'\u2026', "..." },
    { U'\u2013', "-" },
    { U'\u2014', "-" },
    { U'\u00BD', "1/2" },
    { U'\u00DF', "&szlig;" },
    { U'\u2122', "&trade;" },
    { U'\u00DC', "&Uuml;" },
    { U'\u00FC', "&uuml;" },
    { U'\u00A5', "&yen;" },
    { U'\u00A0', " " },
} };

constexpr char32_t kApostropheLead = U'\u0081';
constexpr std::string_view kApostropheLeadUtf8 = "\xC2\x81";
constexpr const char* kApostrophe = "&#039;";

} // namespace

std::optional<std::string_view> ReplacementFor(char32_t codePoint)
{
    for (const TableRow& row : kTable) {
        if (row.codePoint == codePoint) {
            return row.replacement;
        }
    }
    return std::nullopt;
}

WebCleaner::WebCleaner(CleanupSink& sink)
    : sink_(sink)
{
}

void WebCleaner::Feed(std::string_view piece)
{
    std::string_view text = piece;
    if (!tail_.empty()) {
        joined_.assign(tail_).append(piece);
        tail_.clear();
        text = joined_;
    }
    const std::size_t used = Clean(text, 0);
    tail_.assign(text.substr(used));
}

void WebCleaner::Finish()
{
    if (leadHeld_) {
        leadHeld_ = false;
        sink_.Unmatched(kApostropheLead, kApostropheLeadUtf8); // the file's last character
    }
    const std::string cut = std::move(tail_); // the file ends inside a character
    tail_.clear();
    for (const char byte : cut) {
        DropByte(static_cast<unsigned char>(byte));
    }
}

std::size_t WebCleaner::Clean(std::string_view text, std::size_t at)
{
    if (leadHeld_ && at < text.size()) {
        leadHeld_ = false;
        at = AfterApostropheLead(text, at);
    }
    while (at < text.size()) {
        std::size_t keptEnd = at;
        while (keptEnd < text.size() && IsKeptAsIs(static_cast<unsigned char>(text[keptEnd]))) {
            ++keptEnd;
        }
        if (keptEnd > at) {
            sink_.Keep(text.substr(at, keptEnd - at));
            at = keptEnd;
            continue;
        }
        char32_t codePoint = 0;
        std::size_t length = 0;
        const Utf8Step step = DecodeUtf8Step(text, at, codePoint, length);
        if (step == Utf8Step::Incomplete) {
            return at;
        }
        if (step == Utf8Step::Invalid) {
            // Text comes as UTF-8; a stray byte is read as Windows-1252 all the same.
            DropByte(static_cast<unsigned char>(text[at]));
            ++at;
            continue;
        }
        const std::size_t next = at + length;
        if (codePoint == kApostropheLead) {
            if (next == text.size()) {
                leadHeld_ = true;
                return next;
            }
            at = AfterApostropheLead(text, next);
            continue;
        }
        if (auto replacement = ReplacementFor(codePoint)) {
            sink_.Keep(*replacement);
        } else {
            sink_.Unmatched(codePoint, text.substr(at, length));
        }
        at = next;
    }
    return at;
}

// `at` is just after a U+0081 that something follows.
std::size_t WebCleaner::AfterApostropheLead(std::string_view text, std::size_t at)
{
    if (text[at] == 'E') {
        sink_.Keep(kApostrophe);
        return at + 1;
    }
    sink_.NoEAfter129();
    sink_.Unmatched(kApostropheLead, kApostropheLeadUtf8);
    return at;
}

void WebCleaner::DropByte(unsigned char byte)
{
    const char32_t codePoint = Windows1252ToCodePoint(byte);
    if (auto replacement = ReplacementFor(codePoint)) {
        sink_.Keep(*replacement);
        return;
    }
    std::string character;
    AppendUtf8(codePoint, character);
    sink_.Unmatched(codePoint, character);
}

} // namespace trawlit
