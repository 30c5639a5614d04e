#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

// Folder Listing: an indented tree of the folders under the root and the files the template
// admits, in walk order. Nothing is read from the files and no totals are written.
RunResult RunFolderListing(const RunInputs& inputs, RunPorts ports);

} // namespace trawlit
