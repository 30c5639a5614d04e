#include "core/run/RunStart.h"

#include "core/history/clsHistory.h"
#include "core/text/TextHelpers.h"
#include "core/text/TextTrim.h"
#include "ports/Dialogs.h"
#include "ports/FileSystem.h"

namespace trawlit {

namespace {

bool Checked(MainWindowPort& window, OptionBox box)
{
    return window.Option(box) != CheckState::Unchecked;
}

void Record(MainWindowPort& window, InputBox box, const std::string& text)
{
    clsHistory& history = window.History(box);
    history.add(text, "");
    history.ComboBoxRefresh(window.Combo(box));
}

} // namespace

SearchOptions ReadSearchOptions(MainWindowPort& window)
{
    SearchOptions options;
    options.SearchStr = window.InputText(InputBox::SearchStr);
    options.RootFolder = TrimBlanks(window.InputText(InputBox::RootFolder));
    options.FileTemplate = TrimBlanks(window.InputText(InputBox::FileTemplate));
    if (options.FileTemplate.empty()) {
        options.FileTemplate = "*.*";
    }
    options.OutputPathname = TrimBlanks(window.InputText(InputBox::OutputPathname));
    options.TraverseSubfolders = Checked(window, OptionBox::TraverseSubfolders);
    options.CaseSensitive = Checked(window, OptionBox::CaseSensitive);
    options.CollapseWhiteSpace = Checked(window, OptionBox::CollapseWhiteSpace);
    options.CountsOnly = Checked(window, OptionBox::CountsOnly);
    return options;
}

void RecordInputHistories(MainWindowPort& window, const SearchOptions& options)
{
    Record(window, InputBox::SearchStr, options.SearchStr);
    RecordFolderHistories(window, options);
}

void RecordFolderHistories(MainWindowPort& window, const SearchOptions& options)
{
    Record(window, InputBox::RootFolder, options.RootFolder);
    Record(window, InputBox::OutputPathname, options.OutputPathname);
    Record(window, InputBox::FileTemplate, options.FileTemplate);
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
