#pragma once

#include <string>
#include <string_view>

namespace trawlit {

// Removes leading and trailing blanks (code 32 only; TABs stay), as the inputs are trimmed.
inline std::string TrimBlanks(std::string_view text)
{
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

} // namespace trawlit

namespace trawlit {

// True for an empty text or one of blanks only.
inline bool TrimBlanksIsEmpty(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

} // namespace trawlit
