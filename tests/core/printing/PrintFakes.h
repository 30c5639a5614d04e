#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/ErrorNumbers.h"
#include "core/printing/MousePointer.h"
#include "core/printing/PrintCommand.h"
#include "core/printing/PrintConfirm.h"
#include "ports/PrinterSurface.h"

namespace trawlit::fakes {

// What a failing printer operation answers.
inline const PrinterError kPrinterFailure { ErrorNumber::PrinterError, "Printer error" };

// A printer that logs every output ("Line[text]" with a line end, "Text[text]" without,
// "NewPage", "EndDoc", "AbortDoc") and keeps the print position like a page would: each
// character is `charWidth` wide, each line `lineHeight` high.
class RecordingPrinter : public PrinterSurface {
public:
    std::int16_t Orientation() override { return orientation; }
    PrinterError SetOrientation(std::int16_t value) override
    {
        return Attempt("SetOrientation", [&] { orientation = value; });
    }
    std::string FontName() override { return fontName; }
    PrinterError SetFontName(const std::string& name) override
    {
        return Attempt("SetFontName", [&] { fontName = name; });
    }
    float FontSize() override { return fontSize; }
    PrinterError SetFontSize(float points) override
    {
        return Attempt("SetFontSize", [&] { fontSize = points; });
    }
    PrinterError SetFontBold(bool bold) override
    {
        return Attempt("SetFontBold", [&] { fontBold = bold; });
    }

    double ScaleWidth() override { return scaleWidth; }
    double ScaleHeight() override { return scaleHeight; }
    double ScaleLeft() override { return 0.0; }
    double ScaleTop() override { return 0.0; }
    double CurrentX() override { return x; }
    double CurrentY() override { return y; }
    void SetCurrentX(double value) override { x = value; }
    void SetCurrentY(double value) override { y = value; }
    double TextWidth(std::string_view text) override
    {
        return charWidth * static_cast<double>(text.size());
    }

    PrinterError Print(std::string_view text, bool lineEnd) override
    {
        const std::string op = lineEnd ? "Line" : "Text";
        const std::string logged = op + "[" + std::string(text) + "]";
        if (failures.count(logged) != 0)
            return failures[logged];
        return Attempt(op, [&] {
            StartDocument();
            log.push_back(logged);
            x += TextWidth(text);
            if (lineEnd) {
                x = 0.0;
                y += lineHeight;
            }
        });
    }
    PrinterError NewPage() override
    {
        return Attempt("NewPage", [&] {
            StartDocument();
            log.push_back("NewPage");
            ++page;
            x = y = 0.0;
        });
    }
    // Without a document there is nothing to end, and nothing fails.
    PrinterError EndDoc() override
    {
        if (!inDocument)
            return {};
        return Attempt("EndDoc", [&] {
            log.push_back("EndDoc");
            ++endedDocuments;
            inDocument = false;
        });
    }
    int Page() override { return page; }
    PrinterError AbortDoc() override
    {
        return Attempt("AbortDoc", [&] {
            log.push_back("AbortDoc");
            inDocument = false;
        });
    }
    std::string DocumentFile() override { return documentFile; }

    // The outputs after the page measurement at the start of a print.
    std::vector<std::string> Printed() const
    {
        for (std::size_t i = 0; i + 1 < log.size(); ++i)
            if (log[i] == "Line[]" && log[i + 1] == "Text[ ]")
                return { log.begin() + static_cast<std::ptrdiff_t>(i) + 2, log.end() };
        return log;
    }

    // By operation (every call fails) or by a logged output ("Line[b]": that print fails).
    std::map<std::string, PrinterError> failures;
    std::vector<std::string> log;
    std::int16_t orientation = PageOrientation::Portrait;
    std::string fontName = "Printer Default";
    float fontSize = 12.0F;
    bool fontBold = true;
    double scaleWidth = 10000.0;
    double scaleHeight = 1000.0;
    double lineHeight = 100.0; // ten lines per page by default
    double charWidth = 1.0;
    double x = 0.0;
    double y = 0.0;
    int page = 0;
    bool inDocument = false;
    int endedDocuments = 0;
    std::string documentFile;

private:
    template <typename Action> PrinterError Attempt(const std::string& op, Action action)
    {
        const auto failure = failures.find(op);
        if (failure != failures.end())
            return failure->second;
        action();
        return {};
    }
    void StartDocument()
    {
        if (inDocument)
            return;
        inDocument = true;
        page = 1;
    }
};

// The dialog's printing surface as the user sees it, and whether it ever looked busy (buttons
// hidden, progress shown, input refused, all at once).
class FakePrintDialog : public PrintDialogPort {
public:
    void ShowButtonPanel(bool visible) override { buttonsVisible = visible; }
    void ShowProgress(bool visible) override
    {
        progressVisible = visible;
        NoteBusyLook();
    }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void EnableDialog(bool isEnabled) override
    {
        enabled = isEnabled;
        NoteBusyLook();
    }
    void FocusDialog() override { focused = true; }

    bool buttonsVisible = true;
    bool progressVisible = false;
    bool enabled = true;
    bool focused = false;
    bool lookedBusy = false;
    std::vector<int> progress;

private:
    void NoteBusyLook()
    {
        lookedBusy = lookedBusy || (!buttonsVisible && progressVisible && !enabled);
    }
};

// Answers the confirmation as scripted, optionally changing the choices first.
class ScriptedConfirmWindow : public PrintConfirmWindow {
public:
    void ShowModal(PrintSettings& settings) override
    {
        shown.push_back(settings);
        if (change)
            change(settings);
        settings.ConfirmResult = result;
    }
    std::int16_t result = ConfirmResultCode::Ok;
    std::function<void(PrintSettings&)> change;
    std::vector<PrintSettings> shown; // as each showing found them
};

class FakeScreenPointer : public ScreenPointer {
public:
    PointerCode Pointer() override { return pointer; }
    void SetPointer(PointerCode code) override
    {
        pointer = code;
        ++sets;
    }
    void ShowPointerChange() override { ++shows; }

    PointerCode pointer = PointerCode::Default;
    int sets = 0;
    int shows = 0;
};

} // namespace trawlit::fakes
