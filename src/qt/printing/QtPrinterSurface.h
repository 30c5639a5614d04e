#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/PrinterSurface.h"

class QPrinter;

namespace trawlit {

// The font the printer uses for a stored font name and size: where that face is missing, a
// fixed-pitch one stands in, so listings stay aligned.
QFont PrinterFont(const std::string& name, float points);

// The printer surface on the system's default printer (the first one when none is the
// default). On a system without any printer the pages go to a PDF file instead, named by
// SetPdfPath before the document starts.
//
// A document is kept until EndDoc and only then sent, so that AbortDoc can discard it whole:
// nothing of an abandoned print reaches the printer or the file.
class QtPrinterSurface : public PrinterSurface {
public:
    enum class Target { DefaultPrinter, PdfFile };

    explicit QtPrinterSurface(Target target = Target::DefaultPrinter);
    ~QtPrinterSurface() override; // a document still open is sent
    QtPrinterSurface(const QtPrinterSurface&) = delete;
    QtPrinterSurface& operator=(const QtPrinterSurface&) = delete;

    bool PrintsToFile() const { return toFile_; }
    // The PDF file of a document still open; empty when none is.
    std::string OpenDocumentFile() const
    {
        return inDocument_ ? documentPdfPath_.toLocal8Bit().toStdString() : std::string();
    }
    // The PDF file for the next document, where there is no printer.
    void SetPdfPath(const std::string& path);

    std::int16_t Orientation() override { return orientation_; }
    PrinterError SetOrientation(std::int16_t orientation) override;
    std::string FontName() override { return fontName_; }
    PrinterError SetFontName(const std::string& name) override;
    float FontSize() override { return fontSize_; }
    PrinterError SetFontSize(float points) override;
    PrinterError SetFontBold(bool bold) override;

    double ScaleWidth() override;
    double ScaleHeight() override;
    double ScaleLeft() override { return 0.0; }
    double ScaleTop() override { return 0.0; }
    double CurrentX() override { return currentX_; }
    double CurrentY() override { return currentY_; }
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    double TextWidth(std::string_view text) override;

    PrinterError Print(std::string_view text, bool lineEnd) override;
    PrinterError NewPage() override;
    PrinterError EndDoc() override;
    int Page() override { return static_cast<int>(pages_.size()); }
    PrinterError AbortDoc() override;
    std::string DocumentFile() override;

private:
    struct PlacedText {
        double x = 0.0; // twips
        double top = 0.0;
        QString text;
        std::size_t font = 0; // index into fonts_
    };
    struct PageContent {
        std::int16_t orientation = 0;
        std::vector<PlacedText> texts;
    };

    void StartDocument();
    void Place(const QString& text);
    void PlaceBytes(std::string_view bytes);
    void NextLine();
    PrinterError SendDocument(const std::vector<PageContent>& pages, const QString& pdfPath);
    const QFontMetricsF& Metrics();
    double ToTwips(double devicePixels) const;
    double ToDevicePixels(double twips) const;
    void FontChanged();

    std::unique_ptr<QPrinter> printer_;
    bool toFile_ = false;
    QString nextPdfPath_;
    QString documentPdfPath_;

    std::int16_t orientation_ = PageOrientation::Portrait;
    std::string fontName_;
    float fontSize_ = 0.0F;
    QFont font_;
    std::optional<QFontMetricsF> metrics_;
    double currentX_ = 0.0;
    double currentY_ = 0.0;

    bool inDocument_ = false;
    std::vector<PageContent> pages_;
    std::vector<QFont> fonts_;
    std::string cutCharacter_; // the start of a character the next piece completes
};

} // namespace trawlit
