#include "core/dialogs/DirBrowse.h"

namespace trawlit {

std::string BrowseStartFolder(const std::string& startFolder)
{
    if (startFolder.size() > 1 && startFolder.back() == '/') {
        return startFolder.substr(0, startFolder.size() - 1);
    }
    return startFolder;
}

std::string DirBrowse(FolderChooserPort& chooser, const std::string& startFolder,
    const std::string& title, bool& chosen)
{
    std::optional<std::string> folder = chooser.ChooseFolder(BrowseStartFolder(startFolder), title);
    chosen = folder.has_value();
    return folder.value_or(std::string());
}

} // namespace trawlit
