#pragma once

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

class SearchRecords;

// The string search started by Start Search: checks and records the inputs, walks the tree,
// writes the results file, and ends with its closing message or the output-file dialog.
RunResult RunStringSearch(RunPorts ports);
// The same with what `records` writes in place of the results file's own layout (the layout
// when null).
RunResult RunStringSearch(RunPorts ports, SearchRecords* records);
// The same with `workerThreads` threads reading and matching the files while this one walks
// and writes; the results file, messages and counters come out exactly as with 0, which reads
// every file here.
RunResult RunStringSearch(RunPorts ports, SearchRecords* records, int workerThreads);

} // namespace trawlit
