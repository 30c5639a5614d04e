#include "core/outputfile/Viewers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files/FileRoutines.h"
#include "fakes/FakePlatform.h"
#include "fakes/RecordingDialogs.h"
#include "ports/ProgramStarter.h"

namespace trawlit {
namespace {

using fakes::FakePlatform;
using fakes::RecordingDialogs;
using Words = std::vector<std::string>;

class RecordingStarter : public ProgramStarter {
public:
    bool StartDetached(const std::string& program, const Words& arguments) override
    {
        started.push_back(program);
        started.insert(started.end(), arguments.begin(), arguments.end());
        return succeed;
    }
    Words started; // program, then its arguments
    bool succeed = true;
};

class RecordingShell : public DocumentShell {
public:
    void ShellDocument(const std::string& document, std::uint8_t flag) override
    {
        documents.push_back(document);
        flags.push_back(flag);
    }
    Words documents;
    std::vector<std::uint8_t> flags;
};

class ViewFileTest : public ::testing::Test {
protected:
    ViewFileTest() { SetDefaultViewers(); }
    ~ViewFileTest() override { SetDefaultViewers(); }

    void View(const std::string& path)
    {
        ViewFile(path, { files, platform, dialogs, starter, shell });
    }
    std::string AddFile(const std::string& name, std::size_t length)
    {
        const std::string path = "/results/" + name;
        platform.AddFile(path, std::string(length, 'x'));
        return path;
    }

    FakePlatform platform;
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
    RecordingStarter starter;
    RecordingShell shell;
};

TEST_F(ViewFileTest, ChoosesShellOrViewerByExtensionThenLength)
{
    struct Case {
        const char* name;
        std::size_t length;
        const char* viewer; // nullptr: the shell opens it
    };
    const std::vector<Case> cases = {
        { "report.rtf", 10, nullptr },
        { "Page.Htm", 70000, nullptr },
        { "page.HTML", 0, nullptr },
        { "page.htmx", 10, "SMALL" },
        { "at-limit.txt", 60000, "SMALL" },
        { "over-limit.txt", 60001, "LARGE" },
        { "README", 70000, "LARGE" },
        { "web.html.txt", 10, "SMALL" },
        { "folder.rtf/inside", 10, "SMALL" },
    };
    for (const Case& c : cases) {
        SmallFileViewer = "SMALL";
        LargeFileViewer = "LARGE";
        starter.started.clear();
        shell.documents.clear();
        const std::string path = AddFile(c.name, c.length);

        View(path);

        if (c.viewer == nullptr) {
            EXPECT_TRUE(starter.started.empty()) << c.name;
            EXPECT_EQ(shell.documents, Words { path }) << c.name;
            EXPECT_EQ(shell.flags.back(), 1) << c.name;
        } else {
            EXPECT_TRUE(shell.documents.empty()) << c.name;
            EXPECT_EQ(starter.started, (Words { c.viewer, path })) << c.name;
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ViewFileTest, AnEmptyViewerRestoresBothDefaultsFirst)
{
    const std::string small = AddFile("small.txt", 5);
    SmallFileViewer.clear();
    LargeFileViewer = "KWRITE";
    View(small);
    EXPECT_EQ(starter.started, (Words { "NOTEPAD.EXE", small }));
    EXPECT_EQ(LargeFileViewer, "WRITE.EXE");

    const std::string large = AddFile("large.txt", 60001);
    SmallFileViewer = "GEDIT";
    LargeFileViewer.clear();
    starter.started.clear();
    View(large);
    EXPECT_EQ(starter.started, (Words { "WRITE.EXE", large }));
    EXPECT_EQ(SmallFileViewer, "NOTEPAD.EXE");
}

TEST_F(ViewFileTest, TheViewersOwnWordsComeBeforeThePathWhichStaysWhole)
{
    const std::string path = AddFile("a \"b\"; $(touch x) 'c'.txt", 5);
    SmallFileViewer = "\"/opt/My Viewer/view\"  --read-only";
    View(path);
    EXPECT_EQ(starter.started, (Words { "/opt/My Viewer/view", "--read-only", path }));
}

TEST_F(ViewFileTest, ReportsWhatItCannotFindOrRun)
{
    struct Case {
        const char* viewer;
        bool fileExists;
        bool starts;
        const char* message; // nullptr: none
        bool started;
    };
    const std::vector<Case> cases = {
        { "NOTEPAD.EXE", false, true, "Unable to find File.\r\n\r\n/results/x.txt", false },
        { "NOSUCH -q", true, false, "Unable to run NOSUCH -q", true },
        { "NOTEPAD.EXE", true, false,
            "Unable to run NOTEPAD.EXE\r\n\r\nNo text editor and no desktop opener (xdg-open) "
            "was found.\r\n\r\nInstall a text editor, or choose a program with Change viewers.",
            true },
        { "   ", true, true, "Unable to run    ", false },
        { "NOTEPAD.EXE", true, true, nullptr, true },
    };
    for (const Case& c : cases) {
        FakePlatform fresh;
        if (c.fileExists)
            fresh.AddFile("/results/x.txt", "text");
        RecordingDialogs freshDialogs;
        FileRoutines freshFiles(fresh, freshDialogs);
        RecordingStarter freshStarter;
        freshStarter.succeed = c.starts;
        SmallFileViewer = c.viewer;

        ViewFile("/results/x.txt", { freshFiles, fresh, freshDialogs, freshStarter, shell });

        EXPECT_EQ(!freshStarter.started.empty(), c.started) << c.viewer;
        if (c.message == nullptr) {
            EXPECT_TRUE(freshDialogs.messages.empty()) << c.viewer;
            continue;
        }
        ASSERT_EQ(freshDialogs.messages.size(), 1u) << c.viewer;
        EXPECT_EQ(freshDialogs.messages[0].text, c.message);
        EXPECT_EQ(freshDialogs.messages[0].code, MsgBoxCode::Exclamation);
        EXPECT_EQ(freshDialogs.messages[0].title, "Trawlit");
    }
}

// A file that disappears between the existence check and its length is reported before any
// viewer was chosen, so the message names none.
class VanishingPlatform : public FakePlatform {
public:
    using FakePlatform::FileLength;
    std::int64_t FileLength(const std::string&) override { return -1; }
};

TEST(ViewFileLengthTest, AFileThatCannotBeMeasuredNamesNoViewer)
{
    VanishingPlatform platform;
    platform.AddFile("/results/x.txt", "text");
    RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    RecordingStarter starter;
    RecordingShell shell;
    ViewFile("/results/x.txt", { files, platform, dialogs, starter, shell });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Unable to run ");
    EXPECT_TRUE(starter.started.empty());
}

TEST(FindFileTest, NamesTheKindAndThePathOnlyWhenMissing)
{
    FakePlatform platform;
    platform.AddFile("/d/here.txt", "x");
    RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    EXPECT_TRUE(FindFile("/d/here.txt", "File", files, dialogs));
    EXPECT_FALSE(FindFile("/d", "Folder", files, dialogs)); // a folder is no file
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Unable to find Folder.\r\n\r\n/d");
}

} // namespace
} // namespace trawlit
