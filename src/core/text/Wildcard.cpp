#include "core/text/Wildcard.h"

#include "core/text/AsciiCase.h"

#include <cstddef>

namespace trawlit {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

std::string_view TrimmedPart(std::string_view part)
{
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t'))
        part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t'))
        part.remove_suffix(1);
    return part;
}

// One past the "]" closing the class that opens at `at`; kNone when nothing closes it. A "]"
// right after the opening (or after its "!" or "^") is a member, not the end.
std::size_t ClassEnd(std::string_view wildcard, std::size_t at)
{
    std::size_t i = at + 1;
    if (i < wildcard.size() && (wildcard[i] == '!' || wildcard[i] == '^'))
        ++i;
    if (i < wildcard.size() && wildcard[i] == ']')
        ++i;
    const std::size_t close = wildcard.find(']', i);
    return close == kNone ? kNone : close + 1;
}

bool InRange(char low, char high, char c)
{
    const auto inside = [low, high](char x) {
        const auto u = static_cast<unsigned char>(x);
        return static_cast<unsigned char>(low) <= u && u <= static_cast<unsigned char>(high);
    };
    return inside(c) || inside(AsciiLower(c)) || inside(AsciiUpper(c));
}

// `members` is what stands between "[" and "]".
bool InClass(std::string_view members, char c)
{
    const bool negated = !members.empty() && (members.front() == '!' || members.front() == '^');
    if (negated)
        members.remove_prefix(1);
    bool found = false;
    for (std::size_t i = 0; i < members.size() && !found; ++i) {
        if (i + 2 < members.size() && members[i + 1] == '-') {
            found = InRange(members[i], members[i + 2], c);
            i += 2;
        } else {
            found = SameIgnoringAsciiCase(members[i], c);
        }
    }
    return found != negated;
}

// How many characters of the wildcard from `w` stand for the name's character `c`: 0 when
// they do not match it.
std::size_t MatchOne(std::string_view wildcard, std::size_t w, char c)
{
    if (wildcard[w] == '?')
        return 1;
    if (wildcard[w] == '[') {
        const std::size_t end = ClassEnd(wildcard, w);
        if (end != kNone)
            return InClass(wildcard.substr(w + 1, end - w - 2), c) ? end - w : 0;
    }
    return SameIgnoringAsciiCase(wildcard[w], c) ? 1 : 0;
}

} // namespace

bool WildcardPartMatches(std::string_view wildcard, std::string_view name)
{
    if (wildcard == "*.*")
        return true;
    // Greedy scan that backtracks only to the most recent "*": linear for ordinary
    // templates, never exponential.
    std::size_t w = 0;
    std::size_t n = 0;
    std::size_t starAt = kNone;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        std::size_t width = 0;
        if (w < wildcard.size() && wildcard[w] == '*') {
            starAt = w++;
            resumeAt = n;
        } else if (w < wildcard.size() && (width = MatchOne(wildcard, w, name[n])) != 0) {
            w += width;
            ++n;
        } else if (starAt != kNone) {
            w = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == '*')
        ++w;
    return w == wildcard.size();
}

std::vector<std::string_view> TemplateParts(std::string_view fileTemplate)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= fileTemplate.size();) {
        std::size_t end = fileTemplate.find(';', start);
        if (end == kNone)
            end = fileTemplate.size();
        const std::string_view part = TrimmedPart(fileTemplate.substr(start, end - start));
        if (!part.empty())
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

bool WildcardMatches(std::string_view wildcard, std::string_view name)
{
    // Part by part in place: the walk asks this for every name.
    for (std::size_t start = 0; start <= wildcard.size();) {
        std::size_t end = wildcard.find(';', start);
        if (end == kNone)
            end = wildcard.size();
        const std::string_view part = TrimmedPart(wildcard.substr(start, end - start));
        if (!part.empty() && WildcardPartMatches(part, name))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace trawlit
