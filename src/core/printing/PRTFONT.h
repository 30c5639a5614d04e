#pragma once

#include <string>

namespace trawlit {

class Dialogs;
class PrinterSurface;

// Sets the printer's font: the name unless it is empty, then the size unless it is 0 or less.
// Reports its own failures in message boxes; `failed` tells whether one was reported.
void PRTFONT(PrinterSurface& printer, Dialogs& dialogs, const std::string& fontName, float fontSize,
    bool& failed);

} // namespace trawlit
