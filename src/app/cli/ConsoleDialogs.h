#pragma once

#include <cstdio>

#include "ports/Dialogs.h"

namespace trawlit {

class ConsoleWindow;

// Message boxes without a window: the text goes to standard error as one line, and OK (or a
// question's default button) is the answer.
// The output-file dialog, and the message of a search that found nothing, become the closing
// message and the results path on `results`; when the results went to standard output
// themselves, `results` is standard error and the closing message one more message there.
class ConsoleDialogs : public Dialogs {
public:
    ConsoleDialogs(
        ConsoleWindow& window, std::FILE* messages, std::FILE* results, bool showResultsPath);
    using Dialogs::MsgBox;
    int MsgBox(const std::string& text, int code, const std::string& title) override;
    void ShowOutputFile(
        const std::string& message, const std::string& title, const std::string& path) override;
    void ShowNoMatch(const std::string& message, const std::string& path) override;

private:
    ConsoleWindow& window_;
    std::FILE* messages_;
    std::FILE* results_;
    bool showResultsPath_;
};

// CR LF line breaks as the terminal's own.
std::string ConsoleText(const std::string& text);

} // namespace trawlit
