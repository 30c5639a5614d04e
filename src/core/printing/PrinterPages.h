#pragma once

#include <cstdint>

#include "ports/PrinterSurface.h"

namespace trawlit {

// Measures how many lines of the current font fit on a page, by printing an empty line and a
// blank at the top-left corner; this starts the document but leaves nothing visible. The
// print position is put back. A font taller than the page still gets one line per page.
PrinterError PrinterPageLines(PrinterSurface& printer, std::int16_t& linesPerPage);

// Discards the document in progress. Failures are passed over.
void ABORTPRT(PrinterSurface& printer);

} // namespace trawlit
