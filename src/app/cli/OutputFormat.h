#pragma once

#include <memory>

#include <CLI/CLI.hpp>

#include "core/formats/SearchPrinter.h"

namespace trawlit {

enum class OutputFormat { Results, JsonLines, Grep };

// --format results|jsonl|grep on the search.
void AddFormatOption(CLI::App& search, OutputFormat& format);

// The printer of the format: nothing for the results file's own layout, the search's default.
std::unique_ptr<SearchPrinter> RecordsFor(OutputFormat format);

} // namespace trawlit
