#include "core/tools/WebCleanup.h"

#include "core/tools/ToolRunFixture.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using namespace std::string_literals;

class WebCleanupTest : public fakes::ToolRunFixture {
protected:
    RunResult Run() { return RunWebCleanup(Ports()); }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
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
        "/Data/A.HTM\r\n"
        "\r\n"
        "/Data/ODD.BIN\r\n"
        "   131 '\x83'\r\n"
        "   0 '\0'\r\n"
        "\r\n"
        "/Data/PLAIN.TXT\r\n"
        "\r\n"
        "/Data/sub/U8.TXT\r\n"
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
    EXPECT_EQ(Results(), "/Data/A.TXT\r\n   129 '\x81'\r\n   129 '\x81'\r\n\r\n");
    EXPECT_EQ(platform.Contents("/Data/a.txt2"), "it&#039;s x ");
}

TEST_F(WebCleanupTest, AnEarlierCopyIsReplacedAndNeverReadInTheSameRun)
{
    platform.AddFile("/Data/a.htm", "\xE9");
    platform.AddFile("/Data/a.htm2", "old copy");
    platform.SetReadOnly("/Data/a.htm2", true);

    RunResult result = Run();

    EXPECT_EQ(platform.Contents("/Data/a.htm2"), "&eacute;");
    EXPECT_EQ(Results(), "/Data/A.HTM\r\n\r\n");
    EXPECT_EQ(result.counters.TotalFileCount, 1);
    EXPECT_TRUE(dialogs.messages.empty());
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
        { "the write fails",
            [](auto& fake) {
                fake.AddFile("/Data/a.htm2", "earlier copy");
                fake.FailWrite("/Data/.a.htm2~", 61, "Disk full");
            },
            { cannotWrite }, "" },
        { "the copy cannot be opened",
            [](auto& fake) { fake.FailOpen("/Data/.a.htm2~", 70, "Permission denied"); },
            { "Run-time error '70':\r\n\r\nPermission denied\r\n\r\nFile = /Data/a.htm2",
                "Open error on write: /Data/A.HTM" },
            "" },
        { "a folder stands in its place", [](auto& fake) { fake.AddFolder("/Data/a.htm2"); },
            { "Unable to write the cleaned copy \r\n\r\n/Data/a.htm2\r\n\r\n"
              "Run-time error '75': Path/File access error\r\n\r\nNo copy was made." },
            "" },
        { "someone's own file stands in its place",
            [](auto& fake) { fake.AddFile("/Data/a.htm2", "mine: \xFC"); },
            { "/Data/a.htm2\r\n\r\nis no cleaned copy (it holds characters a copy never holds): "
              "it was left as it is.",
                "Open error on write: /Data/A.HTM" },
            "mine: \xFC" },
    };
    for (const Case& c : cases) {
        fakes::FakePlatform fake;
        fake.AddFile("/Data/a.htm", "\xE9\r\n");
        fake.AddFolder("/out");
        c.arrange(fake);
        fakes::RecordingDialogs recorded;
        FileRoutines fakeFiles(fake, recorded);
        window.SetText(InputBox::FileTemplate, "*.htm");
        RunWebCleanup(RunPorts { window, fake.AsPlatform(), recorded, fakeFiles });

        std::vector<std::string> texts;
        for (const auto& message : recorded.messages) {
            texts.push_back(message.text);
        }
        EXPECT_EQ(texts, c.messages) << c.what;
        EXPECT_EQ(fake.Contents("/Data/a.htm2"), c.copyLeft) << c.what;
        EXPECT_FALSE(fake.Exists("/Data/.a.htm2~")) << c.what;
        EXPECT_EQ(fake.Contents("/Data/a.htm"), "\xE9\r\n") << c.what;
        EXPECT_EQ(fake.Contents(kOutput), "/Data/A.HTM\r\n\r\n") << c.what;
        EXPECT_EQ(recorded.outputFiles.size(), 1u) << c.what;
    }
}

TEST_F(WebCleanupTest, TheResultsFileIsNeverReadNorReplacedByACopy)
{
    platform.AddFile("/Data/a.htm", "\xE9");
    window.SetText(InputBox::OutputPathname, "/Data/a.htm2");

    Run();

    EXPECT_EQ(platform.Contents("/Data/a.htm2"), "/Data/A.HTM\r\n\r\n");
    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> {
            "/Data/a.htm2\r\n\r\nis the results file: the cleaned copy was not written.",
            "Open error on write: /Data/A.HTM" }));
}

TEST_F(WebCleanupTest, UnopenableFileIsReportedCountedAndPassedOver)
{
    platform.AddFile("/Data/bad.htm", "\xE9");
    platform.AddFile("/Data/good.htm", "\xE9");
    platform.FailOpen("/Data/bad.htm", 70, "Permission denied");

    RunResult result = Run();

    EXPECT_EQ(MessageTexts(),
        std::vector<std::string> {
            "Run-time error '70':\r\n\r\nPermission denied\r\n\r\nFile = /Data/BAD.HTM" });
    EXPECT_EQ(Results(), "/Data/GOOD.HTM\r\n\r\n");
    EXPECT_FALSE(platform.Exists("/Data/bad.htm2"));
    EXPECT_EQ(result.counters.TotalFileCount, 2);
}

TEST_F(WebCleanupTest, AResultsFileThatCannotBeCreatedEndsTheRunBeforeAnythingIsWritten)
{
    platform.AddFile("/Data/a.htm", "\xE9");
    window.SetText(InputBox::OutputPathname, "/nowhere/out.txt");

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
    EXPECT_EQ(Results(), "/Data/A.TXT\r\n\r\n");
}

TEST_F(WebCleanupTest, AbortShowsOnlyInTheClosingMessage)
{
    platform.AddFile("/Data/a.txt", "x");
    platform.AddFile("/Data/b.txt", "y");
    AbortAfterFiles(1);
    RunResult result = Run();
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(Results(), "/Data/A.TXT\r\n\r\n");
    EXPECT_EQ(
        dialogs.outputFiles.at(0).message, "PROCESS WAS ABORTED\r\n\r\n1 file searched.\r\n\r\n");
}

// On a case-sensitive file system the copy goes beside the file under its listed name.
TEST(WebCleanupOnDiskTest, TheCopyTakesTheListedNameWithTwoAppended)
{
    fakes::TempFolder tree;
    fakes::TempFolder outside;
    tree.Write("Index.htm", "caf\xE9");
    fakes::FakeMainWindow window;
    window.SetText(InputBox::RootFolder, tree.Path());
    window.SetText(InputBox::OutputPathname, outside / "out.txt");
    PosixPlatform platform;
    NoEventPump noEvents;
    fakes::RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);

    RunWebCleanup(RunPorts { window, { platform, platform, noEvents }, dialogs, files });

    EXPECT_EQ(tree.Read("Index.htm2"), "caf&eacute;");
    EXPECT_EQ(tree.Read("Index.htm"), "caf\xE9");
    EXPECT_FALSE(platform.FileExists(tree / "INDEX.HTM2"));
    EXPECT_FALSE(platform.FileExists(tree / ".Index.htm2~"));
    EXPECT_EQ(outside.Read("out.txt"), tree.Path() + "/INDEX.HTM\r\n\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WebCleanupTest, AFileThatStopsBeingReadableGetsNoCopy)
{
    struct Case {
        const char* what;
        std::size_t failAfter;
        std::string results;
    };
    // The first look reads both bytes; the cleaning then fails at its first read.
    const Case cases[] = {
        { "while first read", 0, "" },
        { "while cleaned", 2, "/Data/A.HTM\r\n\r\n" },
    };
    window.SetText(InputBox::FileTemplate, "*.htm");
    for (const Case& c : cases) {
        fakes::FakePlatform fake;
        fake.AddFile("/Data/a.htm", "\xE9x");
        fake.AddFile("/Data/a.htm2", "earlier copy");
        fake.AddFolder("/out");
        fake.FailRead("/Data/a.htm", c.failAfter);
        fakes::RecordingDialogs recorded;
        FileRoutines fakeFiles(fake, recorded);
        RunResult result
            = RunWebCleanup(RunPorts { window, fake.AsPlatform(), recorded, fakeFiles });

        ASSERT_EQ(recorded.messages.size(), 1u) << c.what;
        EXPECT_EQ(recorded.messages[0].text,
            "Run-time error '57':\r\n\r\nDevice I/O error\r\n\r\nFile = /Data/A.HTM")
            << c.what;
        EXPECT_EQ(fake.Contents(kOutput), c.results) << c.what;
        EXPECT_EQ(fake.Contents("/Data/a.htm2"), c.failAfter == 0 ? "earlier copy" : "") << c.what;
        EXPECT_FALSE(fake.Exists("/Data/.a.htm2~")) << c.what;
        EXPECT_EQ(result.counters.TotalFileCount, 1) << c.what;
    }
}

} // namespace
} // namespace trawlit
