#include "core/outputfile/ViewerPrograms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes/TempFolder.h"

namespace trawlit {
namespace {

using fakes::TempFolder;
namespace fs = std::filesystem;

class ViewerProgramsTest : public ::testing::Test {
protected:
    // A program file in `folder`; executable unless told otherwise.
    std::string Program(const std::string& folder, const std::string& name, bool executable = true)
    {
        const std::string path = temp.Write(folder + "/" + name, "#!/bin/sh\n");
        fs::permissions(path,
            executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
        return path;
    }
    std::string SearchPath(const std::vector<std::string>& folders) const
    {
        std::string joined;
        for (const std::string& folder : folders)
            joined += (joined.empty() ? "" : ":") + temp / folder;
        return joined;
    }

    TempFolder temp;
};

TEST_F(ViewerProgramsTest, FindsExecutablesInSearchOrderAndSkipsTheRest)
{
    Program("first", "view", false); // not executable
    fs::create_directories(temp / "first/tool"); // a folder, not a program
    const std::string view = Program("second", "view");
    const std::string tool = Program("third", "tool");
    const std::string path = SearchPath({ "first", "second", "third" });

    EXPECT_EQ(FindProgram("view", path, false), view);
    EXPECT_EQ(FindProgram("tool", path, false), tool);
    EXPECT_EQ(FindProgram("VIEW", path, false), "");
    EXPECT_EQ(FindProgram("nothing", path, false), "");
    EXPECT_EQ(FindProgram("", path, false), "");
    EXPECT_EQ(FindProgram("view", "", false), "");
    // Empty entries are skipped, not taken for the current folder.
    EXPECT_EQ(FindProgram("view", "::" + temp / "second" + ":", false), view);
    // A name with a separator is a path and is not searched for.
    EXPECT_EQ(FindProgram(view, "", false), view);
    EXPECT_EQ(FindProgram("second/view", SearchPath({ "" }), false), "");
}

TEST_F(ViewerProgramsTest, MatchesLetterCaseOnlyWhenAsked)
{
    const std::string lower = Program("bin", "myviewer");
    const std::string mixed = Program("bin", "MyViewer");
    const std::string exact = Program("bin", "Exact");
    Program("bin", "EXACT");
    const std::string path = SearchPath({ "bin" });

    // Of several spellings the lowest in byte order wins; the exact one always does.
    EXPECT_EQ(FindProgram("MYVIEWER", path, true), mixed);
    EXPECT_EQ(FindProgram("Exact", path, true), exact);
    EXPECT_EQ(FindProgram("MYVIEWER", path, false), "");
    // Every part of a path is matched in any letter case.
    std::string upperPath = lower;
    const std::size_t tail = temp.Path().size();
    for (std::size_t i = tail; i < upperPath.size(); ++i)
        upperPath[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(upperPath[i])));
    EXPECT_EQ(FindProgram(upperPath, "", true), temp / "bin/MyViewer");
    EXPECT_EQ(FindProgram(upperPath, "", false), "");
}

TEST_F(ViewerProgramsTest, DefaultViewerNamesFallBackToStandIns)
{
    struct Case {
        const char* label;
        std::vector<std::string> programs; // in folder "bin"
        std::string program;
        std::string expected; // a name in "bin", or the word itself when prefixed "="
    };
    const std::vector<Case> cases = {
        { "the exact name wins", { "NOTEPAD.EXE", "gedit" }, "NOTEPAD.EXE", "NOTEPAD.EXE" },
        { "preferred editor", { "kwrite", "kate", "gedit" }, "NOTEPAD.EXE", "gedit" },
        { "large-file viewer too", { "mousepad" }, "WRITE.EXE", "mousepad" },
        { "any letter case", { "pluma" }, "write", "pluma" },
        { "opener last", { "xdg-open" }, "Notepad.exe", "xdg-open" },
        { "editor before opener", { "xdg-open", "leafpad" }, "NOTEPAD", "leafpad" },
        { "nothing at all", {}, "NOTEPAD.EXE", "=NOTEPAD.EXE" },
        { "other names fold case", { "featherpad", "gedit" }, "FEATHERPAD", "featherpad" },
        { "other names get no stand-in", { "gedit" }, "NOSUCH", "=NOSUCH" },
        { "not a default name", { "gedit" }, "NOTEPAD.EXE.BAK", "=NOTEPAD.EXE.BAK" },
    };
    for (const Case& c : cases) {
        TempFolder fresh;
        for (const std::string& program : c.programs) {
            fresh.Write("bin/" + program, "#!/bin/sh\n");
            fs::permissions(fresh / ("bin/" + program), fs::perms::owner_all);
        }
        const std::string expected
            = c.expected.starts_with("=") ? c.expected.substr(1) : fresh / ("bin/" + c.expected);
        EXPECT_EQ(ResolveViewerProgram(c.program, fresh / "bin"), expected) << c.label;
    }
}

TEST_F(ViewerProgramsTest, OffersDocumentProgramsBeforeEditorsAndOnlyThoseFound)
{
    for (const char* name : { "kwrite", "gedit", "firefox", "libreoffice", "xdg-open", "ls" })
        Program("bin", name);
    Program("bin", "chromium", false);
    EXPECT_EQ(OpenWithChoices(SearchPath({ "bin" })),
        (std::vector<std::string> { "libreoffice", "firefox", "gedit", "kwrite" }));
    EXPECT_TRUE(OpenWithChoices("").empty());
}

} // namespace
} // namespace trawlit
