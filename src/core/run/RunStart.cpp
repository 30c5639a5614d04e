#include "core/run/RunStart.h"

#include "core/text/TextHelpers.h"
#include "core/text/TextTrim.h"
#include "ports/Dialogs.h"
#include "ports/FileSystem.h"

namespace trawlit {

SearchOptions TidiedInputs(SearchOptions typed)
{
    typed.RootFolder = TrimBlanks(typed.RootFolder);
    typed.FileTemplate = TrimBlanks(typed.FileTemplate);
    if (typed.FileTemplate.empty()) {
        typed.FileTemplate = "*.*";
    }
    typed.OutputPathname = TrimBlanks(typed.OutputPathname);
    return typed;
}

bool SearchTextMissing(const SearchOptions& options, Dialogs& dialogs)
{
    if (!TrimBlanksIsEmpty(options.SearchStr)) {
        return false;
    }
    dialogs.MsgBox("Search String must be specified!", MsgBoxCode::Exclamation);
    return true;
}

bool ProbeRootFolder(FileSystem& platform, Dialogs& dialogs, const std::string& rootFolder)
{
    // A blank root would list "/": the whole file system is never what was meant.
    if (TrimBlanksIsEmpty(rootFolder)) {
        dialogs.MsgBox(rootFolder + "\r\n\r\n" + "Root folder not found!");
        return false;
    }
    std::string pattern = rootFolder + "/*.*";
    ReplaceString(pattern, "//", "/");
    PlatformError error;
    auto listing = platform.StartListing(pattern, ListMask::FilesAndFolders, error);
    if (error.number == 52) {
        dialogs.MsgBox(pattern + "\r\n\r\n" + error.description);
        return false;
    }
    ListedEntry first;
    if (!listing || !listing->Next(first)) {
        dialogs.MsgBox(rootFolder + "\r\n\r\n" + "Root folder not found!");
        return false;
    }
    return true;
}

} // namespace trawlit
