#pragma once

#include <string>

namespace trawlit {

// Standard message box codes and answers: buttons + icon + default button.
namespace MsgBoxCode {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
} // namespace MsgBoxCode

namespace MsgBoxAnswer {
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBoxAnswer

inline constexpr const char* kProgramTitle = "Trawlit";
inline constexpr const char* kLineBreak = "\r\n";

// The modal dialogs a run can raise. Texts break lines with CR LF.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal message box and returns the answer (MsgBoxAnswer).
    virtual int MsgBox(const std::string& text, int code, const std::string& title) = 0;
    int MsgBox(const std::string& text, int code = MsgBoxCode::OkOnly)
    {
        return MsgBox(text, code, kProgramTitle);
    }
    // Reports a finished results file; returns when the user is done with it.
    virtual void ShowOutputFile(
        const std::string& message, const std::string& title, const std::string& path)
        = 0;
    // Reports a results file that holds no match: a window shows the message alone.
    virtual void ShowNoMatch(const std::string& message, const std::string& path)
    {
        (void)path;
        MsgBox(message);
    }
};

} // namespace trawlit
