#include "core/dialogs/GETPATH.h"

#include "core/text/AsciiCase.h"

#include "core/files/FileRoutines.h"
#include "core/text/TextTrim.h"
#include "ports/Dialogs.h"
#include "ports/FileSystem.h"

namespace trawlit {

namespace {

constexpr char kSeparator = '/';

std::string DialogTitle(const std::string& title, std::int16_t options)
{
    return (options & GetPathOptions::TitleAsGiven) != 0 ? title : "Select " + title;
}

// Separator runs halved to one; "?" and double quotes, which cannot stand in a proposed
// name, become blanks, and a text so changed loses its outer blanks.
std::string TidyProposedPath(const std::string& proposed)
{
    std::string path = CollapseBackslashes(proposed);
    for (char& c : path) {
        if (c == '?' || c == '"') {
            c = ' ';
        }
    }
    return path == proposed ? path : TrimBlanks(path);
}

bool IsTextFilter(const std::string& filter)
{
    return EqualIgnoringAsciiCase(filter, ".TXT");
}

// The folder the dialog opens in: the text before the last separator after the first
// character; a path of a root's name alone opens at the root.
std::string InitialFolder(const std::string& path)
{
    for (std::size_t i = path.size(); i-- > 1;) {
        if (path[i] == kSeparator) {
            return path.substr(0, i);
        }
    }
    return (!path.empty() && path[0] == kSeparator) ? std::string(1, kSeparator) + "." : "";
}

// A proposed name the dialog cannot take opens the dialog again with an empty name.
FileDialogAnswer ShowPathDialog(FileDialogPort& dialog, FileDialogRequest request)
{
    FileDialogAnswer answer = dialog.Show(request);
    if (!answer.confirmed && answer.invalidFileName && !request.fileName.empty()) {
        request.fileName.clear();
        answer = dialog.Show(request);
    }
    return answer;
}

// Deletes the file the user chose to replace; false (after saying why) when it stays.
bool DeleteChosenFile(PathDialogPorts ports, const std::string& path)
{
    PlatformError error;
    if (!ports.fileSystem.FileExists(path) || ports.fileSystem.Remove(path, error)) {
        return true;
    }
    bool readOnly = false;
    ports.fileSystem.GetReadOnly(path, readOnly);
    std::string text = readOnly ? "File is read-only\r\n\r\n" + path
                                : "Run-time error '" + std::to_string(error.number) + "':\r\n\r\n"
            + error.description + "\r\n\r\n" + path;
    ports.dialogs.MsgBox(text, MsgBoxCode::Critical, "File Delete Error");
    return false;
}

} // namespace

FileDialogRequest PathDialogRequest(const std::string& title, const std::string& filePathname,
    const std::string& filter, std::int16_t filterIndex)
{
    FileDialogRequest request;
    request.action = 2;
    request.title = title;
    request.flags = kGetPathFlags;
    if (filter.empty()) {
        request.filter = "All Files (*.*)|*.*";
        request.filterIndex = 1;
    } else if (IsTextFilter(filter)) {
        request.filter = "All Files (*.*)|*.*|Text Files (*.txt)|*.txt";
        request.filterIndex = 2;
    } else {
        request.filter = filter;
        request.filterIndex = filterIndex;
    }
    request.initialFolder = InitialFolder(filePathname);
    bool namesAFolder = !filePathname.empty() && filePathname.back() == kSeparator;
    request.fileName = namesAFolder ? std::string() : filePathname;
    return request;
}

void GETPATH(PathDialogPorts ports, const std::string& title, std::string& path,
    const std::string& filter, std::int16_t filterIndex, bool& selected, std::int16_t options)
{
    FileDialogRequest request = PathDialogRequest(
        DialogTitle(title, options), TidyProposedPath(path), filter, filterIndex);
    FileDialogAnswer answer = ShowPathDialog(ports.fileDialog, request);
    selected = answer.confirmed;
    if (!selected) {
        return;
    }
    path = answer.filePathname;
    selected = DeleteChosenFile(ports, path);
}

std::optional<std::string> BrowseComboPath(
    PathDialogPorts ports, const std::string& title, const std::string& comboText)
{
    std::string path = TrimBlanks(comboText);
    bool selected = false;
    GETPATH(ports, title, path, "", 1, selected, 0);
    if (!selected) {
        return std::nullopt;
    }
    return path;
}

} // namespace trawlit
