#include "core/dialogs/GETPATH.h"

#include <deque>

#include <gtest/gtest.h>

#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::RecordingDialogs;
using fakes::TempFolder;

// Answers with scripted answers and records what it was asked.
class ScriptedFileDialog : public FileDialogPort {
public:
    FileDialogAnswer Show(const FileDialogRequest& request) override
    {
        requests.push_back(request);
        FileDialogAnswer answer = answers.empty() ? FileDialogAnswer {} : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    std::vector<FileDialogRequest> requests;
    std::deque<FileDialogAnswer> answers;
};

FileDialogAnswer Chose(const std::string& path)
{
    return { true, false, path, 1, kGetPathFlags };
}

class GETPATHTest : public ::testing::Test {
protected:
    std::optional<std::string> Browse(const std::string& comboText)
    {
        return BrowseComboPath(
            PathDialogPorts { dialog, platform, dialogs }, "Output file", comboText);
    }
    ScriptedFileDialog dialog;
    PosixPlatform platform;
    RecordingDialogs dialogs;
    TempFolder temp;
};

TEST_F(GETPATHTest, ProposedPathsAreTidiedAndOpenInTheirFolder)
{
    struct Case {
        std::string comboText;
        std::string fileName;
        std::string initialFolder;
    };
    const Case cases[] = {
        { "/home/u/Trawlit.out", "/home/u/Trawlit.out", "/home/u" },
        { "  /data//x.out  ", "/data/x.out", "/data" }, // trimmed, separators halved
        { "//srv/x.out", "/srv/x.out", "/srv" }, // a leading pair keeps one
        { "/out.txt", "/out.txt", "/." }, // a root's file opens at the root
        { "/a/what?.out", "/a/what .out", "/a" },
        { "\"/a/q.out\"", "/a/q.out", "/a" }, // quotes become blanks, then trimmed
        { "/data/sub/", "", "/data/sub" }, // a folder: no file name
        { "x.out", "x.out", "" },
    };
    for (const Case& c : cases) {
        dialog.requests.clear();
        EXPECT_EQ(Browse(c.comboText), std::nullopt); // cancelled
        ASSERT_EQ(dialog.requests.size(), 1u);
        const FileDialogRequest& request = dialog.requests[0];
        EXPECT_EQ(request.fileName, c.fileName) << c.comboText;
        EXPECT_EQ(request.initialFolder, c.initialFolder) << c.comboText;
        EXPECT_EQ(request.title, "Select Output file");
        EXPECT_EQ(request.filter, "All Files (*.*)|*.*");
        EXPECT_EQ(request.flags, 2062);
        EXPECT_EQ(request.action, 2);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GETPATHTest, FilterAndTitleOptions)
{
    FileDialogRequest text = PathDialogRequest("t", "/a", ".txt", 1);
    EXPECT_EQ(text.filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    EXPECT_EQ(text.filterIndex, 2);
    FileDialogRequest own = PathDialogRequest("t", "/a", "Logs|*.log", 3);
    EXPECT_EQ(own.filter, "Logs|*.log");
    EXPECT_EQ(own.filterIndex, 3);

    std::string path = "/a/b";
    bool selected = true;
    GETPATH({ dialog, platform, dialogs }, "Exact title", path, "", 1, selected,
        GetPathOptions::TitleAsGiven);
    EXPECT_FALSE(selected);
    EXPECT_EQ(path, "/a/b");
    EXPECT_EQ(dialog.requests.back().title, "Exact title");
}

TEST_F(GETPATHTest, InvalidProposedNameOpensAgainWithAnEmptyName)
{
    dialog.answers = { FileDialogAnswer { false, true, "", 1, 0 }, Chose(temp / "new.out") };
    EXPECT_EQ(Browse("/bad\x01name"), temp / "new.out");
    ASSERT_EQ(dialog.requests.size(), 2u);
    EXPECT_EQ(dialog.requests[1].fileName, "");
}

TEST_F(GETPATHTest, ChosenExistingFileIsDeletedAtOnce)
{
    dialog.answers = { Chose(temp / "missing.out") };
    EXPECT_EQ(Browse("/x"), temp / "missing.out");

    temp.Write("old.out", "old results");
    dialog.answers = { Chose(temp / "old.out") };
    EXPECT_EQ(Browse("/x"), temp / "old.out");
    EXPECT_FALSE(platform.FileExists(temp / "old.out"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GETPATHTest, ReadOnlyChosenFileIsKeptAndTheChoiceDropped)
{
    temp.Write("kept.out", "keep me");
    ASSERT_TRUE(platform.SetReadOnly(temp / "kept.out", true));
    dialog.answers = { Chose(temp / "kept.out") };
    EXPECT_EQ(Browse("/previous.out"), std::nullopt);
    EXPECT_EQ(temp.Read("kept.out"), "keep me");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File is read-only\r\n\r\n" + (temp / "kept.out"));
    EXPECT_EQ(dialogs.messages[0].title, "File Delete Error");
    EXPECT_EQ(dialogs.messages[0].code, 16);
}

} // namespace
} // namespace trawlit
