#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/FileSystem.h"

namespace trawlit {

// A failed printer operation (an ErrorNumber); number 0 means it went through.
using PrinterError = PlatformError;

namespace PageOrientation {
inline constexpr std::int16_t Portrait = 1;
inline constexpr std::int16_t Landscape = 2;
} // namespace PageOrientation

// The printer as a page surface. Lengths are twips (1/1440 inch), measured from the top-left
// corner of the printable area. The first output of any kind starts a document; operations
// that can fail return the failure instead of throwing.
class PrinterSurface {
public:
    virtual ~PrinterSurface() = default;

    virtual std::int16_t Orientation() = 0; // PageOrientation
    virtual PrinterError SetOrientation(std::int16_t orientation) = 0;
    virtual std::string FontName() = 0;
    virtual PrinterError SetFontName(const std::string& name) = 0;
    virtual float FontSize() = 0; // points
    virtual PrinterError SetFontSize(float points) = 0;
    virtual PrinterError SetFontBold(bool bold) = 0;

    // The printable area of a page.
    virtual double ScaleWidth() = 0;
    virtual double ScaleHeight() = 0;
    virtual double ScaleLeft() = 0;
    virtual double ScaleTop() = 0;

    // The print position.
    virtual double CurrentX() = 0;
    virtual double CurrentY() = 0;
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;

    // The width `text` would take in the current font.
    virtual double TextWidth(std::string_view text) = 0;

    // Prints `text` at the print position. With a line end the position moves to the start of
    // the next line, without one it stays behind the text. Printing nothing with a line end
    // moves to the next line.
    virtual PrinterError Print(std::string_view text, bool lineEnd) = 0;
    // Ends the page; output goes on at the top-left of the next one.
    virtual PrinterError NewPage() = 0;
    // Ends the document and hands it over for printing; nothing happens without one.
    virtual PrinterError EndDoc() = 0;
    // The page in progress, 1 for the first.
    virtual int Page() = 0;
    // Discards the document in progress: nothing of it comes out.
    virtual PrinterError AbortDoc() = 0;

    // The file the document in progress goes to instead of a printer; empty for a printer.
    virtual std::string DocumentFile() { return {}; }
};

} // namespace trawlit
