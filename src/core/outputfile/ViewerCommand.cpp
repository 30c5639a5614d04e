#include "core/outputfile/ViewerCommand.h"

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
    std::string word;
    bool inWord = false; // a quoted "" is a word of its own, though empty
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (IsWordBreak(c) && !quoted) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
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
