#include "core/tools/WebCleanup.h"

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/tools/ToolRunFixture.h"
#include "fakes/FakeCleanedCopies.h"
#include "fakes/TempFolder.h"
#include "platform/PosixCleanedCopies.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using namespace std::string_literals;

class WebCleanupTest : public fakes::ToolRunFixture {
protected:
    RunResult Run() { return RunWebCleanup(options, Ports(), copies); }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
    fakes::FakeCleanedCopies copies { platform };
};

TEST_F(WebCleanupTest, ListsEachFileWithItsDroppedCharactersAndWritesChangedCopies)
{
    const std::string utf8Text = "d\xC3\xA9j\xC3\xA0 \xE6\x97\xA5\n";
    platform.AddFile("/Data/a.htm", "caf\xE9 \x93hi\x94\r\n");
    platform.AddFile("/Data/empty.txt", "");
    platform.AddFile("/Data/odd.bin", "x\x83y\0"s);
    platform.AddFile("/Data/plain.txt", "only ASCII\r\n");
    platform.AddFile("/Data/pic.JPG", "\xFF\xD8");
    platform.AddFile("/Data/sub/u8.txt", utf8Text);

    RunResult result = Run();

    EXPECT_EQ(Results(),
        "/Data/a.htm\r\n"
        "\r\n"
        "/Data/odd.bin\r\n"
        "   402 '\xC6\x92'\r\n" // listed by code point, as UTF-8
        "   0 '\0'\r\n"
        "\r\n"
        "/Data/plain.txt\r\n"
        "\r\n"
        "/Data/sub/u8.txt\r\n"
        "   224 '\xC3\xA0'\r\n"
        "   26085 '\xE6\x97\xA5'\r\n"
        "\r\n"s);
    EXPECT_EQ(platform.Contents("/Data/a.htm2"), "caf&eacute; &quot;hi&quot;\r\n");
    EXPECT_EQ(platform.Contents("/Data/odd.bin2"), "xy");
    EXPECT_EQ(platform.Contents("/Data/sub/u8.txt2"), "d&eacute;j \n");
    EXPECT_FALSE(platform.Exists("/Data/plain.txt2"));
    EXPECT_FALSE(platform.Exists("/Data/empty.txt2"));
    EXPECT_FALSE(platform.Exists("/Data/.a.htm2~"));
    EXPECT_EQ(platform.Contents("/Data/a.htm"), "caf\xE9 \x93hi\x94\r\n");
    EXPECT_EQ(platform.Contents("/Data/sub/u8.txt"), utf8Text);
    EXPECT_EQ(result.status, RunStatus::Done);
    EXPECT_EQ(window.counters[0], 5); // the empty file counts; the picture is skipped
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message, "5 files searched.\r\n\r\n");
    EXPECT_EQ(dialogs.outputFiles[0].path, kOutput);
}

TEST_F(WebCleanupTest, Byte129WithoutItsEIsShownThenListed)
{
    platform.AddFile("/Data/a.txt",
        "it\x81"
        "Es \x81x \x81");
    Run();
    EXPECT_EQ(MessageTexts(), std::vector<std::string> { "129 NOT FOUND" });
    EXPECT_EQ(Results(), "/Data/a.txt\r\n   129 '\xC2\x81'\r\n   129 '\xC2\x81'\r\n\r\n");
    EXPECT_EQ(platform.Contents("/Data/a.txt2"), "it&#039;s x ");
}

TEST_F(WebCleanupTest, OnlyItsOwnCopiesAreReplacedAndListedCopiesAreVisited)
{
    platform.AddFile("/Data/a.htm", "\xE9");
    platform.AddFile("/Data/chapter1", "\xE9");
    platform.AddFile("/Data/chapter12", "the user's own chapter");
    platform.AddFile("/Data/link.txt", "\xE9");
    platform.AddFile("/Data/link.txt2", "what the link points at");
    copies.links.insert("/Data/link.txt2");
    Run();
    platform.AddFile("/Data/a.htm", "\xFC"); // the original changed since
    platform.SetReadOnly("/Data/a.htm2", true);

    RunResult result = Run();

    EXPECT_EQ(platform.Contents("/Data/a.htm2"), "&uuml;");
    EXPECT_EQ(platform.Contents("/Data/chapter12"), "the user's own chapter");
    EXPECT_EQ(platform.Contents("/Data/link.txt2"), "what the link points at");
    const std::string chapterNote
        = "/Data/chapter12 exists and is not a copy made by Trawlit: left as it is";
    const std::string linkNote
        = "/Data/link.txt2 exists and is not a copy made by Trawlit: left as it is";
    EXPECT_EQ(Results(),
        "/Data/a.htm\r\n\r\n/Data/a.htm2\r\n\r\n/Data/chapter1\r\n   " + chapterNote
            + "\r\n\r\n/Data/chapter12\r\n\r\n/Data/link.txt\r\n   " + linkNote
            + "\r\n\r\n/Data/link.txt2\r\n\r\n");
    EXPECT_EQ(result.counters.TotalFileCount, 6);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.outputFiles.back().message,
        "6 files searched.\r\n\r\n" + chapterNote + ".\r\n" + linkNote + ".\r\n");
}

TEST_F(WebCleanupTest, CopiesThatCannotBeMadeAreReportedAndLeaveNoHalfCopy)
{
    struct Case {
        const char* what;
        std::function<void(fakes::FakePlatform&)> arrange;
        std::vector<std::string> messages;
        std::string copyLeft; // contents at /Data/a.htm2 after the run, empty when none
    };
    const std::string cannotWrite = "Unable to write the cleaned copy \r\n\r\n/Data/a.htm2\r\n\r\n"
                                    "Run-time error '61': Disk full\r\n\r\nNo copy was made.";
    const Case cases[] = {
        { "the write fails", [](auto& fake) { fake.FailWrite("/Data/.a.htm2~", 61, "Disk full"); },
            { cannotWrite }, "" },
        { "the copy cannot be opened",
            [](auto& fake) { fake.FailOpen("/Data/.a.htm2~", 70, "Permission denied"); },
            { "Run-time error '70':\r\n\r\nPermission denied\r\n\r\nFile = /Data/a.htm2",
                "Open error on write: /Data/a.htm" },
            "" },
        { "a folder stands in its place", [](auto& fake) { fake.AddFolder("/Data/a.htm2"); },
            { "Run-time error '75':\r\n\r\nPath/File access error: a folder has this name"
              "\r\n\r\nFile = /Data/a.htm2",
                "Open error on write: /Data/a.htm" },
            "" },
    };
    for (const Case& c : cases) {
        fakes::FakePlatform fake;
        fake.AddFile("/Data/a.htm", "\xE9\r\n");
        fake.AddFolder("/out");
        c.arrange(fake);
        fakes::RecordingDialogs recorded;
        FileRoutines fakeFiles(fake, recorded);
        fakes::FakeCleanedCopies fakeCopies(fake);
        options.FileTemplate = "*.htm";
        const RunResult result = RunWebCleanup(
            options, RunPorts { window, fake.AsPlatform(), recorded, fakeFiles }, fakeCopies);

        EXPECT_EQ(result.copiesNotWritten, 1) << c.what;
        EXPECT_EQ(recorded.outputFiles.at(0).message,
            "1 file searched.\r\n\r\n1 copy could not be written.\r\n\r\n")
            << c.what;
        std::vector<std::string> texts;
        for (const auto& message : recorded.messages) {
            texts.push_back(message.text);
        }
        EXPECT_EQ(texts, c.messages) << c.what;
        EXPECT_EQ(fake.Contents("/Data/a.htm2"), c.copyLeft) << c.what;
        EXPECT_FALSE(fake.Exists("/Data/.a.htm2~")) << c.what;
        EXPECT_EQ(fake.Contents("/Data/a.htm"), "\xE9\r\n") << c.what;
        EXPECT_EQ(fake.Contents(kOutput), "/Data/a.htm\r\n\r\n") << c.what;
        EXPECT_EQ(recorded.outputFiles.size(), 1u) << c.what;
    }
}

TEST_F(WebCleanupTest, TheResultsFileIsNeverReadNorReplacedByACopy)
{
    platform.AddFile("/Data/a.htm", "\xE9");
    options.OutputPathname = "/Data/a.htm2";

    Run();

    EXPECT_EQ(platform.Contents("/Data/a.htm2"),
        "/Data/a.htm\r\n   /Data/a.htm2 exists and is not a copy made by Trawlit: left as it "
        "is\r\n\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WebCleanupTest, UnopenableFileIsReportedCountedAndPassedOver)
{
    platform.AddFile("/Data/bad.htm", "\xE9");
    platform.AddFile("/Data/good.htm", "\xE9");
    platform.FailOpen("/Data/bad.htm", 70, "Permission denied");

    RunResult result = Run();

    EXPECT_EQ(MessageTexts(),
        std::vector<std::string> {
            "Run-time error '70':\r\n\r\nPermission denied\r\n\r\nFile = /Data/bad.htm" });
    EXPECT_EQ(Results(), "/Data/good.htm\r\n\r\n");
    EXPECT_FALSE(platform.Exists("/Data/bad.htm2"));
    EXPECT_EQ(result.counters.TotalFileCount, 2);
}

TEST_F(WebCleanupTest, AResultsFileThatCannotBeCreatedEndsTheRunBeforeAnythingIsWritten)
{
    platform.AddFile("/Data/a.htm", "\xE9");
    options.OutputPathname = "/nowhere/out.txt";

    RunResult result = Run();

    EXPECT_EQ(result.status, RunStatus::Failed);
    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> {
            "Run-time error '76':\r\n\r\nPath not found\r\n\r\nFile = /nowhere/out.txt",
            "Open Error: /nowhere/out.txt" }));
    EXPECT_FALSE(platform.Exists("/Data/a.htm2"));
    EXPECT_TRUE(dialogs.outputFiles.empty());
    EXPECT_EQ(window.calls,
        (std::vector<std::string> { "EnablePanelInput false", "HideShowCounts false", "ShowStuff",
            "EnablePanelInput true" }));
}

TEST_F(WebCleanupTest, AReadOnlyResultsFileIsReplaced)
{
    platform.AddFile(kOutput, "old results");
    platform.SetReadOnly(kOutput, true);
    platform.AddFile("/Data/a.txt", "x");
    EXPECT_EQ(Run().status, RunStatus::Done);
    EXPECT_EQ(Results(), "/Data/a.txt\r\n\r\n");
}

TEST_F(WebCleanupTest, AbortShowsOnlyInTheClosingMessage)
{
    platform.AddFile("/Data/a.txt", "x");
    platform.AddFile("/Data/b.txt", "y");
    AbortAfterFiles(1);
    RunResult result = Run();
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(Results(), "/Data/a.txt\r\n\r\n");
    EXPECT_EQ(
        dialogs.outputFiles.at(0).message, "PROCESS WAS ABORTED\r\n\r\n1 file searched.\r\n\r\n");
}

// On a case-sensitive file system the copy goes beside the file under its listed name.
TEST(WebCleanupOnDiskTest, TheCopyTakesTheListedNameWithTwoAppended)
{
    fakes::TempFolder tree;
    fakes::TempFolder outside;
    tree.Write("Index.htm", "caf\xE9");
    fakes::FakeRunView window;
    SearchOptions options;
    options.RootFolder = tree.Path();
    options.OutputPathname = outside / "out.txt";
    PosixPlatform platform;
    NoEventPump noEvents;
    fakes::RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);

    PosixCleanedCopies copies(tree / "state/copies");
    RunWebCleanup(
        options, RunPorts { window, { platform, platform, noEvents }, dialogs, files }, copies);

    EXPECT_EQ(tree.Read("Index.htm2"), "caf&eacute;");
    EXPECT_EQ(tree.Read("Index.htm"), "caf\xE9");
    EXPECT_FALSE(platform.FileExists(tree / "index.htm2"));
    EXPECT_FALSE(platform.FileExists(tree / ".Index.htm2~"));
    EXPECT_EQ(outside.Read("out.txt"), tree.Path() + "/Index.htm\r\n\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

// The record and the file system together: a private original gets a private copy, a second
// run refreshes it, and a link at a copy's name is neither followed nor replaced.
TEST(WebCleanupOnDiskTest, OwnCopiesAreRefreshedPrivateAndLinksLeftAlone)
{
    fakes::TempFolder tree;
    fakes::TempFolder outside;
    const std::string secret = tree.Write("secret.txt", "\xE9");
    chmod(secret.c_str(), 0600);
    tree.Write("linked.txt", "\xE9");
    const std::string target = outside.Write("target", "kept");
    chmod(target.c_str(), 0444);
    ASSERT_EQ(symlink(target.c_str(), (tree / "linked.txt2").c_str()), 0);
    fakes::FakeRunView window;
    SearchOptions options;
    options.RootFolder = tree.Path();
    options.OutputPathname = outside / "out.txt";
    PosixPlatform platform;
    fakes::RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    NoEventPump noEvents;
    PosixCleanedCopies copies(outside / "state/copies");

    RunWebCleanup(
        options, RunPorts { window, { platform, platform, noEvents }, dialogs, files }, copies);
    tree.Write("secret.txt", "\xFC");
    PosixCleanedCopies nextRunCopies(outside / "state/copies");
    RunWebCleanup(options, RunPorts { window, { platform, platform, noEvents }, dialogs, files },
        nextRunCopies);

    struct stat info { };
    ASSERT_EQ(stat((tree / "secret.txt2").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(tree.Read("secret.txt2"), "&uuml;");
    ASSERT_EQ(lstat((tree / "linked.txt2").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(outside.Read("target"), "kept");
    EXPECT_NE(outside.Read("out.txt").find("linked.txt2 exists and is not a copy made by Trawlit"),
        std::string::npos);
}

TEST_F(WebCleanupTest, AFileThatStopsBeingReadableGetsNoCopy)
{
    struct Case {
        const char* what;
        std::size_t failAfter;
        std::string results;
    };
    // The first look reads the whole first line; the cleaning then fails at its first read.
    const Case cases[] = {
        { "while first read", 0, "" },
        { "while cleaned", 3, "/Data/a.htm\r\n\r\n" },
    };
    options.FileTemplate = "*.htm";
    for (const Case& c : cases) {
        fakes::FakePlatform fake;
        fake.AddFile("/Data/a.htm", "\xE9x\n");
        fake.AddFile("/Data/a.htm2", "earlier copy");
        fake.AddFolder("/out");
        fake.FailRead("/Data/a.htm", c.failAfter);
        fakes::RecordingDialogs recorded;
        FileRoutines fakeFiles(fake, recorded);
        fakes::FakeCleanedCopies fakeCopies(fake);
        fakeCopies.Remember("/Data/a.htm2");
        RunResult result = RunWebCleanup(
            options, RunPorts { window, fake.AsPlatform(), recorded, fakeFiles }, fakeCopies);

        ASSERT_EQ(recorded.messages.size(), 1u) << c.what;
        EXPECT_EQ(recorded.messages[0].text,
            "Run-time error '57':\r\n\r\nDevice I/O error\r\n\r\nFile = /Data/a.htm")
            << c.what;
        EXPECT_EQ(fake.Contents(kOutput), c.results) << c.what;
        EXPECT_EQ(fake.Contents("/Data/a.htm2"), "earlier copy") << c.what; // kept, not emptied
        EXPECT_FALSE(fake.Exists("/Data/.a.htm2~")) << c.what;
        EXPECT_EQ(result.counters.TotalFileCount, 1) << c.what;
    }
}

TEST_F(WebCleanupTest, AnOldCopyStaysWhenItsReplacementCannotTakeItsName)
{
    platform.AddFile("/Data/a.htm", "\xE9");
    Run();
    platform.AddFile("/Data/a.htm", "\xFC");
    platform.FailRenameTo("/Data/a.htm2", 70, "Permission denied");

    const RunResult result = Run();

    EXPECT_EQ(platform.Contents("/Data/a.htm2"), "&eacute;");
    EXPECT_FALSE(platform.Exists("/Data/.a.htm2~"));
    EXPECT_EQ(MessageTexts(),
        std::vector<std::string> {
            "Unable to write the cleaned copy \r\n\r\n/Data/a.htm2\r\n\r\n"
            "Run-time error '70': Permission denied\r\n\r\nNo copy was made." });
    EXPECT_EQ(result.copiesNotWritten, 1);
}

// The record on disk, with something done at the copy's name while the file is cleaned.
class CopyRaceTest : public ::testing::Test {
protected:
    // The record, and a hook run once the copy in the making exists.
    class RacedCopies : public CleanedCopies {
    public:
        explicit RacedCopies(const std::string& record)
            : record_(record)
        {
        }
        CopyStanding WhatStandsAt(const std::string& copyPath) override
        {
            return record_.WhatStandsAt(copyPath);
        }
        bool TakePermissionsOf(const std::string& original, const std::string& copyPath) override
        {
            const bool taken = record_.TakePermissionsOf(original, copyPath);
            if (meanwhile) {
                meanwhile();
            }
            return taken;
        }
        CopyPlacing Place(const std::string& temporaryPath, const std::string& copyPath,
            CopyStanding found, PlatformError& error) override
        {
            return record_.Place(temporaryPath, copyPath, found, error);
        }
        std::function<void()> meanwhile;

    private:
        PosixCleanedCopies record_;
    };

    CopyRaceTest()
    {
        options.RootFolder = tree.Path();
        options.OutputPathname = outside / "out.txt";
    }
    RunResult Run(RacedCopies& copies)
    {
        return RunWebCleanup(
            options, RunPorts { window, { platform, platform, noEvents }, dialogs, files }, copies);
    }

    fakes::TempFolder tree;
    fakes::TempFolder outside;
    SearchOptions options;
    fakes::FakeRunView window;
    PosixPlatform platform;
    NoEventPump noEvents;
    fakes::RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
};

TEST_F(CopyRaceTest, WhatAppearsOrChangesAtACopysNameMeanwhileIsLeftAsItIs)
{
    struct Case {
        const char* what;
        bool earlierCopy; // a copy of an earlier run stands at the name
        std::function<void(const std::string& copyPath)> meanwhile;
        std::string left; // what stands at the copy's name after the run
    };
    const Case cases[] = {
        { "a user's file appears", false,
            [](const std::string& copy) { std::ofstream(copy) << "user's"; }, "user's" },
        { "the user edits the earlier copy", true,
            [](const std::string& copy) { std::ofstream(copy) << "edited"; }, "edited" },
        { "a link replaces the earlier copy", true,
            [this](const std::string& copy) {
                std::remove(copy.c_str());
                ASSERT_EQ(symlink((outside / "target").c_str(), copy.c_str()), 0);
            },
            "kept" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string copyPath = tree / "a.htm2";
        std::remove(copyPath.c_str());
        outside.Write("target", "kept");
        RacedCopies copies(outside / "state");
        tree.Write("a.htm", "\xE9");
        if (c.earlierCopy) {
            Run(copies);
            tree.Write("a.htm", "\xFC");
        }
        copies.meanwhile = [&] { c.meanwhile(copyPath); };

        Run(copies);

        EXPECT_EQ(fakes::TempFolder::ReadWholeFile(copyPath), c.left);
        EXPECT_EQ(outside.Read("target"), "kept");
        EXPECT_TRUE(
            outside.Read("out.txt").starts_with(copyPath.substr(0, copyPath.size() - 1) + "\r\n   "
                + copyPath + " exists and is not a copy made by Trawlit: left as it is\r\n"));
        EXPECT_FALSE(platform.FileExists(tree / ".a.htm2~"));
    }
}

TEST_F(CopyRaceTest, AnUntouchedEarlierCopyIsReplaced)
{
    RacedCopies copies(outside / "state");
    tree.Write("a.htm", "\xE9");
    Run(copies);
    tree.Write("a.htm", "\xFC");
    Run(copies);
    EXPECT_EQ(tree.Read("a.htm2"), "&uuml;");
    EXPECT_FALSE(platform.FileExists(tree / ".a.htm2~"));
}

} // namespace
} // namespace trawlit
