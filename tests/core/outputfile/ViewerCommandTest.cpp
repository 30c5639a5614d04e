#include "core/outputfile/ViewerCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trawlit {
namespace {

using Words = std::vector<std::string>;

TEST(ViewerCommandTest, SplitsTheViewerTextIntoWords)
{
    struct Case {
        std::string text;
        Words words;
    };
    const std::vector<Case> cases = {
        { "NOTEPAD.EXE", { "NOTEPAD.EXE" } },
        { "  KATE \t -n  ", { "KATE", "-n" } },
        { "\"/opt/My Viewer/view\" --ro", { "/opt/My Viewer/view", "--ro" } },
        { "A\"B C\"D E", { "AB CD", "E" } },
        { "PROG \"\" X", { "PROG", "", "X" } },
        { "PROG \"unclosed  arg", { "PROG", "unclosed  arg" } },
        { "C:\\Tools\\v.exe \\x", { "C:\\Tools\\v.exe", "\\x" } },
        { "", {} },
        { "   ", {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandWords(c.text), c.words) << "[" << c.text << "]";
}

TEST(ViewerCommandTest, AppendsThePathAsOneArgumentWhateverItHolds)
{
    const std::vector<std::string> paths = {
        "/tmp/plain.txt",
        "/tmp/with blanks/a b.txt",
        "/tmp/q\"uo\"te.txt",
        "/tmp/x\"; $(touch pwned) `id` & 'y'.txt",
        "",
    };
    for (const std::string& path : paths) {
        const ViewerCommand command = BuildViewerCommand("GEDIT -s", path);
        EXPECT_EQ(command.program, "GEDIT");
        EXPECT_EQ(command.arguments, (Words { "-s", path }));
    }
    const ViewerCommand bare = BuildViewerCommand("", "/tmp/a.txt");
    EXPECT_EQ(bare.program, "");
    EXPECT_EQ(bare.arguments, Words { "/tmp/a.txt" });
}

} // namespace
} // namespace trawlit
