#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ports/Dialogs.h"

namespace trawlit::fakes {

// Records every dialog a test's code raises; message boxes return scripted answers in order,
// OK once the script runs out.
class RecordingDialogs : public Dialogs {
public:
    struct Message {
        std::string text;
        int code = 0;
        std::string title;
    };
    struct OutputFile {
        std::string message;
        std::string title;
        std::string path;
    };

    using Dialogs::MsgBox;
    int MsgBox(const std::string& text, int code, const std::string& title) override
    {
        messages.push_back({ text, code, title });
        if (answers.empty())
            return MsgBoxAnswer::Ok;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void ShowOutputFile(
        const std::string& message, const std::string& title, const std::string& path) override
    {
        outputFiles.push_back({ message, title, path });
    }

    std::vector<Message> messages;
    std::vector<OutputFile> outputFiles;
    std::deque<int> answers; // scripted answers to the next message boxes
};

} // namespace trawlit::fakes
