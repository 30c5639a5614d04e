#include "core/printing/PRTFONT.h"

#include "core/files/ErrorNumbers.h"
#include "core/printing/PrintSettings.h"
#include "ports/Dialogs.h"
#include "ports/PrinterSurface.h"

namespace trawlit {

namespace {

constexpr const char* kFontMessageTitle = "Printer Font Attributes";

// A failure of the printer itself, as every printing routine reports it.
void ReportPrinterError(Dialogs& dialogs, const PrinterError& error)
{
    dialogs.MsgBox("Error # " + std::to_string(error.number) + kLineBreak + error.description,
        MsgBoxCode::Exclamation);
}

void ReportUnchangedAttribute(Dialogs& dialogs, const std::string& attribute,
    const std::string& desired, const std::string& current)
{
    const std::string paragraph = std::string(kLineBreak) + kLineBreak;
    dialogs.MsgBox("Unable to change printer font " + attribute + "!" + paragraph + "Desired font "
            + attribute + ":  " + desired + paragraph + "Current font " + attribute + ":  "
            + current,
        MsgBoxCode::Exclamation, kFontMessageTitle);
}

} // namespace

void PRTFONT(PrinterSurface& printer, Dialogs& dialogs, const std::string& fontName, float fontSize,
    bool& failed)
{
    failed = false;
    if (!fontName.empty()) {
        if (const PrinterError error = printer.SetFontName(fontName)) {
            failed = true;
            if (error.number == ErrorNumber::PrinterError) {
                ReportPrinterError(dialogs, error);
                return;
            }
            ReportUnchangedAttribute(dialogs, "name", fontName, printer.FontName());
        }
    }
    if (failed || fontSize <= 0.0F)
        return;
    if (const PrinterError error = printer.SetFontSize(fontSize)) {
        failed = true;
        if (error.number == ErrorNumber::PrinterError) {
            ReportPrinterError(dialogs, error);
            return;
        }
        ReportUnchangedAttribute(
            dialogs, "size", FontSizeText(fontSize), FontSizeText(printer.FontSize()));
    }
}

} // namespace trawlit
