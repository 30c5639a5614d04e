#pragma once

#include <string>
#include <vector>

namespace trawlit {

struct ViewerCommand {
    std::string program; // empty when the viewer text holds no word
    std::vector<std::string> arguments;
};

// Splits a command line into words at blanks and TABs. Double quotes group what lies between
// them into one word and are dropped; an unclosed quote runs to the end. Backslashes are
// plain characters, so Windows paths survive.
std::vector<std::string> SplitCommandWords(const std::string& commandLine);

// The viewer text as a command (its first word the program, the rest its own arguments),
// with `path` appended as one more argument exactly as it stands: the path is never split,
// so quotes or blanks in a file name cannot change the command.
ViewerCommand BuildViewerCommand(const std::string& viewer, const std::string& path);

} // namespace trawlit
