#include "core/text/NameTokens.h"

#include "core/text/AsciiCase.h"

#include "core/text/TextHelpers.h"

#include <cstddef>

namespace trawlit {

namespace {

constexpr int kEmptyToken = -1;

int ToPosition(std::size_t index)
{
    return static_cast<int>(index);
}

bool IsSeparator(char c, PathSyntax syntax)
{
    if (syntax == PathSyntax::Windows)
        return c == '\\' || c == ':';
    return c == '/';
}

void StoreToken(std::vector<int>& starts, std::vector<int>& ends, int count, int start, int end)
{
    const auto index = static_cast<std::size_t>(count);
    if (starts.size() <= index)
        starts.resize(index + 1, 0);
    if (ends.size() <= index)
        ends.resize(index + 1, 0);
    starts[index] = start;
    ends[index] = end;
}

// Position (from 1) of the last non-blank character before `delimiterPos`, not before
// `tokenStart`; a token opened with trimming always starts at a non-blank.
int LastNonBlankBefore(const std::string& text, int tokenStart, int delimiterPos)
{
    int end = delimiterPos - 1;
    while (end > tokenStart && text[static_cast<std::size_t>(end - 1)] == ' ')
        --end;
    return end;
}

} // namespace

void FINDTOK2(const std::string& text, int& count, int maxTokens, std::vector<int>& starts,
    std::vector<int>& ends, const std::string& delimiters, int flags)
{
    count = 0;
    if (maxTokens <= 0)
        return; // nothing may be stored
    const bool trimBlanks = (flags & TokenFlags::TrimBlanks) != 0;
    const bool skipEmpty = (flags & TokenFlags::SkipEmpty) != 0;
    int tokenStart = 0;
    for (std::size_t index = 0; index <= text.size(); ++index) {
        const int pos = ToPosition(index + 1);
        // Past the end, the first delimiter closes a token that runs to the end of the text.
        // With no delimiters there is no such sentinel and the last token stays open.
        if (index == text.size() && delimiters.empty())
            return;
        const char c = index < text.size() ? text[index] : delimiters.front();
        if (delimiters.find(c) == std::string::npos) {
            if (tokenStart == 0 && !(trimBlanks && c == ' '))
                tokenStart = pos;
            continue;
        }
        if (tokenStart != 0) {
            ++count;
            const int end = trimBlanks ? LastNonBlankBefore(text, tokenStart, pos) : pos - 1;
            StoreToken(starts, ends, count, tokenStart, end);
        } else if (!skipEmpty) {
            ++count;
            StoreToken(starts, ends, count, kEmptyToken, kEmptyToken);
        }
        tokenStart = 0;
        if (count >= maxTokens)
            return;
    }
}

void ENAMEPOS(const std::string& path, int& start, int& end, PathSyntax syntax)
{
    const std::size_t n = path.size();
    std::size_t first = 0; // index where the last component begins
    for (std::size_t i = n; i > 0; --i) {
        if (IsSeparator(path[i - 1], syntax)) {
            first = i;
            break;
        }
    }
    std::size_t afterLast = n; // index one past the base name
    for (std::size_t i = n; i > first; --i) {
        if (path[i - 1] == '.') {
            afterLast = i - 1;
            break;
        }
    }
    start = ToPosition(first + 1);
    end = ToPosition(afterLast);
}

std::string ENAME(const std::string& path, PathSyntax syntax)
{
    int start = 0;
    int end = 0;
    ENAMEPOS(path, start, end, syntax);
    if (end < start)
        return {};
    return path.substr(
        static_cast<std::size_t>(start - 1), static_cast<std::size_t>(end - start + 1));
}

void EEXTPOS(const std::string& path, int& dot, int& end, PathSyntax syntax)
{
    std::size_t dotIndex = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsSeparator(path[i], syntax))
            dotIndex = std::string::npos;
        else if (path[i] == '.')
            dotIndex = i;
    }
    if (dotIndex == std::string::npos) {
        dot = 0;
        end = 0;
        return;
    }
    dot = ToPosition(dotIndex + 1);
    end = ToPosition(path.size());
}

std::string EEXT(const std::string& path, PathSyntax syntax)
{
    int dot = 0;
    int end = 0;
    EEXTPOS(path, dot, end, syntax);
    if (dot == 0 || end <= dot)
        return {};
    std::string extension = path.substr(static_cast<std::size_t>(dot - 1));
    for (char& c : extension)
        c = AsciiUpper(c);
    return extension;
}

std::string Ampersand(const std::string& text)
{
    std::string doubled = text;
    ReplaceString(doubled, "&", "&&");
    return doubled;
}

} // namespace trawlit
