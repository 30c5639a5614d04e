#pragma once

#include <memory>

#include <CLI/CLI.hpp>

#include "core/searchrun/SearchRecords.h"

namespace trawlit {

enum class OutputFormat { Results, JsonLines, Grep };

// --format results|jsonl|grep on the search.
void AddFormatOption(CLI::App& search, OutputFormat& format);

// What writes the search's records in place of the results file's layout: nothing for the
// results file itself.
std::unique_ptr<SearchRecords> RecordsFor(OutputFormat format);

} // namespace trawlit
