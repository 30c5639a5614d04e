#pragma once

#include "dialogs/Dialogs.h"

class QWidget;

namespace trawlit {

// Message boxes as QMessageBox: the code's buttons, icon and default button; CR LF breaks
// lines. Until the output-file dialog exists, a finished results file is reported in a
// message box too.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    using Dialogs::MsgBox;
    int MsgBox(const std::string& text, int code, const std::string& title) override;
    void ShowOutputFile(
        const std::string& message, const std::string& title, const std::string& path) override;

    // The window the dialogs belong to, once it exists.
    void SetParent(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
};

} // namespace trawlit
