#include "core/text/CaseFold.h"

#include "core/text/AsciiCase.h"
#include "core/text/TextDecode.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utf8proc.h>

namespace trawlit {

namespace {

// Characters with case live below U+20000.
constexpr char32_t kCasedLimit = 0x20000;

char32_t UnicodeSimpleFold(char32_t codePoint)
{
    // utf8proc folds fully (ß to "ss"); where the full folding is one character it is also
    // the simple one, elsewhere the simple folding is the lower-case mapping.
    utf8proc_int32_t folded[4] {};
    int boundclass = 0;
    const auto count = utf8proc_decompose_char(
        static_cast<utf8proc_int32_t>(codePoint), folded, 4, UTF8PROC_CASEFOLD, &boundclass);
    if (count == 1)
        return static_cast<char32_t>(folded[0]);
    return static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(codePoint)));
}

using VariantTable = std::unordered_map<char32_t, std::vector<char32_t>>;

// Folded character to the others folding to it; built once, on the first need.
const VariantTable& Variants()
{
    static const VariantTable table = [] {
        VariantTable built;
        for (char32_t c = 0x80; c < kCasedLimit; ++c) {
            const char32_t folded = FoldCharacter(c);
            if (folded != c)
                built[folded].push_back(c);
        }
        return built;
    }();
    return table;
}

char32_t FoldOutsideAscii(char32_t codePoint)
{
    const char32_t folded = UnicodeSimpleFold(codePoint);
    return folded < 0x80 ? codePoint : folded;
}

// The characters of the basic plane fold by table: lines are folded whole, character by
// character.
constexpr char32_t kTableLimit = 0x10000;

const std::vector<char32_t>& BasicPlaneFolds()
{
    static const std::vector<char32_t> table = [] {
        std::vector<char32_t> built(kTableLimit);
        for (char32_t c = 0; c < kTableLimit; ++c)
            built[c] = c < 0x80 ? c : FoldOutsideAscii(c);
        return built;
    }();
    return table;
}

// A folded character is never more than twice as long as the bytes it came from.
bool AppendFoldedUtf8(std::string_view text, std::string& out, bool keepInvalid)
{
    const std::vector<char32_t>* table = nullptr;
    const std::size_t start = out.size();
    out.resize(start + 2 * text.size());
    char* write = out.data() + start;
    bool valid = true;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (static_cast<unsigned char>(c) < 0x80) {
            *write++ = AsciiLower(c);
            ++at;
            continue;
        }
        char32_t codePoint = 0;
        std::size_t length = 0;
        if (DecodeUtf8At(text, at, codePoint, length)) {
            if (table == nullptr)
                table = &BasicPlaneFolds(); // taken by the first character beyond ASCII
            write = PutUtf8(
                codePoint < kTableLimit ? (*table)[codePoint] : FoldCharacter(codePoint), write);
            at += length;
            continue;
        }
        valid = false;
        if (!keepInvalid)
            break;
        *write++ = c;
        ++at;
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
    return valid;
}

} // namespace

char32_t FoldCharacter(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<char32_t>(AsciiLower(static_cast<char>(codePoint)));
    if (codePoint < kTableLimit)
        return BasicPlaneFolds()[codePoint];
    if (codePoint >= kCasedLimit)
        return codePoint;
    return FoldOutsideAscii(codePoint);
}

void AppendFolded(std::string_view text, std::string& out)
{
    AppendFoldedUtf8(text, out, true);
}

bool AppendFoldedIfValid(std::string_view text, std::string& out)
{
    return AppendFoldedUtf8(text, out, false);
}

std::vector<char32_t> CaseVariants(char32_t codePoint)
{
    const char32_t folded = FoldCharacter(codePoint);
    std::vector<char32_t> variants { folded };
    const auto found = Variants().find(folded);
    if (found != Variants().end())
        variants.insert(variants.end(), found->second.begin(), found->second.end());
    if (std::ranges::find(variants, codePoint) == variants.end())
        variants.push_back(codePoint);
    return variants;
}

bool IsAllAscii(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace trawlit
