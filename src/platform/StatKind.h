#pragma once

#include <sys/stat.h>

#include "ports/FileSystem.h"

namespace trawlit {

// What a name is, asked through `statName(follow, info)` (a stat that follows a link or
// not): a link counts as what it points to, except that a link to a folder is a FolderLink,
// and a broken link is Missing. `info` then holds what the name stands for.
template <typename StatName> EntryKind KindOfName(StatName statName, struct stat& info)
{
    if (!statName(false, info))
        return EntryKind::Missing;
    const bool isLink = S_ISLNK(info.st_mode);
    if (isLink && !statName(true, info))
        return EntryKind::Missing;
    if (S_ISREG(info.st_mode))
        return EntryKind::File;
    if (S_ISDIR(info.st_mode))
        return isLink ? EntryKind::FolderLink : EntryKind::Folder;
    return EntryKind::Other;
}

} // namespace trawlit
