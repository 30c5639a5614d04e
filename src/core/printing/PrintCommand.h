#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/PrinterSurface.h"

namespace trawlit {

class Dialogs;
class FileRoutines;
class MousePointerStack;
class EventPump;
class PrintConfirmWindow;
class SettingsStore;
struct PrintSettings;

inline constexpr std::int64_t kPrintChunkSize = 8192;
inline constexpr const char* kConfirmPrintTitle = "Confirm print";

// The parts of the dialog that a print drives: its button row, its progress bar and the
// dialog as a whole.
class PrintDialogPort {
public:
    virtual ~PrintDialogPort() = default;
    virtual void ShowButtonPanel(bool visible) = 0;
    virtual void ShowProgress(bool visible) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void EnableDialog(bool enabled) = 0;
    virtual void FocusDialog() = 0;
};

// Everything one print leans on.
struct PrintPorts {
    PrinterSurface& printer;
    PrintDialogPort& dialog;
    Dialogs& dialogs;
    FileRoutines& files;
    EventPump& events; // input checks and yields between chunks
    MousePointerStack& pointer;
    PrintConfirmWindow& confirmWindow;
    SettingsStore& settings;
    PrintSettings& printSettings;
};

// The Print button of the output-file dialog: confirms font and orientation, then prints a
// text file page by page with the printer's own line height and no margins of its own,
// starting a page when one is full or at a form feed.
class PrintCommand {
public:
    explicit PrintCommand(PrintPorts ports)
        : ports_(ports)
    {
    }

    void Run(const std::string& path);

    // Asks once per print whether to give up when `text`, printed from the print position,
    // would run past the page's right edge.
    void CheckLineWidth(std::string_view StrToPrint);

    bool PrintAbortFlag() const { return printAbortFlag_; }

private:
    struct PrinterLook {
        std::int16_t orientation = 0;
        std::string fontName;
        float fontSize = 0.0F;
    };

    PrinterError SetUpPrinter(PrinterLook& before, std::int16_t& linesPerPage);
    void PrintFile(const std::string& path, std::int16_t linesPerPage, const PrinterLook& before);
    void PrintChunks(std::int16_t fileNumber, std::int16_t linesPerPage);
    void PrintChunk(std::string_view chunk, std::int16_t linesPerPage);
    std::string_view PrintUpToFormFeeds(std::string_view chunk);
    std::string_view PrintLines(std::string_view chunk, std::int16_t linesPerPage);
    void PrintRest(std::string_view rest);
    void ConcludeDocument(const std::string& path);
    void RestorePrinter(const PrinterLook& before);
    void Record(const PrinterError& error);

    PrintPorts ports_;
    bool printAbortFlag_ = false;
    bool lineTooLongWarned_ = false;
    std::int32_t printPageWidth_ = 0;
    std::int16_t linesOnPage_ = 0;
    PrinterError loopError_; // the last failure while reading or printing
};

} // namespace trawlit
