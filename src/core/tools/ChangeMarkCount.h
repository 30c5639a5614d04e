#pragma once

#include <cstdint>
#include <string_view>

#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"

namespace trawlit {

// Brelka's /C /D /I: for every file the template admits, the lines deleted (the sizes of its
// "/D" ranges that a mark or the end of the file closes) and inserted (its lines that are no
// marks), then the totals.
RunResult RunChangeMarkCount(const RunInputs& inputs, RunPorts ports);

// The number a "/D" token begins with (sign, digits, decimal point, exponent), rounded to the
// nearest whole number with halves to the even one, kept within 32 bits; 0 when the token
// does not begin with a number.
std::int64_t LeadingWholeNumber(std::string_view token);

} // namespace trawlit
