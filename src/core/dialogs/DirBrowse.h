#pragma once

#include <optional>
#include <string>

namespace trawlit {

// The platform's modal folder chooser: opens at the start folder (or its own default when
// that is no folder), offers real folders only, returns the chosen one or nothing.
class FolderChooserPort {
public:
    virtual ~FolderChooserPort() = default;
    virtual std::optional<std::string> ChooseFolder(
        const std::string& startFolder, const std::string& title)
        = 0;
};

// The folder the chooser starts at: a trailing separator is dropped, but a root stays.
std::string BrowseStartFolder(const std::string& startFolder);

// Lets the user pick a folder; `chosen` tells whether one was. Returns it, or empty text.
std::string DirBrowse(FolderChooserPort& chooser, const std::string& startFolder,
    const std::string& title, bool& chosen);

} // namespace trawlit
