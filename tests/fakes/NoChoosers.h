#pragma once

#include <optional>
#include <string>

#include "core/dialogs/DirBrowse.h"
#include "ports/FileDialogPort.h"

namespace trawlit::fakes {

// A window driven without a person: every file dialog and folder chooser is cancelled.
class NoFileDialog : public FileDialogPort {
public:
    FileDialogAnswer Show(const FileDialogRequest&) override { return {}; }
};

class NoFolderChooser : public FolderChooserPort {
public:
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
};

} // namespace trawlit::fakes
