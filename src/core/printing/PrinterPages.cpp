#include "core/printing/PrinterPages.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/files/ErrorNumbers.h"

namespace trawlit {

namespace {

long RoundedPosition(double twips)
{
    return std::lround(twips);
}

} // namespace

PrinterError PrinterPageLines(PrinterSurface& printer, std::int16_t& linesPerPage)
{
    const long savedX = RoundedPosition(printer.CurrentX());
    const long savedY = RoundedPosition(printer.CurrentY());
    printer.SetCurrentX(printer.ScaleLeft());
    printer.SetCurrentY(printer.ScaleTop());
    const long top = RoundedPosition(printer.CurrentY());
    if (PrinterError error = printer.Print({}, true))
        return error;
    if (PrinterError error = printer.Print(" ", false))
        return error;
    const long lineHeight = RoundedPosition(printer.CurrentY()) - top;
    if (lineHeight == 0)
        return ErrorWithNumber(ErrorNumber::DivisionByZero);
    const long lines = std::lround(printer.ScaleHeight()) / lineHeight;
    // With no line per page the count of lines never reached it, and no page ever ended.
    linesPerPage = static_cast<std::int16_t>(
        std::clamp<long>(lines, 1, std::numeric_limits<std::int16_t>::max()));
    printer.SetCurrentX(static_cast<double>(savedX));
    printer.SetCurrentY(static_cast<double>(savedY));
    return {};
}

void ABORTPRT(PrinterSurface& printer)
{
    if (printer.AbortDoc())
        return;
    (void)printer.EndDoc();
}

} // namespace trawlit
