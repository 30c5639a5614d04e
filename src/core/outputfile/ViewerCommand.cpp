#include "core/outputfile/ViewerCommand.h"

#include "core/outputfile/CommandWords.h"

namespace trawlit {

namespace {

bool IsWordBreak(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> SplitCommandWords(const std::string& commandLine)
{
    std::vector<std::string> words;
    SplitWords(
        commandLine, IsWordBreak, false, [&](const std::string& word) { words.push_back(word); });
    return words;
}

ViewerCommand BuildViewerCommand(const std::string& viewer, const std::string& path)
{
    ViewerCommand command;
    std::vector<std::string> words = SplitCommandWords(viewer);
    if (!words.empty()) {
        command.program = std::move(words.front());
        command.arguments.assign(words.begin() + 1, words.end());
    }
    command.arguments.push_back(path);
    return command;
}

} // namespace trawlit
