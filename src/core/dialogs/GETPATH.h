#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ports/FileDialogPort.h"

namespace trawlit {

class Dialogs;
class FileSystem;

// Options bits of GETPATH.
namespace GetPathOptions {
inline constexpr std::int16_t TitleAsGiven = 1; // no "Select " before the title
} // namespace GetPathOptions

// Ask before overwriting, hide read-only, keep the current folder, the folder must exist.
inline constexpr std::int32_t kGetPathFlags = 2062;

struct PathDialogPorts {
    FileDialogPort& fileDialog;
    FileSystem& fileSystem;
    Dialogs& dialogs;
};

// Lets the user choose a file to write in a Save As dialog, proposing `path`. On a choice
// `selected` is true and `path` holds it; an existing chosen file is deleted at once, since
// the user agreed to replace it (a file that cannot be deleted drops the choice).
void GETPATH(PathDialogPorts ports, const std::string& title, std::string& path,
    const std::string& filter, std::int16_t filterIndex, bool& selected, std::int16_t options);

// The main window's Browse: proposes the box's trimmed text; returns the chosen path, or
// nothing when the box is to stay as it was.
std::optional<std::string> BrowseComboPath(
    PathDialogPorts ports, const std::string& title, const std::string& comboText);

// The dialog request for a proposed path: its initial folder and file name.
FileDialogRequest PathDialogRequest(const std::string& title, const std::string& filePathname,
    const std::string& filter, std::int16_t filterIndex);

} // namespace trawlit
