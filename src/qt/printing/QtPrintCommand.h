#pragma once

#include <memory>
#include <string>

#include "core/printing/PrintSettings.h"

class QProgressBar;
class QWidget;

namespace trawlit {

class Dialogs;
class EventPump;
class FileRoutines;
class PrintConfirmWindow;
class PrinterSurface;
class QtPrinterSurface;
class SettingsStore;

// What printing needs from the rest of the program, and the printer it keeps between prints
// (a print that failed half-way leaves its document open until the next one). Keep one for as
// long as the program runs.
class PrintServices {
public:
    PrintServices(
        SettingsStore& settings, Dialogs& dialogs, FileRoutines& files, EventPump& events);
    ~PrintServices();
    PrintServices(const PrintServices&) = delete;
    PrintServices& operator=(const PrintServices&) = delete;

    SettingsStore& Settings() { return settings_; }
    Dialogs& MessageBoxes() { return dialogs_; }
    FileRoutines& Files() { return files_; }
    EventPump& Events() { return events_; }
    PrintSettings& Choices() { return choices_; }

    // The system's default printer, made on first use; a PDF file where there is none.
    PrinterSurface& Printer();
    // Puts another printer in its place (a PDF-only one, a test's).
    void UsePrinter(std::unique_ptr<PrinterSurface> printer);
    // The confirmation window; frmPrintConfirm over the printing dialog unless replaced.
    PrintConfirmWindow* ConfirmWindow() { return confirmWindow_; }
    void UseConfirmWindow(PrintConfirmWindow* window) { confirmWindow_ = window; }

private:
    SettingsStore& settings_;
    Dialogs& dialogs_;
    FileRoutines& files_;
    EventPump& events_;
    PrintSettings choices_;
    std::unique_ptr<PrinterSurface> printer_;
    PrintConfirmWindow* confirmWindow_ = nullptr;
};

// The Print button of the output-file dialog: asks "Confirm print" over `dialog`, then prints
// the file at `path` while the dialog is disabled, `panelButtons` hidden and `progressBar`
// advancing; reports the outcome in a message box. Returns when all is done. Without a
// printer on the system the pages go to `path` + ".pdf" (numbered where that file exists) and
// the closing message names it.
void RunPrintCommand(QWidget* dialog, QWidget* panelButtons, QProgressBar* progressBar,
    const std::string& path, PrintServices& services);

} // namespace trawlit
