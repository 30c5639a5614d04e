#include "core/tools/CHeaderExtraction.h"
#include "core/tools/ChangeMarkCount.h"
#include "core/tools/FolderListingTool.h"
#include "core/tools/WebCleanup.h"

#include "core/tools/ToolRunFixture.h"
#include "ports/CleanedCopies.h"

namespace trawlit {
namespace {

// The copies of a web cleanup made in these tests are never the user's.
RunResult RunWebCleanupWithoutRecord(const RunInputs& inputs, RunPorts ports)
{
    struct NoRecord : CleanedCopies {
        explicit NoRecord(FileSystem& files)
            : files_(files)
        {
        }
        CopyStanding WhatStandsAt(const std::string&) override { return CopyStanding::Nothing; }
        bool TakePermissionsOf(const std::string&, const std::string&) override { return true; }
        CopyPlacing Place(const std::string& temporaryPath, const std::string& copyPath,
            CopyStanding, PlatformError& error) override
        {
            return files_.Rename(temporaryPath, copyPath, error) ? CopyPlacing::Placed
                                                                 : CopyPlacing::Failed;
        }
        FileSystem& files_;
    } copies(ports.platform.fileSystem);
    return RunWebCleanup(inputs, ports, copies);
}

struct Tool {
    const char* name;
    RunResult (*run)(const RunInputs&, RunPorts);
};

const Tool kTools[] = {
    { "listing", RunFolderListing },
    { "C headers", RunCHeaderExtraction },
    { "change marks", RunChangeMarkCount },
    { "web cleanup", RunWebCleanupWithoutRecord },
};

class BatchToolFrameTest : public fakes::ToolRunFixture,
                           public ::testing::WithParamInterface<Tool> {
protected:
    RunResult Run() { return GetParam().run(options, Ports()); }
    bool IsWebCleanup() const { return GetParam().run == RunWebCleanupWithoutRecord; }
};

TEST_P(BatchToolFrameTest, AMissingOrBlankRootEndsTheRunBeforeAnythingChanges)
{
    platform.AddFile("/a.txt", "\xE9"); // what a blank root would reach
    for (const std::string root : { "/missing", "", "   " }) {
        dialogs.messages.clear();
        options.RootFolder = root;
        RunResult result = Run();
        EXPECT_EQ(result.status, RunStatus::Refused);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text,
            (root == "/missing" ? root : "") + "\r\n\r\nRoot folder not found!");
        EXPECT_FALSE(platform.Exists(kOutput));
        EXPECT_FALSE(platform.Exists("/a.txt2"));
        EXPECT_TRUE(window.calls.empty());
    }
}

TEST_P(BatchToolFrameTest, FoldersThatCannotBeReadAreNamedAndCounted)
{
    platform.AddFolder("/Data/locked");
    platform.AddFile("/Data/open/a.txt", "x");
    platform.FailListing("/Data/locked", 70, "Permission denied");
    RunResult result = Run();
    EXPECT_EQ(
        window.foldersNotRead, std::vector<std::string> { "/Data/locked (Permission denied)" });
    EXPECT_EQ(result.foldersNotRead, 1);
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_NE(dialogs.outputFiles[0].message.find("1 folder could not be read.\r\n\r\n"),
        std::string::npos);
}

// A file that never ends (a device) or a very large one: the abort is heard while reading.
TEST_P(BatchToolFrameTest, AnAbortIsHeardWhileAFileIsRead)
{
    if (GetParam().run == RunFolderListing) {
        GTEST_SKIP() << "reads no file";
    }
    platform.AddFile("/Data/big.txt", std::string(4 << 20, '\xE9'));
    int reads = 0;
    platform.onRead = [&] {
        if (++reads == 3) {
            window.abortRequested = true;
        }
    };
    RunResult result = Run();
    EXPECT_TRUE(result.aborted);
    EXPECT_LT(reads, 6);
    EXPECT_FALSE(platform.Exists("/Data/big.txt2"));
    EXPECT_FALSE(platform.Exists("/Data/.big.txt2~"));
}

TEST_P(BatchToolFrameTest, AResultsFileThatCannotBeCreatedIsToldAndNothingIsWritten)
{
    platform.AddFile("/Data/a.txt", "\xE9");
    options.OutputPathname = "/nowhere/out.txt";
    RunResult result = Run();
    EXPECT_EQ(result.status, RunStatus::Failed);
    ASSERT_GE(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Run-time error '76':\r\n\r\nPath not found\r\n\r\nFile = /nowhere/out.txt");
    EXPECT_EQ(dialogs.messages.size(), IsWebCleanup() ? 2u : 1u);
    EXPECT_TRUE(dialogs.outputFiles.empty());
    EXPECT_FALSE(platform.Exists("/Data/a.txt2"));
    EXPECT_FALSE(window.runBusy);
    EXPECT_EQ(window.calls.back(), "EnablePanelInput true");
}

TEST_P(BatchToolFrameTest, AResultsFileThatCannotBeWrittenWholeIsNeverReportedAsDone)
{
    platform.AddFile("/Data/a.txt", "x\r\n");
    platform.FailWrite(kOutput, 61, "Disk full");
    RunResult result = Run();
    EXPECT_EQ(result.status, RunStatus::Failed);
    EXPECT_TRUE(dialogs.outputFiles.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "File Write Error");
    EXPECT_NE(dialogs.messages[0].text.find("Disk full"), std::string::npos);
    EXPECT_FALSE(window.runBusy);
}

TEST_P(BatchToolFrameTest, YieldsAfterEachNameOnlyWhenInputWaits)
{
    platform.AddFile("/Data/a.txt", "x\r\n");
    platform.AddFile("/Data/b.txt", "x\r\n");
    platform.pendingAnswers = { true, false };
    Run();
    EXPECT_EQ(platform.inputPendingCalls, 2);
    EXPECT_EQ(platform.doEventsCalls, 1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryTool, BatchToolFrameTest, ::testing::ValuesIn(kTools), [](const auto& testInfo) {
        std::string name = testInfo.param.name;
        std::erase(name, ' ');
        return name;
    });

} // namespace
} // namespace trawlit
