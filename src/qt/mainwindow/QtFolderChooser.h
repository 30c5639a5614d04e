#pragma once

#include "core/dialogs/DirBrowse.h"

class QWidget;

namespace trawlit {

// The folder chooser as Qt's own (non-native) directory dialog: opens at the start folder,
// shows the selected path as the user browses, offers folders only.
class QtFolderChooser : public FolderChooserPort {
public:
    explicit QtFolderChooser(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    std::optional<std::string> ChooseFolder(
        const std::string& startFolder, const std::string& title) override;

    // The window the dialogs belong to, once it exists.
    void SetParent(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
};

} // namespace trawlit
