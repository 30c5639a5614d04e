#include "core/printing/PrintCommand.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PrintFakes.h"
#include "core/files/FileRoutines.h"
#include "core/printing/MousePointer.h"
#include "core/printing/PrintSettings.h"
#include "core/printing/PrinterPages.h"
#include "fakes/FakePlatform.h"
#include "fakes/RecordingDialogs.h"
#include "ports/Dialogs.h"
#include "ports/SettingsStore.h"

namespace trawlit {
namespace {

using fakes::FakePlatform;
using fakes::FakePrintDialog;
using fakes::FakeScreenPointer;
using fakes::kPrinterFailure;
using fakes::RecordingDialogs;
using fakes::RecordingPrinter;
using fakes::ScriptedConfirmWindow;
using Ops = std::vector<std::string>;

const std::string kPath = "/data/results.out";

std::string Repeat(char c, std::size_t count)
{
    return std::string(count, c);
}

std::string Numbered(int lines)
{
    std::string text;
    for (int i = 1; i <= lines; ++i)
        text += std::to_string(i) + "\r\n";
    return text;
}

class PrintCommandTest : public ::testing::Test {
protected:
    void Print(const std::string& contents)
    {
        platform.AddFile(kPath, contents);
        command.Run(kPath);
    }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages)
            texts.push_back(message.text);
        return texts;
    }
    std::string PagesMessage(const std::string& pages) const
    {
        return kPath + "\r\n\r\n" + pages + " sent to printer.";
    }

    FakePlatform platform;
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
    RecordingPrinter printer;
    FakePrintDialog dialog;
    FakeScreenPointer screen;
    MousePointerStack pointer { screen };
    ScriptedConfirmWindow confirm;
    InMemorySettingsStore settings;
    PrintSettings printSettings;
    PrintCommand command { PrintPorts {
        printer, dialog, dialogs, files, platform, pointer, confirm, settings, printSettings } };
};

struct LayoutCase {
    const char* name;
    std::string contents;
    Ops printed;
};

class PrintLayoutTest : public PrintCommandTest,
                        public ::testing::WithParamInterface<LayoutCase> { };

TEST_P(PrintLayoutTest, BreaksTheTextIntoLinesAndPages)
{
    Print(GetParam().contents);
    EXPECT_EQ(printer.Printed(), GetParam().printed);
}

const std::string kChunkOfX = Repeat('x', 8192);

INSTANTIATE_TEST_SUITE_P(Texts, PrintLayoutTest,
    ::testing::Values(
        LayoutCase { "LfAndCrLfAlike", "a\nb\r\nc", { "Line[a]", "Line[b]", "Text[c]", "EndDoc" } },
        LayoutCase { "LoneCrStaysInTheLine", "a\rb\r\n", { "Line[a\rb]", "EndDoc" } },
        LayoutCase { "EmptyLines", "\n\r\n", { "Line[]", "Line[]", "EndDoc" } },
        LayoutCase { "TabsAsTheyAre", "a\tb\n", { "Line[a\tb]", "EndDoc" } },
        LayoutCase { "CtrlZDropped",
            "\x1A"
            "a\x1A"
            "b\n\x1A",
            { "Line[ab]", "EndDoc" } },
        LayoutCase {
            "FormFeedFirstPrintsNothingBeforeIt", "\fa\n", { "NewPage", "Line[a]", "EndDoc" } },
        LayoutCase { "TwoFormFeedsGiveAnEmptyPage", "a\n\f\fb\n",
            { "Text[a\n]", "NewPage", "NewPage", "Line[b]", "EndDoc" } },
        LayoutCase { "TextBeforeAFormFeedIsOnePiece", "a\r\nb\r\nc\fd\r\n",
            { "Text[a\r\nb\r\nc]", "NewPage", "Line[d]", "EndDoc" } },
        LayoutCase { "CrLfSplitBetweenChunks", Repeat('x', 8191) + "\r\ny\n",
            { "Text[" + Repeat('x', 8191) + "]", "Line[]", "Line[y]", "EndDoc" } },
        LayoutCase { "FormFeedStartingTheSecondChunk", kChunkOfX + "\fz\n",
            { "Text[" + kChunkOfX + "]", "NewPage", "Line[z]", "EndDoc" } },
        LayoutCase { "LineLongerThanAChunkInPieces", Repeat('x', 9000) + "\n",
            { "Text[" + kChunkOfX + "]", "Line[" + Repeat('x', 808) + "]", "EndDoc" } },
        LayoutCase { "NineLinesOnePage", Numbered(9),
            { "Line[1]", "Line[2]", "Line[3]", "Line[4]", "Line[5]", "Line[6]", "Line[7]",
                "Line[8]", "Line[9]", "EndDoc" } },
        LayoutCase { "FullPageStartsTheNext", Numbered(10),
            { "Line[1]", "Line[2]", "Line[3]", "Line[4]", "Line[5]", "Line[6]", "Line[7]",
                "Line[8]", "Line[9]", "Line[10]", "NewPage", "EndDoc" } },
        LayoutCase { "FormFeedRestartsTheLineCount", Numbered(9) + "\f" + Numbered(9),
            { "Text[" + Numbered(9) + "]", "NewPage", "Line[1]", "Line[2]", "Line[3]", "Line[4]",
                "Line[5]", "Line[6]", "Line[7]", "Line[8]", "Line[9]", "EndDoc" } }),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(PrintCommandTest, CountsThePagesInTheClosingMessage)
{
    struct Case {
        std::string contents;
        std::string pages;
    };
    for (const Case& c : { Case { "", "1 page" }, Case { Numbered(9), "1 page" },
             Case { Numbered(10), "2 pages" }, Case { "a\fb\fc", "3 pages" } }) {
        dialogs.messages.clear();
        Print(c.contents);
        ASSERT_EQ(dialogs.messages.size(), 1U) << c.pages;
        EXPECT_EQ(dialogs.messages[0].text, PagesMessage(c.pages));
        EXPECT_EQ(dialogs.messages[0].code, MsgBoxCode::Information);
        EXPECT_EQ(dialogs.messages[0].title, kProgramTitle);
    }
}

TEST_F(PrintCommandTest, NamesTheFileThePagesWentToWithoutAPrinter)
{
    printer.documentFile = kPath + ".pdf";
    Print("a\fb");
    ASSERT_EQ(MessageTexts().size(), 1U);
    EXPECT_EQ(MessageTexts()[0],
        kPath + "\r\n\r\n2 pages saved to\r\n" + kPath
            + ".pdf\r\n\r\nNo printer is installed on this system.");
}

TEST_F(PrintCommandTest, AsksOnceAboutWideLinesAndGoesOnAfterNo)
{
    printer.scaleWidth = 10;
    dialogs.answers = { MsgBoxAnswer::No };
    Print("0123456789\n0123456789A\nlong line number two\n");
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_EQ(dialogs.messages[0].text,
        "One or more lines are too long\r\n\r\nTo fix the problem, select a smaller font size or "
        "change the page orientation to landscape.\r\n\r\nAbort print job?");
    EXPECT_EQ(dialogs.messages[0].code, MsgBoxCode::YesNo | MsgBoxCode::Question);
    EXPECT_EQ(dialogs.messages[0].title, "Line too long");
    EXPECT_EQ(dialogs.messages[1].text, PagesMessage("1 page"));
    EXPECT_EQ(printer.Printed(),
        (Ops { "Line[0123456789]", "Line[0123456789A]", "Line[long line number two]", "EndDoc" }));
}

TEST_F(PrintCommandTest, YesToTheWideLineQuestionDiscardsTheDocument)
{
    printer.scaleWidth = 10;
    dialogs.answers = { MsgBoxAnswer::Yes };
    Print("short\nmuch too long\nb\nc\n" + kChunkOfX + "\nnever read\n");
    ASSERT_EQ(dialogs.messages.size(), 1U); // the question, no closing message
    EXPECT_TRUE(command.PrintAbortFlag());
    const Ops printed = printer.Printed();
    // The rest of the chunk goes out in one piece; the next chunk is never read.
    ASSERT_EQ(printed.size(), 4U);
    EXPECT_EQ(printed[0], "Line[short]");
    EXPECT_EQ(printed[1], "Line[much too long]");
    EXPECT_EQ(printed[2].substr(0, 11), "Text[b\nc\nxx");
    EXPECT_EQ(printed[3], "AbortDoc");
    EXPECT_EQ(printer.endedDocuments, 0);
}

TEST_F(PrintCommandTest, WidthCheckSeesAPieceWhereItStarts)
{
    // The second piece of a 9000-byte line starts 8192 twips in.
    printer.scaleWidth = 8500;
    dialogs.answers = { MsgBoxAnswer::No };
    Print(Repeat('x', 9000) + "\n");
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_EQ(dialogs.messages[0].title, "Line too long");
}

TEST_F(PrintCommandTest, ProgressIsATruePercentageForFilesPast21Megabytes)
{
    const std::int64_t total = 22'000'000;
    printer.charWidth = 0.0;
    platform.inputPendingDefault = true;
    Print(Repeat('x', static_cast<std::size_t>(total)));

    // 2686 chunks, a value before the first and one after each; 21.5 MB times 100 is past
    // what 32 bits hold.
    ASSERT_EQ(dialog.progress.size(), 2687U);
    const std::pair<std::size_t, int> points[]
        = { { 0, 0 }, { 1, 0 }, { 1343, 50 }, { 2622, 97 }, { 2685, 99 }, { 2686, 100 } };
    for (const auto& [chunk, percent] : points)
        EXPECT_EQ(dialog.progress[chunk], percent) << chunk;
    EXPECT_TRUE(std::is_sorted(dialog.progress.begin(), dialog.progress.end()));
    EXPECT_EQ(platform.doEventsCalls, 2686); // one look at the input per chunk
}

TEST_F(PrintCommandTest, AppliesTheChoicesAndPutsThePrinterBack)
{
    settings.Save("Trawlit", "Startup", "PrintConfirmLandscapeFlag", "True");
    settings.Save("Trawlit", "Startup", "PrintConfirmFontName", "Mono");
    settings.Save("Trawlit", "Startup", "PrintConfirmFontSize", "8.5");
    std::vector<std::string> during;
    platform.inputPendingDefault = true;
    platform.onDoEvents = [&] {
        during.push_back(std::to_string(printer.orientation) + " " + printer.fontName + " "
            + FontSizeText(printer.fontSize) + (printer.fontBold ? " bold" : ""));
    };
    Print("a\n");
    EXPECT_EQ(during, Ops { "2 Mono 8.5" });
    EXPECT_EQ(printer.orientation, PageOrientation::Portrait);
    EXPECT_EQ(printer.fontName, "Printer Default");
    EXPECT_EQ(printer.fontSize, 12.0F);
    EXPECT_FALSE(printer.fontBold); // bold is not put back
}

TEST_F(PrintCommandTest, BusyLookComesAndGoesOnEveryPath)
{
    struct Case {
        const char* name;
        std::function<void()> arrange;
        bool busyOnTheWay; // and the dialog focused at the end
    };
    const Case cases[] = {
        { "printed", [] {}, true },
        { "open failed", [&] { platform.FailOpen(kPath, 70, "Permission denied"); }, true },
        { "set-up failed", [&] { printer.failures["SetFontBold"] = kPrinterFailure; }, true },
        { "not confirmed", [&] { confirm.result = ConfirmResultCode::Closed; }, false },
    };
    for (const Case& c : cases) {
        dialog = {};
        printer.failures.clear();
        screen.pointer = PointerCode::Arrow;
        c.arrange();
        Print("a\n");
        EXPECT_EQ(dialog.lookedBusy, c.busyOnTheWay) << c.name;
        EXPECT_EQ(dialog.focused, c.busyOnTheWay) << c.name;
        EXPECT_TRUE(dialog.buttonsVisible && !dialog.progressVisible && dialog.enabled) << c.name;
        EXPECT_EQ(screen.pointer, PointerCode::Arrow) << c.name;
        EXPECT_EQ(pointer.Depth(), 0) << c.name;
    }
}

TEST_F(PrintCommandTest, NotConfirmedPrintsAndStoresNothing)
{
    confirm.result = ConfirmResultCode::Closed;
    Print("a\n");
    EXPECT_TRUE(printer.log.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(settings.SaveCount(), 0);
}

TEST_F(PrintCommandTest, SetUpFailureIsReportedAndLeavesThePrinterAsSet)
{
    printSettings.LandscapeFlag = true;
    settings.Save("Trawlit", "Startup", "PrintConfirmLandscapeFlag", "True");
    printer.failures["SetFontBold"] = kPrinterFailure;
    Print("a\n");
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, "Error # 482\r\nPrinter error");
    EXPECT_EQ(dialogs.messages[0].code, MsgBoxCode::Exclamation);
    EXPECT_TRUE(printer.log.empty());
    EXPECT_EQ(printer.orientation, PageOrientation::Landscape);
    EXPECT_EQ(printer.fontName, "Courier New");
}

TEST_F(PrintCommandTest, PrintingFailuresAreReportedOnceAtTheEndAndTheDocumentStaysOpen)
{
    printer.failures["Line[a]"] = { 57, "Device I/O error" };
    printer.failures["Line[b]"] = kPrinterFailure;
    Print("a\nb\nc\n");
    EXPECT_EQ(MessageTexts(), Ops { "cmdPrint: Printer error" });
    EXPECT_EQ(dialogs.messages[0].code, MsgBoxCode::OkOnly);
    EXPECT_EQ(printer.Printed(), Ops { "Line[c]" }); // the run went on past the failures
    EXPECT_TRUE(printer.inDocument);
    EXPECT_EQ(printer.fontName, "Printer Default"); // put back all the same

    // The next print sends the open document out first.
    printer.failures.clear();
    dialogs.messages.clear();
    command.Run(kPath);
    EXPECT_EQ(printer.endedDocuments, 2);
    EXPECT_EQ(MessageTexts(), Ops { PagesMessage("1 page") });
}

TEST_F(PrintCommandTest, FailedOpenDiscardsTheMeasuringPage)
{
    command.Run("/data/missing.out");
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].title, "File Open Error");
    EXPECT_EQ(printer.Printed(), Ops { "AbortDoc" });

    // No blank page comes out ahead of the next print.
    Print("a\n");
    EXPECT_EQ(printer.endedDocuments, 1);
}

TEST_F(PrintCommandTest, FailedEndOfDocumentIsNotReportedAsPrinted)
{
    printer.failures["EndDoc"] = kPrinterFailure;
    Print("a\n");
    EXPECT_EQ(MessageTexts(), Ops { "Error # 482\r\nPrinter error" });
    EXPECT_EQ(dialogs.messages[0].code, MsgBoxCode::Exclamation);
}

TEST_F(PrintCommandTest, APrinterThatRefusesItsOldLookStillFinishesThePrint)
{
    printer.failures["SetFontSize"] = { ErrorNumber::InvalidPropertyValue, "Invalid" };
    Print("a\n");
    // The refused size is reported when it is chosen, and not again when it is put back.
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_EQ(dialogs.messages[0].title, "Printer Font Attributes");
    EXPECT_EQ(dialogs.messages[1].text, PagesMessage("1 page"));
    EXPECT_EQ(printer.fontName, "Printer Default");
}

TEST_F(PrintCommandTest, AFontTallerThanThePageStillBreaksPages)
{
    printer.lineHeight = 2000; // twice the page
    Print("a\nb\n");
    EXPECT_EQ(printer.Printed(), (Ops { "Line[a]", "NewPage", "Line[b]", "NewPage", "EndDoc" }));
}

TEST(PrinterPageLinesTest, MeasuresFromTheTopAndPutsThePositionBack)
{
    RecordingPrinter printer;
    printer.scaleHeight = 15'840;
    printer.lineHeight = 276;
    printer.x = 50;
    printer.y = 70;
    std::int16_t lines = 0;
    EXPECT_FALSE(PrinterPageLines(printer, lines));
    EXPECT_EQ(lines, 57);
    EXPECT_EQ(printer.x, 50);
    EXPECT_EQ(printer.y, 70);
    EXPECT_EQ(printer.log, (Ops { "Line[]", "Text[ ]" }));
}

TEST(PrinterPageLinesTest, NoLineHeightIsAFailureNotACrash)
{
    RecordingPrinter printer;
    printer.lineHeight = 0;
    std::int16_t lines = 0;
    EXPECT_EQ(PrinterPageLines(printer, lines).number, ErrorNumber::DivisionByZero);
}

} // namespace
} // namespace trawlit
