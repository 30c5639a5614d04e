#include "core/text/Wildcard.h"

#include "core/text/AsciiCase.h"

#include <cstddef>

namespace trawlit {

bool WildcardMatches(std::string_view wildcard, std::string_view name)
{
    if (wildcard == "*.*")
        return true;
    // Greedy scan that backtracks only to the most recent "*": linear for ordinary
    // templates, never exponential.
    std::size_t w = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (w < wildcard.size() && wildcard[w] == '*') {
            starAt = w++;
            resumeAt = n;
        } else if (w < wildcard.size()
            && (wildcard[w] == '?' || SameIgnoringAsciiCase(wildcard[w], name[n]))) {
            ++w;
            ++n;
        } else if (starAt != std::string_view::npos) {
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

} // namespace trawlit
