#pragma once

#include "ports/FileDialogPort.h"

class QWidget;

namespace trawlit {

// The Save As / Open dialog as Qt's own (non-native) QFileDialog: the request's title,
// file types, starting folder and name, overwrite question and "folder must exist".
class QtFileDialog : public FileDialogPort {
public:
    explicit QtFileDialog(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    FileDialogAnswer Show(const FileDialogRequest& request) override;

    // The window the dialogs belong to, once it exists.
    void SetParent(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
};

} // namespace trawlit
