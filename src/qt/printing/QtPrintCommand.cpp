#include "qt/printing/QtPrintCommand.h"

#include <QFileInfo>

#include "core/printing/PdfFileName.h"
#include "core/printing/PrintCommand.h"
#include "qt/printing/QtPrintPorts.h"
#include "qt/printing/QtPrinterSurface.h"

namespace trawlit {

PrintServices::PrintServices(
    SettingsStore& settings, Dialogs& dialogs, FileRoutines& files, EventPump& events)
    : settings_(settings)
    , dialogs_(dialogs)
    , files_(files)
    , events_(events)
{
}

PrintServices::~PrintServices() = default;

PrinterSurface& PrintServices::Printer()
{
    if (!printer_)
        printer_ = std::make_unique<QtPrinterSurface>();
    return *printer_;
}

void PrintServices::UsePrinter(std::unique_ptr<PrinterSurface> printer)
{
    printer_ = std::move(printer);
}

void RunPrintCommand(QWidget* dialog, QWidget* panelButtons, QProgressBar* progressBar,
    const std::string& path, PrintServices& services)
{
    PrinterSurface& printer = services.Printer();
    auto* qtPrinter = dynamic_cast<QtPrinterSurface*>(&printer);
    if (qtPrinter != nullptr && qtPrinter->PrintsToFile()) {
        // A document an earlier print left open is written when this one starts: its name
        // is taken too.
        const std::string leftOpen = qtPrinter->OpenDocumentFile();
        qtPrinter->SetPdfPath(UnusedPdfPath(path, [&leftOpen](const std::string& candidate) {
            return candidate == leftOpen || QFileInfo::exists(QString::fromLocal8Bit(candidate));
        }));
    }
    QtPrintDialogPort dialogPort(dialog, panelButtons, progressBar);
    QtPrintConfirmWindow ownConfirmWindow(dialog);
    PrintConfirmWindow* confirmWindow = services.ConfirmWindow();
    PrintCommand command(PrintPorts { printer, dialogPort, services.MessageBoxes(),
        services.Files(), services.Events(), ProgramMousePointer(),
        confirmWindow != nullptr ? *confirmWindow : ownConfirmWindow, services.Settings(),
        services.Choices() });
    command.Run(path);
}

} // namespace trawlit
