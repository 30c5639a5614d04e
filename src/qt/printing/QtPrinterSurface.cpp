#include "qt/printing/QtPrinterSurface.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <utility>

#include "core/files/ErrorNumbers.h"
#include "core/printing/PrintSettings.h"
#include "core/printing/PrintedTextEncoding.h"

namespace trawlit {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr float kLargestFontSize = 1638.0F;

QPrinterInfo ChosenPrinter()
{
    QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (chosen.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty())
            chosen = printers.front();
    }
    return chosen;
}

QPageLayout::Orientation QtOrientation(std::int16_t orientation)
{
    return orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait;
}

QString Printable(std::string_view bytes)
{
    return QString::fromStdString(PrintableUtf8(bytes));
}

} // namespace

QFont PrinterFont(const std::string& name, float points)
{
    QFont font(QString::fromLocal8Bit(name));
    font.setStyleHint(QFont::TypeWriter);
    if (points > 0.0F)
        font.setPointSizeF(static_cast<double>(points));
    return font;
}

QtPrinterSurface::QtPrinterSurface(Target target)
{
    const QPrinterInfo chosen = target == Target::DefaultPrinter ? ChosenPrinter() : QPrinterInfo();
    if (chosen.isNull()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        toFile_ = true;
    } else {
        printer_ = std::make_unique<QPrinter>(chosen, QPrinter::HighResolution);
    }
    printer_->setPageOrientation(QtOrientation(orientation_));
    font_ = PrinterFont(kDefaultPrintFontName, kDefaultPrintFontSize);
    SetFontName(kDefaultPrintFontName);
    SetFontSize(kDefaultPrintFontSize);
}

QtPrinterSurface::~QtPrinterSurface()
{
    (void)EndDoc();
}

void QtPrinterSurface::SetPdfPath(const std::string& path)
{
    nextPdfPath_ = QString::fromLocal8Bit(path);
}

PrinterError QtPrinterSurface::SetOrientation(std::int16_t orientation)
{
    if (orientation != PageOrientation::Portrait && orientation != PageOrientation::Landscape)
        return ErrorWithNumber(ErrorNumber::InvalidPropertyValue);
    if (!printer_->setPageOrientation(QtOrientation(orientation)))
        return ErrorWithNumber(ErrorNumber::PrinterError);
    orientation_ = orientation;
    return {};
}

PrinterError QtPrinterSurface::SetFontName(const std::string& name)
{
    if (name.empty())
        return ErrorWithNumber(ErrorNumber::InvalidPropertyValue);
    font_.setFamily(QString::fromLocal8Bit(name));
    fontName_ = name;
    FontChanged();
    return {};
}

PrinterError QtPrinterSurface::SetFontSize(float points)
{
    if (!(points > 0.0F && points <= kLargestFontSize))
        return ErrorWithNumber(ErrorNumber::InvalidPropertyValue);
    font_.setPointSizeF(static_cast<double>(points));
    fontSize_ = points;
    FontChanged();
    return {};
}

PrinterError QtPrinterSurface::SetFontBold(bool bold)
{
    font_.setBold(bold);
    FontChanged();
    return {};
}

void QtPrinterSurface::FontChanged()
{
    metrics_.reset();
}

const QFontMetricsF& QtPrinterSurface::Metrics()
{
    if (!metrics_)
        metrics_.emplace(font_, printer_.get());
    return *metrics_;
}

double QtPrinterSurface::ToTwips(double devicePixels) const
{
    return devicePixels * kTwipsPerInch / printer_->resolution();
}

double QtPrinterSurface::ToDevicePixels(double twips) const
{
    return twips * printer_->resolution() / kTwipsPerInch;
}

double QtPrinterSurface::ScaleWidth()
{
    return ToTwips(printer_->pageLayout().paintRectPixels(printer_->resolution()).width());
}

double QtPrinterSurface::ScaleHeight()
{
    return ToTwips(printer_->pageLayout().paintRectPixels(printer_->resolution()).height());
}

// Measures the text as Print will place it: completing a character the last piece began.
double QtPrinterSurface::TextWidth(std::string_view text)
{
    const std::string joined = cutCharacter_ + std::string(text);
    const std::string_view whole(joined.data(), joined.size() - Utf8CharacterCutAtEnd(joined));
    return ToTwips(Metrics().horizontalAdvance(Printable(whole)));
}

void QtPrinterSurface::StartDocument()
{
    if (inDocument_)
        return;
    inDocument_ = true;
    documentPdfPath_ = nextPdfPath_;
    pages_.assign(1, PageContent { orientation_, {} });
    fonts_.clear();
    cutCharacter_.clear();
}

void QtPrinterSurface::Place(const QString& text)
{
    if (text.isEmpty())
        return;
    if (fonts_.empty() || fonts_.back() != font_)
        fonts_.push_back(font_);
    pages_.back().texts.push_back({ currentX_, currentY_, text, fonts_.size() - 1 });
    currentX_ += ToTwips(Metrics().horizontalAdvance(text));
}

void QtPrinterSurface::NextLine()
{
    currentX_ = ScaleLeft();
    currentY_ += ToTwips(Metrics().lineSpacing());
}

void QtPrinterSurface::PlaceBytes(std::string_view bytes)
{
    Place(Printable(bytes));
}

PrinterError QtPrinterSurface::Print(std::string_view text, bool lineEnd)
{
    StartDocument();
    std::string piece = std::move(cutCharacter_) + std::string(text);
    cutCharacter_.clear();
    // A piece may hold line ends of its own (the text before a form feed): they move down.
    // Each line is read as UTF-8 or Windows-1252 by itself.
    std::string_view rest = piece;
    for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        PlaceBytes(line);
        NextLine();
        rest.remove_prefix(end + 1);
    }
    // A character whose bytes straddle two pieces waits for its last byte.
    const std::size_t cut = lineEnd ? 0 : Utf8CharacterCutAtEnd(rest);
    PlaceBytes(rest.substr(0, rest.size() - cut));
    cutCharacter_ = rest.substr(rest.size() - cut);
    if (lineEnd)
        NextLine();
    return {};
}

PrinterError QtPrinterSurface::NewPage()
{
    StartDocument();
    pages_.push_back(PageContent { orientation_, {} });
    currentX_ = ScaleLeft();
    currentY_ = ScaleTop();
    return {};
}

PrinterError QtPrinterSurface::EndDoc()
{
    if (!inDocument_)
        return {};
    PlaceBytes(std::exchange(cutCharacter_, {})); // a file that ends inside a character
    inDocument_ = false;
    const std::vector<PageContent> pages = std::move(pages_);
    pages_.clear();
    currentX_ = ScaleLeft();
    currentY_ = ScaleTop();
    return SendDocument(pages, documentPdfPath_);
}

PrinterError QtPrinterSurface::AbortDoc()
{
    inDocument_ = false;
    cutCharacter_.clear();
    pages_.clear();
    fonts_.clear();
    currentX_ = ScaleLeft();
    currentY_ = ScaleTop();
    return {};
}

std::string QtPrinterSurface::DocumentFile()
{
    if (!toFile_)
        return {};
    return (inDocument_ ? documentPdfPath_ : nextPdfPath_).toLocal8Bit().toStdString();
}

PrinterError QtPrinterSurface::SendDocument(
    const std::vector<PageContent>& pages, const QString& pdfPath)
{
    if (toFile_) {
        if (pdfPath.isEmpty())
            return ErrorWithCause(ErrorNumber::PrinterError, "no file to print to");
        printer_->setOutputFileName(pdfPath);
    }
    const PrinterError cannotPrint = toFile_ ? ErrorWithCause(ErrorNumber::PrinterError,
                                         "cannot write " + pdfPath.toLocal8Bit().toStdString())
                                             : ErrorWithNumber(ErrorNumber::PrinterError);

    printer_->setPageOrientation(QtOrientation(pages.front().orientation));
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        printer_->setPageOrientation(QtOrientation(orientation_));
        return cannotPrint;
    }
    bool sent = true;
    for (std::size_t i = 0; i < pages.size() && sent; ++i) {
        if (i > 0) {
            printer_->setPageOrientation(QtOrientation(pages[i].orientation));
            sent = printer_->newPage();
        }
        for (const PlacedText& placed : pages[i].texts) {
            const QFont& font = fonts_[placed.font];
            painter.setFont(font);
            const double baseline
                = ToDevicePixels(placed.top) + QFontMetricsF(font, printer_.get()).ascent();
            painter.drawText(QPointF(ToDevicePixels(placed.x), baseline), placed.text);
        }
    }
    sent = painter.end() && sent && printer_->printerState() != QPrinter::Error;
    fonts_.clear();
    printer_->setPageOrientation(QtOrientation(orientation_));
    if (!sent) {
        if (toFile_)
            QFile::remove(pdfPath); // never leave a half-written file behind
        return cannotPrint;
    }
    return {};
}

} // namespace trawlit
