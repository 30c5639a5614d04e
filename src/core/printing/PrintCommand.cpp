#include "core/printing/PrintCommand.h"

#include <algorithm>
#include <cmath>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/printing/MousePointer.h"
#include "core/printing/PRTFONT.h"
#include "core/printing/PrintConfirm.h"
#include "core/printing/PrinterPages.h"
#include "core/text/TextHelpers.h"
#include "ports/Dialogs.h"
#include "ports/EventPump.h"

namespace trawlit {

namespace {

constexpr std::int16_t kBinaryReadOnly = OpenType::Binary | OpenType::ReadOnly;
constexpr char kCtrlZ = '\x1A';
constexpr char kFormFeed = '\f';
constexpr const char* kLineTooLongTitle = "Line too long";

std::string Paragraph()
{
    return std::string(kLineBreak) + kLineBreak;
}

std::string LineTooLongQuestion()
{
    return "One or more lines are too long" + Paragraph()
        + "To fix the problem, select a smaller font size or "
          "change the page orientation to landscape."
        + Paragraph() + "Abort print job?";
}

std::string ErrorReport(const PrinterError& error)
{
    return "Error # " + std::to_string(error.number) + kLineBreak + error.description;
}

std::string PagesReport(const std::string& path, int pages, const std::string& documentFile)
{
    std::string report = path + Paragraph() + PLURAL(pages, "page", PluralFlags::NoLeadingBlank);
    if (documentFile.empty())
        return report + " sent to printer.";
    return report + " saved to" + kLineBreak + documentFile + Paragraph()
        + "No printer is installed on this system.";
}

// Fills `chunk` with its size in bytes unless the file ends first; -1 when reading fails.
std::ptrdiff_t ReadChunk(FileRoutines& files, std::int16_t fileNumber, std::string& chunk)
{
    std::size_t filled = 0;
    while (filled < chunk.size()) {
        const std::ptrdiff_t read
            = files.ReadBytes(fileNumber, chunk.data() + filled, chunk.size() - filled);
        if (read < 0)
            return -1;
        if (read == 0)
            break;
        filled += static_cast<std::size_t>(read);
    }
    return static_cast<std::ptrdiff_t>(filled);
}

int Percent(std::int64_t done, std::int64_t total)
{
    return static_cast<int>(done * 100 / total);
}

} // namespace

void PrintCommand::Run(const std::string& path)
{
    PrintDialogPort& dialog = ports_.dialog;
    dialog.ShowButtonPanel(false);
    if (!PrintConfirm(kConfirmPrintTitle, path, ports_.printSettings, ports_.settings,
            ports_.confirmWindow)) {
        dialog.ShowButtonPanel(true);
        return;
    }
    ports_.pointer.MousePointerPush();
    dialog.SetProgress(0);
    dialog.ShowProgress(true);
    dialog.EnableDialog(false);

    PrinterLook before;
    std::int16_t linesPerPage = 0;
    if (const PrinterError error = SetUpPrinter(before, linesPerPage))
        ports_.dialogs.MsgBox(ErrorReport(error), MsgBoxCode::Exclamation);
    else
        PrintFile(path, linesPerPage, before);

    dialog.ShowProgress(false);
    dialog.ShowButtonPanel(true);
    dialog.EnableDialog(true);
    dialog.FocusDialog();
    ports_.pointer.MousePointerPop();
}

PrinterError PrintCommand::SetUpPrinter(PrinterLook& before, std::int16_t& linesPerPage)
{
    PrinterSurface& printer = ports_.printer;
    // A document that an earlier print left open goes out first.
    if (PrinterError error = printer.EndDoc())
        return error;
    before = { printer.Orientation(), printer.FontName(), printer.FontSize() };
    const PrintSettings& chosen = ports_.printSettings;
    if (PrinterError error = printer.SetOrientation(
            chosen.LandscapeFlag ? PageOrientation::Landscape : PageOrientation::Portrait))
        return error;
    // A font the printer refuses has been reported; the print goes on with what it took.
    bool fontFailed = false;
    PRTFONT(printer, ports_.dialogs, chosen.PrintFontName, chosen.PrintFontSize, fontFailed);
    if (PrinterError error = printer.SetFontBold(false))
        return error;
    printPageWidth_ = static_cast<std::int32_t>(std::lround(printer.ScaleWidth()));
    printAbortFlag_ = false;
    lineTooLongWarned_ = false;
    if (PrinterError error = PrinterPageLines(printer, linesPerPage))
        return error;
    linesOnPage_ = 0;
    return {};
}

void PrintCommand::PrintFile(
    const std::string& path, std::int16_t linesPerPage, const PrinterLook& before)
{
    loopError_ = {};
    std::int16_t fileNumber = 0;
    bool failed = false;
    ports_.files.OpenFile(
        path, fileNumber, kBinaryReadOnly, static_cast<std::int32_t>(kPrintChunkSize), failed);
    if (failed) {
        // OpenFile has said why. The measuring output alone would come out as a blank page
        // with the next print, so it is discarded.
        ABORTPRT(ports_.printer);
        return;
    }
    PrintChunks(fileNumber, linesPerPage);
    PlatformError closeError;
    if (!ports_.files.Close(fileNumber, closeError))
        Record(closeError);
    ports_.dialog.ShowProgress(false);
    ConcludeDocument(path);
    RestorePrinter(before);
}

void PrintCommand::PrintChunks(std::int16_t fileNumber, std::int16_t linesPerPage)
{
    std::int64_t total = ports_.files.LengthOf(fileNumber);
    if (total < 0) {
        Record(ErrorWithNumber(ErrorNumber::DeviceIoError));
        total = 0;
    }
    std::int64_t remaining = total;
    std::string chunk;
    while (remaining > 0 && !printAbortFlag_) {
        if (ports_.events.InputPending())
            ports_.events.DoEvents();
        const std::int64_t size = std::min(remaining, kPrintChunkSize);
        chunk.resize(static_cast<std::size_t>(size));
        const std::ptrdiff_t read = ReadChunk(ports_.files, fileNumber, chunk);
        if (read < 0) {
            Record(ErrorWithNumber(ErrorNumber::DeviceIoError));
            chunk.clear();
        } else {
            chunk.resize(static_cast<std::size_t>(read));
        }
        std::erase(chunk, kCtrlZ);
        PrintChunk(chunk, linesPerPage);
        remaining -= size;
        // 64-bit, so that files past 21 MB still show a true percentage.
        ports_.dialog.SetProgress(Percent(total - remaining, total));
    }
}

void PrintCommand::PrintChunk(std::string_view chunk, std::int16_t linesPerPage)
{
    chunk = PrintUpToFormFeeds(chunk);
    if (!chunk.empty())
        chunk = PrintLines(chunk, linesPerPage);
    PrintRest(chunk);
}

// Text before a form feed goes out in one piece, neither split into lines nor counted.
std::string_view PrintCommand::PrintUpToFormFeeds(std::string_view chunk)
{
    PrinterSurface& printer = ports_.printer;
    for (auto feed = chunk.find(kFormFeed); feed != std::string_view::npos;
         feed = chunk.find(kFormFeed)) {
        if (feed > 0)
            Record(printer.Print(chunk.substr(0, feed), false));
        Record(printer.NewPage());
        linesOnPage_ = 0;
        chunk.remove_prefix(feed + 1);
    }
    return chunk;
}

// Returns what follows the last line feed.
std::string_view PrintCommand::PrintLines(std::string_view chunk, std::int16_t linesPerPage)
{
    PrinterSurface& printer = ports_.printer;
    while (!printAbortFlag_) {
        const auto lineFeed = chunk.find('\n');
        if (lineFeed == std::string_view::npos)
            break;
        std::size_t length = lineFeed;
        if (length > 0 && chunk[length - 1] == '\r')
            --length;
        if (length > 0) {
            const std::string_view line = chunk.substr(0, length);
            CheckLineWidth(line);
            Record(printer.Print(line, true));
        } else {
            Record(printer.Print({}, true));
        }
        if (++linesOnPage_ >= linesPerPage) {
            Record(printer.NewPage());
            linesOnPage_ = 0;
        }
        chunk.remove_prefix(lineFeed + 1);
    }
    return chunk;
}

// The next chunk's text continues this printed line. A CR at the very end is dropped, so a
// CR LF pair split between two chunks still ends one line.
void PrintCommand::PrintRest(std::string_view rest)
{
    if (!rest.empty() && rest.back() == '\r')
        rest.remove_suffix(1);
    if (rest.empty())
        return;
    CheckLineWidth(rest);
    Record(ports_.printer.Print(rest, false));
}

void PrintCommand::CheckLineWidth(std::string_view StrToPrint)
{
    if (lineTooLongWarned_)
        return;
    PrinterSurface& printer = ports_.printer;
    const double width = printer.TextWidth(StrToPrint) + printer.CurrentX();
    if (width <= printPageWidth_)
        return;
    lineTooLongWarned_ = true;
    const int answer = ports_.dialogs.MsgBox(
        LineTooLongQuestion(), MsgBoxCode::YesNo | MsgBoxCode::Question, kLineTooLongTitle);
    if (answer == MsgBoxAnswer::Yes)
        printAbortFlag_ = true;
}

void PrintCommand::ConcludeDocument(const std::string& path)
{
    PrinterSurface& printer = ports_.printer;
    if (loopError_) {
        // The document stays open; the next print ends it.
        ports_.dialogs.MsgBox("cmdPrint: " + loopError_.description, MsgBoxCode::OkOnly);
        return;
    }
    if (printAbortFlag_) {
        ABORTPRT(printer);
        return;
    }
    const int pages = printer.Page();
    const std::string documentFile = printer.DocumentFile();
    if (const PrinterError error = printer.EndDoc()) {
        ports_.dialogs.MsgBox(ErrorReport(error), MsgBoxCode::Exclamation);
        return;
    }
    ports_.dialogs.MsgBox(PagesReport(path, pages, documentFile), MsgBoxCode::Information);
}

// Best effort: a printer that refuses its old look has nothing more to tell the user.
void PrintCommand::RestorePrinter(const PrinterLook& before)
{
    PrinterSurface& printer = ports_.printer;
    (void)printer.SetOrientation(before.orientation);
    (void)printer.SetFontName(before.fontName);
    (void)printer.SetFontSize(before.fontSize);
}

void PrintCommand::Record(const PrinterError& error)
{
    if (error)
        loopError_ = error;
}

} // namespace trawlit
