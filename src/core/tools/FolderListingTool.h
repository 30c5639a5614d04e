#pragma once

#include "core/search/SearchRun.h"

namespace trawlit {

// Folder Listing: an indented tree of the folders under the root and the files the template
// admits, in walk order. Nothing is read from the files and no totals are written.
SearchResult RunFolderListing(RunPorts ports);

} // namespace trawlit
