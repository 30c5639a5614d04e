#include "core/tools/CHeaderExtraction.h"
#include "core/tools/LineReader.h"

#include "core/tools/ToolRunFixture.h"

namespace trawlit {
namespace {

class CHeaderExtractionTest : public fakes::ToolRunFixture {
protected:
    RunResult Run() { return RunCHeaderExtraction(options, Ports()); }
};

TEST_F(CHeaderExtractionTest, CopiesEachOpeningCommentUpToItsEndLine)
{
    platform.AddFile("/Data/main.c",
        "/*\r\n   main.c -- the program  \r\n\tTAB kept\r\n*/\r\n#include <stdio.h>\r\n");
    platform.AddFile("/Data/inc.c", "#include \"inc.h\"\nint x;\n");
    platform.AddFile("/Data/empty.c", "");
    platform.AddFile("/Data/logo.gif.c", "/* skipped */\n");
    platform.AddFile("/Data/pic.BMP", "bytes\n");
    platform.AddFile(
        "/Data/src/util.c", "/* util.c */ int a;\n * still the header */\n#if DEBUG\nint b;\n");

    RunResult result = Run();

    EXPECT_EQ(Results(),
        Header("Extract C headers")
            + "empty.c\r\n"
              "\r\n"
              "inc.c\r\n"
              "\t#include \"inc.h\"\r\n"
              "\r\n"
              "main.c\r\n"
              "\t/*\r\n"
              "\tmain.c -- the program\r\n"
              "\t\tTAB kept\r\n"
              "\t*/\r\n"
              "\r\n"
              "pic.BMP\r\n"
              "\tbytes\r\n"
              "\r\n"
              "src/util.c\r\n"
              "\t/* util.c */ int a;\r\n"
              "\t* still the header */\r\n"
              "\t#if DEBUG\r\n"
              "\r\n"
              "\r\n"
            + TotalFilesBlock(5));
    EXPECT_EQ(result.status, RunStatus::Done);
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message, "5 files searched.\r\n\r\n");
    EXPECT_EQ(window.counters[0], 5);
}

TEST_F(CHeaderExtractionTest, OnlyALineBeginningExactlyWithAStopKeyEndsTheHeader)
{
    struct Case {
        std::string firstLine;
        std::string copied; // trimmed of blanks, TABs kept
        bool stops;
    };
    const Case cases[] = {
        { "*/", "*/", true },
        { "*/ trailing text ", "*/ trailing text", true },
        { "#ifdef X", "#ifdef X", true },
        { "#include <a.h>", "#include <a.h>", true },
        { "#Include <a.h>", "#Include <a.h>", false },
        { " #include <a.h>", "#include <a.h>", false },
        { "\t#include <a.h>", "\t#include <a.h>", false },
        { " */", "*/", false },
        { "#define X", "#define X", false },
        { "#", "#", false },
        { "", "", false },
    };
    for (const Case& c : cases) {
        platform.AddFile("/Data/a.c", c.firstLine + "\r\nnext\r\n");
        Run();
        EXPECT_EQ(Body(),
            "a.c\r\n\t" + c.copied + "\r\n" + (c.stops ? "" : "\tnext\r\n") + "\r\n\r\n"
                + TotalFilesBlock(1))
            << c.firstLine;
    }
}

// Lines longer than the reader holds at once come in parts; the copy is trimmed as a whole.
TEST_F(CHeaderExtractionTest, LongLinesAreCopiedWholeAndTrimmed)
{
    const std::string big(3 * 1024 * 1024, 'x');
    const std::string blanks(3 * 1024 * 1024, ' ');
    struct Case {
        std::string firstLine;
        std::string copied;
        bool stops;
    };
    const Case cases[] = {
        { "  /* " + big + blanks + "y" + blanks, "/* " + big + blanks + "y", false },
        { blanks + blanks, "", false },
        { "*/" + big + "  ", "*/" + big, true },
    };
    for (const Case& c : cases) {
        platform.AddFile("/Data/a.c", c.firstLine + "\r\nnext\r\n");
        Run();
        EXPECT_EQ(Body(),
            "a.c\r\n\t" + c.copied + "\r\n" + (c.stops ? "" : "\tnext\r\n") + "\r\n\r\n"
                + TotalFilesBlock(1))
            << c.firstLine.substr(0, 8);
    }
}

TEST_F(CHeaderExtractionTest, PathsAreShownWholeWhenTheRootDoesNotPrefixThem)
{
    platform.AddFile("/Data/sub/a.c", "#include <a.h>\r\n");
    options.RootFolder = "/Data/";
    Run();
    EXPECT_EQ(Body(), "/Data/sub/a.c\r\n\t#include <a.h>\r\n\r\n\r\n" + TotalFilesBlock(1));
}

TEST_F(CHeaderExtractionTest, NoMatchingFileStillWritesTheCountsBlockAndNamesTheTemplate)
{
    platform.AddFile("/Data/a.txt", "x\r\n");
    options.FileTemplate = "*.c";
    Run();
    EXPECT_EQ(Results(), Header("Extract C headers", "/Data", "*.c") + "\r\n" + TotalFilesBlock(0));
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message,
        "0 files searched.\r\n\r\nNo file in the tree matches the template *.c.\r\n\r\n");
}

TEST_F(CHeaderExtractionTest, AnUnopenableFileIsReportedAndPassedOver)
{
    platform.AddFile("/Data/bad.c", "#include <a.h>\r\n");
    platform.AddFile("/Data/good.c", "#include <b.h>\r\n");
    platform.FailOpen("/Data/bad.c", 70, "Permission denied");

    RunResult result = Run();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Run-time error '70':\r\n\r\nPermission denied\r\n\r\nFile = /Data/bad.c");
    EXPECT_EQ(dialogs.messages[0].title, "File Open Error");
    EXPECT_EQ(Body(), "good.c\r\n\t#include <b.h>\r\n\r\n\r\n" + TotalFilesBlock(1));
    EXPECT_EQ(result.counters.TotalFileCount, 1);
}

TEST_F(CHeaderExtractionTest, AbortFinishesTheFileAndMarksTheResults)
{
    platform.AddFile("/Data/a.c", "/*\r\n*/\r\n");
    platform.AddFile("/Data/b.c", "/*\r\n*/\r\n");
    AbortAfterFiles(1);

    RunResult result = Run();

    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(Body(),
        "a.c\r\n\t/*\r\n\t*/\r\n\r\n\r\n\r\n\r\n*** PROCESSING WAS ABORTED VIA USER ACTION ***\r\n"
            + TotalFilesBlock(1));
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(
        dialogs.outputFiles[0].message, "PROCESS WAS ABORTED\r\n\r\n1 file searched.\r\n\r\n");
}

TEST_F(CHeaderExtractionTest, AFileThatStopsBeingReadableIsReportedAndNotCounted)
{
    platform.AddFile("/Data/a.c", "/*\r\nmore\r\n*/\r\n");
    platform.AddFile("/Data/b.c", "*/\r\n");
    platform.FailRead("/Data/a.c", 4);

    RunResult result = Run();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Run-time error '57':\r\n\r\nDevice I/O error\r\n\r\nFile = /Data/a.c");
    EXPECT_EQ(Body(),
        "a.c\r\n\t/*\r\n\t(not read in full)\r\n\r\nb.c\r\n\t*/\r\n\r\n\r\n" + TotalFilesBlock(1));
    EXPECT_EQ(result.counters.TotalFileCount, 1);
    EXPECT_EQ(dialogs.outputFiles.at(0).message,
        "1 file searched.\r\n\r\n1 file could not be read in full.\r\n\r\n");
}

TEST_F(CHeaderExtractionTest, AHeaderAnAbortCutsShortIsMarked)
{
    std::string header = "/*\r\n";
    while (header.size() < 3 * LineReader::kBlockSize)
        header += "line\r\n";
    platform.AddFile("/Data/a.c", header + "*/\r\n");
    int reads = 0;
    platform.onRead = [&] { window.abortRequested = ++reads == 2; };

    RunResult result = Run();

    EXPECT_TRUE(result.aborted);
    const std::string body = Body();
    EXPECT_NE(body.find("\tline\r\n\t(not read in full)\r\n\r\n"), std::string::npos) << body;
    EXPECT_EQ(body.find("\t*/"), std::string::npos);
}

} // namespace
} // namespace trawlit
