#include "core/tools/ChangeMarkCount.h"
#include "core/tools/LineReader.h"

#include "core/tools/ToolRunFixture.h"

namespace trawlit {
namespace {

class ChangeMarkCountTest : public fakes::ToolRunFixture {
protected:
    RunResult Run() { return RunChangeMarkCount(options, Ports()); }

    static std::string Totals(const std::string& totalsLine, int files)
    {
        return "\r\n" + totalsLine + "    <== total counts \r\n" + TotalFilesBlock(files);
    }

    inline static const std::string kHeading = " Deletes   Inserts    File\r\n"
                                               " -------   -------    ----\r\n"
                                               "\r\n";
};

TEST_F(ChangeMarkCountTest, CountsEachFileAndTheTotalsByteForByte)
{
    platform.AddFile("/Data/a.txt", "/D 10, 12\r\n/I 40\r\nnew text\r\n");
    platform.AddFile("/Data/b.txt", "/D 10, 12\r\nreplacement\r\n/C\r\n");
    platform.AddFile("/Data/c.txt", "/C\nfirst\n\nthird\n/D 7\n");
    platform.AddFile("/Data/empty.txt", "");
    platform.AddFile("/Data/photo.JPG", "/D 1, 100\r\n");
    platform.AddFile("/Data/sub/d.obj", "/D 20, 10\r\n");

    RunResult result = Run();

    EXPECT_EQ(Results(),
        Header("Brelka's /C /D /I") + kHeading
            + "       3         1    a.txt\r\n"
              "       0         1    b.txt\r\n"
              "       1         3    c.txt\r\n"
              "       0         0    empty.txt\r\n"
              "      -9         0    sub/d.obj\r\n"
            + Totals("      -5         5", 5));
    EXPECT_EQ(result.status, RunStatus::Done);
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message, "5 files searched.\r\n\r\n");
}

TEST_F(ChangeMarkCountTest, MarksAndRangesFollowTheKeyRules)
{
    struct Case {
        const char* what;
        std::string contents;
        std::string counts; // deletes and inserts columns
    };
    const Case cases[] = {
        { "lower-case mark is an ordinary line", "/d 5\r\n", "       0         1" },
        { "a blank before the mark makes it ordinary", " /D 5\r\n", "       0         1" },
        { "a token counts by its leading number", "/D 5-9\r\n", "       1         0" },
        { "halves round to the even number", "/D 2.5, 5.5\r\n", "       5         0" },
        { "an exponent is part of the number", "/D 1e1, 12\r\n", "       3         0" },
        { "a word counts as 0", "/D x\r\n", "       1         0" },
        { "an empty line closes the range uncounted", "/D 1, 9\r\n\r\n/C\r\n",
            "       0         1" },
        { "a second range adds the first", "/D 1\r\n/D 5, 6\r\n", "       3         0" },
        { "lone marks count nothing", "/C\r\n/I\r\n", "       0         0" },
        { "line feeds end lines too", "/D 1, 2\nx\n/D 3, 3\n", "       1         1" },
        { "a final line end adds no line", "text\r\n", "       0         1" },
    };
    for (const Case& c : cases) {
        platform.AddFile("/Data/f.txt", c.contents);
        Run();
        EXPECT_EQ(Body(), kHeading + c.counts + "    f.txt\r\n" + Totals(c.counts, 1)) << c.what;
    }
}

TEST_F(ChangeMarkCountTest, LinesLongerThanTheReaderHoldsCountAsWholeLines)
{
    const std::string blanks(3 * 1024 * 1024, ' ');
    const std::string big(3 * 1024 * 1024, '7');
    struct Case {
        const char* what;
        std::string contents;
        std::string counts;
    };
    const Case cases[] = {
        { "blanks between the bounds", "/D 5" + blanks + ", 7\r\n", "       3         0" },
        { "a long ordinary line", big + "\r\n/D 1\r\n", "       1         1" },
        { "three tokens", "/D 1 " + blanks + "2" + blanks + "3\r\n", "       1         0" },
    };
    for (const Case& c : cases) {
        platform.AddFile("/Data/f.txt", c.contents);
        Run();
        EXPECT_EQ(Body(), kHeading + c.counts + "    f.txt\r\n" + Totals(c.counts, 1)) << c.what;
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.starts_with("NTok = 3\r\n\r\n 1 2 3")) << "shown cut down";
}

TEST_F(ChangeMarkCountTest, MalformedRangesAreShownAndKeepTheLastGoodBoundsAcrossFiles)
{
    platform.AddFile("/Data/a.txt", "/D\r\n");
    platform.AddFile("/Data/b.txt", "/D 5, 8\r\n/I\r\n");
    platform.AddFile("/Data/c.txt", "/D 1, 2, 3\r\n");

    Run();

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "NTok = 0\r\n\r\n  ");
    EXPECT_EQ(dialogs.messages[0].code, 0);
    EXPECT_EQ(dialogs.messages[0].title, "Trawlit");
    EXPECT_EQ(dialogs.messages[1].text, "NTok = 3\r\n\r\n 1, 2, 3  ");
    // a: the bounds 0 and 0 the run starts with; c: those of b's range.
    EXPECT_EQ(Body(),
        kHeading
            + "       1         0    a.txt\r\n"
              "       4         0    b.txt\r\n"
              "       4         0    c.txt\r\n"
            + Totals("       9         0", 3));
}

TEST_F(ChangeMarkCountTest, AbortMarksTheResultsAfterTheTotals)
{
    platform.AddFile("/Data/a.txt", "x\r\n");
    platform.AddFile("/Data/b.txt", "x\r\n");
    AbortAfterFiles(1);

    RunResult result = Run();

    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(Body(),
        kHeading + "       0         1    a.txt\r\n\r\n       0         1    <== total counts \r\n"
            + "\r\n\r\n*** PROCESSING WAS ABORTED VIA USER ACTION ***\r\n" + TotalFilesBlock(1));
    EXPECT_EQ(
        dialogs.outputFiles.at(0).message, "PROCESS WAS ABORTED\r\n\r\n1 file searched.\r\n\r\n");
}

TEST(LeadingWholeNumberTest, ReadsTheLeadingDecimalNumberAndRoundsHalvesToEven)
{
    struct Case {
        const char* token;
        std::int64_t value;
    };
    const Case cases[] = {
        { "5", 5 },
        { "+7", 7 },
        { "-12", -12 },
        { "0.5", 0 },
        { "1.5", 2 },
        { "2.5", 2 },
        { "-2.5", -2 },
        { "0.51", 1 },
        { ".5", 0 },
        { "5.", 5 },
        { "1e3", 1000 },
        { "1E+2", 100 },
        { "1e", 1 },
        { "5-9", 5 },
        { "12abc", 12 },
        { "x", 0 },
        { "-", 0 },
        { ".", 0 },
        { "", 0 },
        { "99999999999", 2147483647 },
        { "1e400", 2147483647 },
        { "-1e400", -2147483648 },
        { "1e-400", 0 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingWholeNumber(c.token), c.value) << c.token;
    }
}

TEST_F(ChangeMarkCountTest, FilesThatCannotBeReadWholeAreReportedAndLeftOut)
{
    platform.AddFile("/Data/a.txt", "/D 1, 5\r\nx\r\n");
    platform.AddFile("/Data/b.txt", "/D 1, 5\r\nx\r\n");
    platform.AddFile("/Data/c.txt", "y\r\n");
    platform.FailOpen("/Data/a.txt", 70, "Permission denied");
    platform.FailRead("/Data/b.txt", 9);

    Run();

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Run-time error '70':\r\n\r\nPermission denied\r\n\r\nFile = /Data/a.txt");
    EXPECT_EQ(dialogs.messages[1].text,
        "Run-time error '57':\r\n\r\nDevice I/O error\r\n\r\nFile = /Data/b.txt");
    EXPECT_EQ(
        Body(), kHeading + "       0         1    c.txt\r\n" + Totals("       0         1", 1));
    EXPECT_EQ(dialogs.outputFiles.at(0).message,
        "1 file searched.\r\n\r\n2 files could not be read in full.\r\n\r\n");
}

// Counts up to an abort inside a file are not the file's: neither its line nor the totals.
TEST_F(ChangeMarkCountTest, AFileAnAbortCutsShortIsLeftOut)
{
    platform.AddFile("/Data/a.txt", "/I\r\nx\r\n");
    std::string big;
    while (big.size() < 10 * LineReader::kBlockSize)
        big += "/D 1, 5\r\ninserted\r\n";
    platform.AddFile("/Data/m.txt", big);
    int reads = 0;
    platform.onRead = [&] { window.abortRequested = ++reads >= 5; };

    RunResult result = Run();

    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(Body(),
        kHeading + "       0         1    a.txt\r\n\r\n       0         1    <== total counts \r\n"
            + "\r\n\r\n*** PROCESSING WAS ABORTED VIA USER ACTION ***\r\n" + TotalFilesBlock(1));
}

} // namespace
} // namespace trawlit
