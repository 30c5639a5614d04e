#include "core/text/TextHelpers.h"

#include "core/text/AsciiCase.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>

#include "core/text/TextTrim.h"

namespace trawlit {

namespace {

bool IsAsciiLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || IsAsciiLetter(c);
}

std::size_t FindFrom(
    const std::string& text, const std::string& find, std::size_t start, bool ignoreCase)
{
    if (!ignoreCase)
        return text.find(find, start);
    const auto begin = text.begin() + static_cast<std::ptrdiff_t>(start);
    const auto hit
        = std::search(begin, text.end(), find.begin(), find.end(), SameIgnoringAsciiCase);
    return hit == text.end() ? std::string::npos : static_cast<std::size_t>(hit - text.begin());
}

// True when the characters next to text[pos, pos + length) satisfy the mode's conditions.
bool NeighboursAllow(
    const std::string& text, std::size_t pos, std::size_t length, std::uint8_t mode)
{
    // The text's start and end bound an occurrence like a blank does.
    const char before = pos > 0 ? text[pos - 1] : ' ';
    const char after = pos + length < text.size() ? text[pos + length] : ' ';
    if ((mode & ReplaceMode::BlankBounded) != 0 && (before != ' ' || after != ' '))
        return false;
    if ((mode & ReplaceMode::NotInWord) != 0
        && (IsAsciiLetterOrDigit(before) || IsAsciiLetterOrDigit(after)))
        return false;
    return true;
}

// Integral values without decimals, others in their shortest round-trip decimal form.
std::string FormatCount(double count)
{
    if (count == 0.0)
        count = 0.0; // no "-0"
    std::array<char, 400> buffer {}; // enough for any double in fixed notation
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), count, std::chars_format::fixed);
    std::string digits(buffer.data(), result.ptr);
    return count < 0.0 ? digits : " " + digits;
}

bool IsWhiteOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

void ReplaceString(
    std::string& text, const std::string& find, const std::string& replacement, std::uint8_t mode)
{
    if (find.empty())
        return; // would match everywhere and never advance
    const bool ignoreCase = (mode & ReplaceMode::IgnoreCase) != 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t pos = FindFrom(text, find, start, ignoreCase);
        if (pos == std::string::npos)
            return;
        if (!NeighboursAllow(text, pos, find.size(), mode)) {
            start = pos + 1;
            continue;
        }
        text.replace(pos, find.size(), replacement);
        start = pos + replacement.size();
    }
}

std::string PLURAL(double count, const std::string& noun, std::uint8_t flags)
{
    std::string result;
    if ((flags & PluralFlags::NounOnly) != 0) {
        result = noun;
    } else {
        result = FormatCount(count);
        if ((flags & PluralFlags::NoLeadingBlank) != 0)
            result.erase(0, result.find_first_not_of(' '));
        if ((flags & PluralFlags::Period) != 0)
            result += '.';
        result += ' ';
        result += noun;
    }
    if (count == 1.0)
        return result;
    if ((flags & PluralFlags::Ies) != 0) {
        if (!result.empty())
            result.pop_back();
        result += "ies";
    } else if ((flags & PluralFlags::Es) != 0) {
        result += "es";
    } else {
        result += 's';
    }
    return result;
}

std::string RJustify(const std::string& text, int width)
{
    const std::string trimmed = TrimBlanks(text);
    if (width <= 0 || trimmed.size() >= static_cast<std::size_t>(width))
        return trimmed;
    return std::string(static_cast<std::size_t>(width) - trimmed.size(), ' ') + trimmed;
}

void RMEXTSP(std::string& text)
{
    std::size_t written = 0;
    bool inRun = false;
    for (std::size_t read = 0; read < text.size(); ++read) {
        const char c = text[read];
        if (IsWhiteOrControl(c)) {
            if (!inRun)
                text[written++] = ' ';
            inRun = true;
        } else {
            text[written++] = c;
            inRun = false;
        }
    }
    text.resize(written);
}

std::int16_t T_OR_F(bool value)
{
    return value ? 1 : 0;
}

std::string YesOrNo(bool value)
{
    return value ? "Yes" : "No";
}

} // namespace trawlit
