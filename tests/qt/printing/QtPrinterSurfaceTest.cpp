#include "qt/printing/QtPrinterSurface.h"

#include <QFile>
#include <cmath>

#include <gtest/gtest.h>

#include "core/files/ErrorNumbers.h"
#include "fakes/TempFolder.h"

namespace trawlit {
namespace {

using fakes::TempFolder;

class QtPrinterSurfaceTest : public ::testing::Test {
protected:
    QtPrinterSurfaceTest()
    {
        printer.SetFontName("DejaVu Sans Mono");
        printer.SetFontSize(10.0F);
        printer.SetPdfPath(pdf);
    }

    TempFolder temp;
    std::string pdf = temp / "out.pdf";
    QtPrinterSurface printer { QtPrinterSurface::Target::PdfFile };
};

TEST_F(QtPrinterSurfaceTest, MeasuresInTwips)
{
    const double portraitWidth = printer.ScaleWidth();
    const double portraitHeight = printer.ScaleHeight();
    // A4 or Letter, less the printer's margins: between 7 and 8.5 inches wide.
    EXPECT_GT(portraitWidth, 7 * 1440);
    EXPECT_LT(portraitWidth, 8.5 * 1440);
    EXPECT_GT(portraitHeight, portraitWidth);

    printer.SetOrientation(PageOrientation::Landscape);
    EXPECT_NEAR(printer.ScaleWidth(), portraitHeight, 2);
    EXPECT_NEAR(printer.ScaleHeight(), portraitWidth, 2);

    // Ten points of a fixed-pitch face: every character as wide as the next.
    EXPECT_NEAR(printer.TextWidth("abcd"), 4 * printer.TextWidth("W"), 1);
    printer.Print("", true);
    EXPECT_GT(printer.CurrentY(), 10 * 20); // at least the font's own height
    EXPECT_LT(printer.CurrentY(), 15 * 20);
    printer.AbortDoc();
}

TEST_F(QtPrinterSurfaceTest, ACharacterSplitBetweenTwoPiecesPrintsAsOne)
{
    printer.Print("\xC3", false);
    printer.Print("\xA9", false);
    EXPECT_NEAR(printer.CurrentX(), printer.TextWidth("\xC3\xA9"), 1);
    printer.AbortDoc();
}

// A line in Windows-1252 prints its characters, not replacement marks: as wide as in UTF-8.
TEST_F(QtPrinterSurfaceTest, ALineThatIsNotUtf8PrintsAsWindows1252)
{
    printer.SetFontName("DejaVu Sans");
    const std::string quotedUtf8 = "\xE2\x80\x9C" + std::string("d\xC3\xA9j\xC3\xA0\xE2\x80\x9D");
    const std::string quoted1252 = "\x93" + std::string("d\xE9j\xE0\x94");
    const double utf8 = printer.TextWidth(quotedUtf8);
    EXPECT_NEAR(printer.TextWidth(quoted1252), utf8, 1);
    printer.Print(quoted1252, false);
    EXPECT_NEAR(printer.CurrentX(), utf8, 1);
    printer.AbortDoc();
}

TEST_F(QtPrinterSurfaceTest, AnAbandonedDocumentLeavesNoFile)
{
    printer.Print("first page", true);
    printer.NewPage();
    EXPECT_EQ(printer.Page(), 2);
    EXPECT_FALSE(printer.AbortDoc());
    EXPECT_FALSE(printer.EndDoc());
    EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(pdf)));
}

TEST_F(QtPrinterSurfaceTest, AFileThatCannotBeWrittenIsAPrinterError)
{
    const std::string unwritable = temp / "no such folder/out.pdf";
    printer.SetPdfPath(unwritable);
    printer.Print("text", true);
    EXPECT_EQ(printer.DocumentFile(), unwritable);
    const PrinterError error = printer.EndDoc();
    EXPECT_EQ(error.number, ErrorNumber::PrinterError);
    EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(unwritable)));
}

TEST_F(QtPrinterSurfaceTest, ADocumentStillOpenAtTheEndIsSent)
{
    {
        QtPrinterSurface lastPrinter(QtPrinterSurface::Target::PdfFile);
        lastPrinter.SetPdfPath(pdf);
        lastPrinter.Print("left open", true);
    }
    EXPECT_TRUE(QFile::exists(QString::fromLocal8Bit(pdf)));
}

TEST_F(QtPrinterSurfaceTest, RefusesFontSizesNoPrinterHas)
{
    for (float size : { 0.0F, -1.0F, 5000.0F, std::nanf("") })
        EXPECT_EQ(printer.SetFontSize(size).number, ErrorNumber::InvalidPropertyValue);
    EXPECT_EQ(printer.FontSize(), 10.0F);
}

} // namespace
} // namespace trawlit
