#include "core/printing/PRTFONT.h"

#include <string>

#include <gtest/gtest.h>

#include "PrintFakes.h"
#include "fakes/RecordingDialogs.h"

namespace trawlit {
namespace {

using fakes::kPrinterFailure;
using fakes::RecordingDialogs;
using fakes::RecordingPrinter;

const PrinterError kNoFailure {};
const PrinterError kRefused { ErrorNumber::InvalidPropertyValue, "Invalid property value" };

struct FontCase {
    const char* name;
    std::string fontName;
    float fontSize;
    const char* failingOp; // nullptr: nothing fails
    PrinterError failure;
    std::string expectedName;
    float expectedSize;
    bool expectedFailed;
    std::string expectedMessage;
    std::string expectedTitle;
};

class PRTFONTTest : public ::testing::TestWithParam<FontCase> { };

TEST_P(PRTFONTTest, SetsWhatItCanAndReportsTheRest)
{
    const FontCase& c = GetParam();
    RecordingPrinter printer;
    printer.fontName = "Old";
    printer.fontSize = 12.0F;
    if (c.failingOp != nullptr)
        printer.failures[c.failingOp] = c.failure;
    RecordingDialogs dialogs;
    bool failed = !c.expectedFailed;

    PRTFONT(printer, dialogs, c.fontName, c.fontSize, failed);

    EXPECT_EQ(printer.fontName, c.expectedName);
    EXPECT_EQ(printer.fontSize, c.expectedSize);
    EXPECT_EQ(failed, c.expectedFailed);
    if (c.expectedMessage.empty()) {
        EXPECT_TRUE(dialogs.messages.empty());
        return;
    }
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, c.expectedMessage);
    EXPECT_EQ(dialogs.messages[0].code, 48);
    EXPECT_EQ(dialogs.messages[0].title, c.expectedTitle);
}

const std::string kNameRefused = "Unable to change printer font name!\r\n\r\nDesired font name:  "
                                 "Mono\r\n\r\nCurrent font name:  Old";
const std::string kSizeRefused = "Unable to change printer font size!\r\n\r\nDesired font size:  "
                                 "8.5\r\n\r\nCurrent font size:  12";

INSTANTIATE_TEST_SUITE_P(Fonts, PRTFONTTest,
    ::testing::Values(
        FontCase { "NameAndSize", "Mono", 8.5F, nullptr, kNoFailure, "Mono", 8.5F, false, "", "" },
        FontCase {
            "EmptyNameSetsOnlyTheSize", "", 8.5F, nullptr, kNoFailure, "Old", 8.5F, false, "", "" },
        FontCase { "SizeZeroSetsOnlyTheName", "Mono", 0.0F, nullptr, kNoFailure, "Mono", 12.0F,
            false, "", "" },
        FontCase { "NegativeSizeLeftAlone", "Mono", -3.0F, nullptr, kNoFailure, "Mono", 12.0F,
            false, "", "" },
        FontCase { "NameRefusedSkipsTheSize", "Mono", 8.5F, "SetFontName", kRefused, "Old", 12.0F,
            true, kNameRefused, "Printer Font Attributes" },
        FontCase { "SizeRefused", "Mono", 8.5F, "SetFontSize", kRefused, "Mono", 12.0F, true,
            kSizeRefused, "Printer Font Attributes" },
        FontCase { "PrinterErrorOnTheName", "Mono", 8.5F, "SetFontName", kPrinterFailure, "Old",
            12.0F, true, "Error # 482\r\nPrinter error", "Trawlit" },
        FontCase { "PrinterErrorOnTheSize", "Mono", 8.5F, "SetFontSize", kPrinterFailure, "Mono",
            12.0F, true, "Error # 482\r\nPrinter error", "Trawlit" }),
    [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
} // namespace trawlit
