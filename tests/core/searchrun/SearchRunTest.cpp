#include "core/searchrun/SearchRun.h"

#include <map>

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "core/text/TextHelpers.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeRunView.h"
#include "fakes/FaultyFileSystem.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::FakeRunView;
using fakes::RecordingDialogs;
using fakes::TempFolder;

const char* kDate = "Trawlit (version 1.0) -- 07-Dec-26 at 14:05\r\n";

class SearchRunTest : public ::testing::Test {
protected:
    SearchRunTest()
    {
        options.RootFolder = tree.Path();
        options.OutputPathname = output;
        options.SearchStr = "needle";
        clock.now = { 2026, 12, 7, 14, 5 };
    }

    RunResult Run()
    {
        return RunStringSearch(
            options, RunPorts { window, { disk, clock, events }, dialogs, files });
    }
    std::string Results() const { return TempFolder::ReadWholeFile(output); }
    // The results file after its 14 header lines.
    std::string Body() const
    {
        std::string text = Results();
        std::size_t at = 0;
        for (int line = 0; line < 14 && at != std::string::npos; ++line) {
            at = text.find("\r\n", at);
            at = at == std::string::npos ? at : at + 2;
        }
        return at == std::string::npos ? std::string() : text.substr(at);
    }
    static std::string Totals(int files, int found, int matches)
    {
        return "\r\n\r\n----------------\r\nTrawlit Counts:\r\n----------------\r\n\r\n"
               "   Total files processed:  "
            + std::to_string(files) + "\r\n          Matching files:  " + std::to_string(found)
            + "\r\n       Number of matches:  " + std::to_string(matches) + "\r\n";
    }

    TempFolder tree;
    TempFolder outside;
    std::string output = (outside / "Trawlit.out");
    SearchOptions options;
    FakeRunView window;
    // The real file system with a scripted clock and injectable failures.
    PosixPlatform posix;
    fakes::FaultyFileSystem disk { posix };
    fakes::FakeClock clock;
    fakes::FakeEventPump events;
    RecordingDialogs dialogs;
    FileRoutines files { disk, dialogs };
};

TEST_F(SearchRunTest, WritesHeaderBlocksAndTotalsByteForByte)
{
    tree.Write("b.txt", "one needle\r\ntwo\r\nthree needle\r\n");
    tree.Write("A.txt", "needle first\nsecond\n");
    tree.Write("sub/c.txt", "nothing here\r\n");
    options.FileTemplate = "  ";

    RunResult result = Run();

    std::string expected = std::string(kDate) + "\r\n   Search for String\r\n\r\n"
        + "             Root folder:  " + tree.Path() + "\r\n"
        + "           File template:  *.*\r\n" + "     Traverse subfolders:  Yes\r\n"
        + "               Find What:  needle\r\n" + "          Case sensitive:  No\r\n"
        + "    Collapse white space:  No\r\n" + "      Output counts only:  No\r\n"
        + "             Output file:  " + output + "\r\n\r\n\r\n"
        + "\r\n/A.txt\r\n\r\n\t1:\tneedle first\r\n"
        + "\r\n/b.txt\r\n\r\n\t1:\tone needle\r\n\t3:\tthree needle\r\n" + Totals(3, 2, 3);
    EXPECT_EQ(Results(), expected);
    EXPECT_EQ(result.status, RunStatus::Found);
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(
        dialogs.outputFiles[0].message, "3 files searched.\r\n\r\n3 matches found in 2 files.");
    EXPECT_EQ(dialogs.outputFiles[0].path, output);
}

TEST_F(SearchRunTest, CountsOnlyListsEveryFileUnderItsListedName)
{
    tree.Write("sub/readme.txt", "no\r\n");
    tree.Write("x.c", "needle needle\r\nneedle\r\n");
    options.CountsOnly = true;

    Run();

    EXPECT_EQ(Body(),
        "       2  " + tree.Path() + "/x.c\r\n       0  " + tree.Path() + "/sub/readme.txt\r\n"
            + Totals(2, 1, 2));
}

TEST_F(SearchRunTest, ContinuationLinesAndLineFeedNumbering)
{
    // Line 1 matches and ends in "_": line 2 follows untested; line 3 is tested again.
    tree.Write("a.bas", "x = needle _\nnext part\nnot this\nneedle again_  \n");
    Run();
    EXPECT_EQ(Body(),
        "\r\n/a.bas\r\n\r\n\t1:\tx = needle _\r\n\t  \tnext part\r\n\t4:\tneedle again_  \r\n"
        "\t  \t\r\n"
            + Totals(1, 1, 4));
}

TEST_F(SearchRunTest, LinesLongerThanTheWriteBufferAreWrittenWholeAndInOrder)
{
    std::string longLine = std::string(300 * 1024, 'x') + " needle";
    tree.Write("a.txt", "needle 1\r\n" + longLine + "\r\nneedle 3\r\n");
    Run();
    EXPECT_EQ(Body(),
        "\r\n/a.txt\r\n\r\n\t1:\tneedle 1\r\n\t2:\t" + longLine + "\r\n\t3:\tneedle 3\r\n"
            + Totals(1, 1, 3));
}

TEST_F(SearchRunTest, RefusesBlankTextBeforeAnythingElse)
{
    options.SearchStr = "   ";
    RunResult result = Run();
    EXPECT_EQ(result.status, RunStatus::Refused);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Search String must be specified!");
    EXPECT_EQ(dialogs.messages[0].code, 48);
    EXPECT_EQ(dialogs.messages[0].title, "Trawlit");
    EXPECT_TRUE(window.calls.empty());
    EXPECT_FALSE(TempFolder::ReadWholeFile(output).size());
}

TEST_F(SearchRunTest, RefusesRootsThatListNothingOrCannotBeNames)
{
    struct Case {
        std::string root;
        std::string message;
    };
    std::string longName(300, 'n');
    const Case cases[] = {
        { (tree / "missing"), (tree / "missing") + "\r\n\r\nRoot folder not found!" },
        { (tree / "file.txt"), (tree / "file.txt") + "\r\n\r\nRoot folder not found!" },
        { (tree / longName), (tree / longName) + "/*.*\r\n\r\nBad file name or number" },
        { "", "\r\n\r\nRoot folder not found!" }, // never the whole file system
        { "   ", "\r\n\r\nRoot folder not found!" },
    };
    tree.Write("file.txt", "needle");
    for (const Case& c : cases) {
        dialogs.messages.clear();
        options.RootFolder = c.root;
        EXPECT_EQ(Run().status, RunStatus::Refused) << c.root;
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].code, 0);
    }
    EXPECT_TRUE(window.calls.empty()); // never busy
}

TEST_F(SearchRunTest, TemplatesNameFilesOfTheWalkedFolderOnly)
{
    tree.Write("outside.txt", "needle");
    tree.Write("inner/sub/deeper.txt", "needle");
    options.RootFolder = tree / "inner";
    for (const char* fileTemplate : { "../*", "..\\*", "sub/*.txt" }) {
        for (bool traverse : { false, true }) {
            options.FileTemplate = fileTemplate;
            options.TraverseSubfolders = traverse;
            RunResult result = Run();
            EXPECT_EQ(result.counters.TotalFileCount, 0) << fileTemplate << traverse;
        }
    }
}

TEST_F(SearchRunTest, DoubledSeparatorsInTheRootKeepRelativePathsWhole)
{
    tree.Write("x/inner/i.txt", "needle");
    std::string root = tree / "x/inner";
    ReplaceString(root, "/", "//");
    options.RootFolder = root;
    Run();
    EXPECT_EQ(Body(), "\r\n/i.txt\r\n\r\n\t1:\tneedle\r\n" + Totals(1, 1, 1));
}

TEST_F(SearchRunTest, AnAbortIsHeardWhileALongFileIsRead)
{
    tree.Write("long.txt", "needle\n" + std::string(8 << 20, 'x') + "needle");
    disk.beforeRead = [&](int read) {
        if (read == 2)
            window.abortRequested = true;
    };
    RunResult result = Run();
    EXPECT_TRUE(result.aborted);
    EXPECT_LT(disk.reads, 5);
    // Its one match so far is listed, and the file marked as cut short.
    const std::string cut
        = "\r\n/long.txt\r\n\r\n\t1:\tneedle\r\n\t(not read in full: PROCESS WAS ABORTED)\r\n";
    EXPECT_EQ(Body().substr(0, cut.size()), cut);
}

TEST_F(SearchRunTest, AbortEndsAtTheNextFileWithTheAbortLine)
{
    tree.Write("1.txt", "needle\r\n");
    tree.Write("2.txt", "needle\r\n");
    tree.Write("3.txt", "needle\r\n");
    window.onCounter = [this](Counter counter, std::int64_t value) {
        if (counter == Counter::TotalFileCount && value == 2) {
            window.abortRequested = true;
        }
    };
    RunResult result = Run();
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(Body(),
        "\r\n/1.txt\r\n\r\n\t1:\tneedle\r\n\r\n/2.txt\r\n\r\n\t1:\tneedle\r\n"
        "\r\n\r\n*** PROCESSING WAS ABORTED VIA USER ACTION ***\r\n"
            + Totals(2, 2, 2));
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message,
        "PROCESS WAS ABORTED\r\n\r\n2 files searched.\r\n\r\n2 matches found in 2 files.");
}

TEST_F(SearchRunTest, NoMatchEndsWithAMessageAndKeepsTheFile)
{
    tree.Write("a.txt", "hay\r\n");
    RunResult result = Run();
    EXPECT_EQ(result.status, RunStatus::NoMatch);
    EXPECT_TRUE(dialogs.outputFiles.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "1 file searched.\r\n\r\nNo matches were found.");
    EXPECT_EQ(Body(), Totals(1, 0, 0));
}

TEST_F(SearchRunTest, UnreadableFileIsReportedLeftOutAndTheRunGoesOn)
{
    tree.Write("bad.txt", "needle\r\n");
    tree.Write("good.txt", "needle\r\n");
    disk.FailOpen(tree / "bad.txt", { 70, "Permission denied" });
    options.CountsOnly = true;
    const RunResult result = Run();
    EXPECT_EQ(result.filesNotRead, 1);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Run-time error '70':\r\n\r\nPermission denied\r\n\r\nFile = " + tree.Path() + "/bad.txt");
    EXPECT_EQ(dialogs.messages[0].title, "File Open Error");
    EXPECT_EQ(dialogs.messages[1].text, "Open error with\r\n" + tree.Path() + "/bad.txt");
    EXPECT_EQ(Body(), "       1  " + tree.Path() + "/good.txt\r\n" + Totals(1, 1, 1));
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message,
        "1 file searched.\r\n\r\n1 file could not be read in full.\r\n\r\n1 match found in "
        "1 file.");
}

TEST_F(SearchRunTest, FilesGoneSinceTheListingArePassedOverSilently)
{
    tree.Write("gone.txt", "needle\r\n");
    tree.Write("sub/moved.txt", "needle\r\n");
    tree.Write("z.txt", "needle\r\n");
    disk.FailOpen(tree / "gone.txt", { 53, "File not found" });
    disk.FailOpen(tree / "sub/moved.txt", { 76, "Path not found" });
    RunResult result = Run();
    EXPECT_EQ(result.counters.TotalFileCount, 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SearchRunTest, ResultsFileInsideTheTreeIsNeverSearched)
{
    tree.Write("a.txt", "needle\r\n");
    output = (tree / "Trawlit.out");
    options.OutputPathname = output;
    RunResult result = Run();
    EXPECT_EQ(result.counters.TotalFileCount, 1);
    EXPECT_EQ(result.counters.MatchCount, 1);
}

TEST_F(SearchRunTest, ResultsFileThatCannotBeCreatedFailsWithItsCause)
{
    tree.Write("a.txt", "needle\r\n");
    output = (tree / "no/such/folder/out.txt");
    options.OutputPathname = output;
    RunResult result = Run();
    EXPECT_EQ(result.status, RunStatus::Failed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Run-time error '76':\r\n\r\nPath not found\r\n\r\nFile = " + output);
    EXPECT_TRUE(dialogs.outputFiles.empty());
    EXPECT_FALSE(window.runBusy);
}

TEST_F(SearchRunTest, FullDiskIsNeverReportedAsSuccess)
{
    tree.Write("a.txt", "needle\r\n");
    disk.FailWrites("*");
    RunResult result = Run();
    EXPECT_EQ(result.status, RunStatus::Failed);
    EXPECT_TRUE(dialogs.outputFiles.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "File Write Error");
    EXPECT_NE(dialogs.messages[0].text.find(output), std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find("Disk full"), std::string::npos);
}

TEST_F(SearchRunTest, WindowGoesBusyAndBackInOrder)
{
    tree.Write("a.txt", "needle\r\n");
    Run();
    EXPECT_EQ(window.calls,
        (std::vector<std::string> { "AnimationStart", "EnablePanelInput false",
            "HideStuff Trawlit 0 0 0", "AnimationStop", "HideAbortButton", "HideShowCounts false",
            "ShowStuff", "EnablePanelInput true" }));
}

TEST_F(SearchRunTest, YieldsEveryThreeSecondsOfMonotonicTime)
{
    for (int i = 0; i < 10; ++i) {
        tree.Write("f" + std::to_string(i) + ".txt", "x\r\n");
    }
    clock.clock = 1.0; // each look at the clock sees one more second
    clock.clockStep = 1.0;
    Run();
    EXPECT_EQ(
        events.doEventsCalls, 2); // looks at 2..11 s: yields at 5 and 9, each more than 3 s on
}

} // namespace
} // namespace trawlit
