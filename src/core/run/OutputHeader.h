#pragma once

#include <cstdint>
#include <string>

#include "ports/Clock.h"

namespace trawlit {

struct SearchOptions;

// Section ids of the results-file header: what line 3 names and whether the search lines
// (Find What and the three search options) are written.
namespace SectionId {
inline constexpr std::int16_t FolderListing = 1;
inline constexpr std::int16_t SearchForString = 2;
inline constexpr std::int16_t ChangeMarks = 3;
inline constexpr std::int16_t CHeaders = 4;
} // namespace SectionId

// "   " + label right-justified in 22 + "  " + value: the value starts in column 28.
std::string LabelledLine(const std::string& label, const std::string& value);

// "07-Dec-26 at 14:05".
std::string MediumDateAndTime(const LocalDateTime& now);

// The 14 header lines (each ended by CR LF) naming `shown`, the inputs as the boxes show them.
std::string OutputHeader(
    const SearchOptions& shown, const LocalDateTime& now, std::int16_t sectionId);

} // namespace trawlit
