#pragma once

#include <string>

#include "ports/MainWindowPort.h"

namespace trawlit {

class Dialogs;
class FileSystem;

// The inputs of a run as the window holds them: texts trimmed of blanks (the text to find
// excepted), an empty template read as "*.*", a check box counting when not unchecked.
SearchOptions ReadSearchOptions(MainWindowPort& window);

// Records the text to find, root folder, results path and template in their history lists
// and refreshes the four combo boxes.
void RecordInputHistories(MainWindowPort& window, const SearchOptions& options);

// Records the root folder, results path and template in their history lists and refreshes
// their combo boxes: what the runs that search no text record.
void RecordFolderHistories(MainWindowPort& window, const SearchOptions& options);

// Lists the first entry of root + "/*.*". Tells the user and returns false when the root is
// blank, the pattern cannot name a file or the root lists nothing.
bool ProbeRootFolder(FileSystem& platform, Dialogs& dialogs, const std::string& rootFolder);

// Sets a counter and shows it.
inline void SetCounter(
    MainWindowPort& window, Counter counter, std::int64_t& field, std::int64_t value)
{
    field = value;
    window.ShowCounter(counter, value);
}

} // namespace trawlit
