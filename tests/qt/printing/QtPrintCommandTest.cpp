#include "qt/printing/QtPrintCommand.h"

#include <QApplication>
#include <QDialog>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <regex>

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "core/printing/PrinterPages.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"
#include "ports/EventPump.h"
#include "ports/SettingsStore.h"
#include "qt/printing/QtPrintPorts.h"
#include "qt/printing/QtPrinterSurface.h"
#include "qt/printing/frmPrintConfirm.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

using fakes::RecordingDialogs;
using fakes::TempFolder;

int CountMatches(const std::string& text, const std::regex& pattern)
{
    return static_cast<int>(std::distance(
        std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()));
}

int PdfPageCount(const std::string& pdf)
{
    return CountMatches(pdf, std::regex("/Type\\s*/Page(?!s)"));
}

// Width and height of the first page, in points.
std::pair<double, double> PdfPageSize(const std::string& pdf)
{
    std::smatch match;
    if (!std::regex_search(pdf, match, std::regex("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")))
        return { 0, 0 };
    return { std::stod(match[1]), std::stod(match[2]) };
}

// Numbered lines of 12 bytes and one shorter line: exactly one chunk of 683 lines.
std::string OneChunkOfLines()
{
    std::string text;
    for (int i = 1; i <= 682; ++i) {
        const std::string number = std::to_string(i);
        text += "Line " + std::string(5 - number.size(), '0') + number + "\r\n";
    }
    return text + "Last\r\n\r\n";
}

// Waits for frmPrintConfirm to come up, then chooses landscape and presses OK.
void ConfirmInLandscape()
{
    QTimer::singleShot(10, [] {
        auto* form = qobject_cast<frmPrintConfirm*>(QApplication::activeModalWidget());
        if (form == nullptr) {
            ConfirmInLandscape();
            return;
        }
        QTest::mouseClick(form->optLandscape, Qt::LeftButton);
        QTest::mouseClick(form->cmdOK, Qt::LeftButton);
    });
}

class QtPrintCommandTest : public ::testing::Test {
protected:
    QtPrintCommandTest()
    {
        auto* layout = new QVBoxLayout(&dialog);
        panelButtons = new QWidget(&dialog);
        new ButtonKbt(QStringLiteral("&Print"), panelButtons);
        progressBar = new QProgressBar(&dialog);
        progressBar->hide();
        layout->addWidget(panelButtons);
        layout->addWidget(progressBar);
        dialog.show();
    }

    TempFolder temp;
    PosixPlatform platform;
    NoEventPump noEvents;
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
    InMemorySettingsStore store;
    PrintServices services { store, dialogs, files, noEvents };
    QDialog dialog;
    QWidget* panelButtons = nullptr;
    QProgressBar* progressBar = nullptr;
};

TEST_F(QtPrintCommandTest, PrintsAResultsFileIntoAPdfBesideIt)
{
    store.Save("Trawlit", "Startup", "PrintConfirmFontName", "DejaVu Sans Mono");
    store.Save("Trawlit", "Startup", "PrintConfirmFontSize", "10");
    services.UsePrinter(std::make_unique<QtPrinterSurface>(QtPrinterSurface::Target::PdfFile));

    // As many lines as a landscape page of that font holds, measured on a twin printer.
    std::int16_t linesPerPage = 0;
    {
        QtPrinterSurface twin(QtPrinterSurface::Target::PdfFile);
        twin.SetOrientation(PageOrientation::Landscape);
        twin.SetFontName("DejaVu Sans Mono");
        twin.SetFontSize(10.0F);
        ASSERT_FALSE(PrinterPageLines(twin, linesPerPage));
        twin.AbortDoc();
    }
    ASSERT_GT(linesPerPage, 10);
    // A form feed opening the second chunk starts the last page.
    const std::string firstChunk = OneChunkOfLines();
    ASSERT_EQ(firstChunk.size(), 8192U);
    const std::string path = temp.Write("results.out", firstChunk + "\f" + "tail 1\r\ntail 2\r\n");
    const int pages = 683 / linesPerPage + 2;

    ConfirmInLandscape();
    RunPrintCommand(&dialog, panelButtons, progressBar, path, services);

    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text,
        path + "\r\n\r\n" + std::to_string(pages) + " pages saved to\r\n" + path
            + ".pdf\r\n\r\nNo printer is installed on this system.");
    const std::string pdf = TempFolder::ReadWholeFile(path + ".pdf");
    EXPECT_EQ(PdfPageCount(pdf), pages);
    const auto [width, height] = PdfPageSize(pdf);
    EXPECT_GT(width, height); // landscape
    EXPECT_EQ(store.Get("Trawlit", "Startup", "PrintConfirmLandscapeFlag"), "True");

    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_TRUE(panelButtons->isVisible());
    EXPECT_FALSE(progressBar->isVisible());
    EXPECT_EQ(progressBar->value(), 100);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Neither a PDF on disk nor the one a failed print left open (written when the next print
// starts) is overwritten.
TEST_F(QtPrintCommandTest, EarlierPdfsAreKeptAndTheMessageNamesTheNewOne)
{
    auto printer = std::make_unique<QtPrinterSurface>(QtPrinterSurface::Target::PdfFile);
    const std::string path = temp.Write("results.out", "one line\r\n");
    const std::string earlier = temp.Write("results.out.pdf", "an earlier print");
    printer->SetPdfPath(path + "-2.pdf");
    printer->Print("left open", true);
    services.UsePrinter(std::move(printer));

    ConfirmInLandscape();
    RunPrintCommand(&dialog, panelButtons, progressBar, path, services);

    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_NE(
        dialogs.messages[0].text.find("saved to\r\n" + path + "-3.pdf\r\n"), std::string::npos);
    EXPECT_EQ(TempFolder::ReadWholeFile(earlier), "an earlier print");
    EXPECT_EQ(PdfPageCount(TempFolder::ReadWholeFile(path + "-2.pdf")), 1);
    EXPECT_EQ(PdfPageCount(TempFolder::ReadWholeFile(path + "-3.pdf")), 1);
}

TEST_F(QtPrintCommandTest, ADisabledDialogRefusesToClose)
{
    QtPrintDialogPort port(&dialog, panelButtons, progressBar);
    port.EnableDialog(false);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    port.EnableDialog(true);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
}

TEST(QtScreenPointerTest, TheBusyPointerComesAndGoesOverWhatShowedBefore)
{
    MousePointerStack& stack = ProgramMousePointer();
    stack.MousePointerPush();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    stack.MousePointerPush();
    stack.MousePointerPop();
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    stack.MousePointerPop();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Another part's pointer is left to its owner.
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    stack.MousePointerPush();
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    stack.MousePointerPop();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace trawlit
