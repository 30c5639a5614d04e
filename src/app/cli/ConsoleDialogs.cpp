#include "app/cli/ConsoleDialogs.h"

#include "app/cli/ConsoleMessages.h"
#include "app/cli/ConsoleWindow.h"
#include "core/text/TextHelpers.h"

namespace trawlit {

std::string ConsoleText(const std::string& text)
{
    std::string console = text;
    ReplaceString(console, "\r\n", "\n");
    return console;
}

ConsoleDialogs::ConsoleDialogs(
    ConsoleWindow& window, std::FILE* messages, std::FILE* results, bool showResultsPath)
    : window_(window)
    , messages_(messages)
    , results_(results)
    , showResultsPath_(showResultsPath)
{
}

int ConsoleDialogs::MsgBox(const std::string& text, int code, const std::string& title)
{
    window_.FinishStatusLine();
    PrintMessage(messages_, title != kProgramTitle ? title + ":\n" + text : text);
    // Nobody is there to answer: a question takes its default button.
    if ((code & 7) != MsgBoxCode::YesNo) {
        return MsgBoxAnswer::Ok;
    }
    return (code & MsgBoxCode::DefaultButton2) != 0 ? MsgBoxAnswer::No : MsgBoxAnswer::Yes;
}

void ConsoleDialogs::ShowOutputFile(
    const std::string& message, const std::string&, const std::string& path)
{
    window_.FinishStatusLine();
    if (!showResultsPath_) {
        // The results took standard output: the closing message is one more message.
        if (!OneLine(message).empty()) {
            PrintMessage(results_, message);
        }
        return;
    }
    // The dialog's blank lines below the message set it apart from the file's details; a
    // terminal needs none of them, and a listing's empty message no line at all.
    std::string text = ConsoleText(message);
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    if (!text.empty()) {
        std::fprintf(results_, "%s\n", text.c_str());
    }
    std::fprintf(results_, "%s\n", path.c_str());
    std::fflush(results_);
}

// A script reads the results path the same way whether or not anything was found.
void ConsoleDialogs::ShowNoMatch(const std::string& message, const std::string& path)
{
    ShowOutputFile(message, kProgramTitle, path);
}

} // namespace trawlit
