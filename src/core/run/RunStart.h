#pragma once

#include <string>

#include "ports/RunView.h"
#include "ports/SearchOptions.h"

namespace trawlit {

class Dialogs;
class FileSystem;

// The inputs as a run takes them: texts trimmed of blanks (the text to find excepted), an
// empty template read as "*.*".
SearchOptions TidiedInputs(SearchOptions typed);

// True, after telling the user, when the text to find is empty or blanks only.
bool SearchTextMissing(const SearchOptions& options, Dialogs& dialogs);

// Lists the first entry of root + "/*.*". Tells the user and returns false when the root is
// blank, the pattern cannot name a file or the root lists nothing.
bool ProbeRootFolder(FileSystem& platform, Dialogs& dialogs, const std::string& rootFolder);

// Sets a counter and shows it.
inline void SetCounter(RunView& view, Counter counter, std::int64_t& field, std::int64_t value)
{
    field = value;
    view.ShowCounter(counter, value);
}

} // namespace trawlit
