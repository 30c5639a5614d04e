#pragma once

#include "ports/Dialogs.h"

class QWidget;

namespace trawlit {

class QtOutputFiles;

// Message boxes as QMessageBox: the code's buttons, icon and default button; CR LF breaks
// lines. A finished results file goes to the output-file dialog.
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
    // The output-file dialog, which itself needs these dialogs: set once both exist.
    void SetOutputFiles(QtOutputFiles* outputFiles) { outputFiles_ = outputFiles; }

private:
    QWidget* parent_;
    QtOutputFiles* outputFiles_ = nullptr;
};

} // namespace trawlit
