#include "app/cli/ConsoleMessages.h"

#include <string_view>
#include <vector>

namespace trawlit {

namespace {

std::vector<std::string_view> NonBlankLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos) {
            lines.push_back(line.substr(first, line.find_last_not_of(" \t") - first + 1));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

bool EndsSentenceOrLead(std::string_view line)
{
    return std::string_view(".:!?").find(line.back()) != std::string_view::npos;
}

} // namespace

std::string OneLine(const std::string& text)
{
    const std::vector<std::string_view> lines = NonBlankLines(text);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            joined += EndsSentenceOrLead(lines[i - 1]) ? " " : i == 1 ? ": " : ", ";
        }
        joined += lines[i];
    }
    return joined;
}

void PrintMessage(std::FILE* stream, const std::string& text)
{
    std::fprintf(stream, "%s: %s\n", kProgramName, OneLine(text).c_str());
    std::fflush(stream);
}

} // namespace trawlit
