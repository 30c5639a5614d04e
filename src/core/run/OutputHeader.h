#pragma once

#include <cstdint>
#include <string>

#include "ports/Clock.h"

namespace trawlit {

struct SearchOptions;

// Section ids of the results-file header: what line 3 names and whether the search lines
// (Find What and the three search options) are written.
enum class SectionId : std::int16_t { FolderListing = 1, SearchForString, ChangeMarks, CHeaders };

// "   " + label right-justified in 22 + "  " + value: the value starts in column 28.
std::string LabelledLine(const std::string& label, const std::string& value);

// "07-Dec-26 at 14:05".
std::string MediumDateAndTime(const LocalDateTime& now);

// The 14 header lines (each ended by CR LF) naming `shown`, the inputs as the boxes show them.
std::string OutputHeader(const SearchOptions& shown, const LocalDateTime& now, SectionId section);

} // namespace trawlit
