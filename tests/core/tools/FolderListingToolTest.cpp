#include "core/tools/FolderListingTool.h"

#include "core/tools/ToolRunFixture.h"

namespace trawlit {
namespace {

class FolderListingTest : public fakes::ToolRunFixture {
protected:
    RunResult Run() { return RunFolderListing(options, Ports()); }
};

TEST_F(FolderListingTest, WritesTheIndentedTreeInWalkOrder)
{
    platform.AddFile("/Data/b.txt");
    platform.AddFile("/Data/a.txt");
    platform.AddFile("/Data/logo.GIF"); // pictures are listed like any file
    platform.AddFile("/Data/.profile");
    platform.AddFile("/Data/y/deep/z.c");
    platform.AddFile("/Data/Sub/c.txt");
    platform.AddFolder("/Data/.svn");
    platform.AddFile("/Data/x/d.txt");

    RunResult result = Run();

    EXPECT_EQ(Results(),
        Header("Folder Listing")
            + "/Data\r\n"
              "  a.txt\r\n"
              "  b.txt\r\n"
              "  logo.GIF\r\n"
              "  /Sub  (/Data/Sub)\r\n"
              "    c.txt\r\n"
              "  /x  (/Data/x)\r\n"
              "    d.txt\r\n"
              "  /y  (/Data/y)\r\n"
              "    /deep  (/Data/y/deep)\r\n"
              "      z.c\r\n");
    EXPECT_EQ(result.status, RunStatus::Done);
    EXPECT_EQ(result.counters.TotalFileCount, 6);
    EXPECT_EQ(window.counters[0], 6);
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message, "");
    EXPECT_EQ(dialogs.outputFiles[0].title, "Trawlit");
    EXPECT_EQ(dialogs.outputFiles[0].path, kOutput);
}

TEST_F(FolderListingTest, RootFormTraversalAndTemplateShapeTheLines)
{
    struct Case {
        const char* what;
        std::string root;
        std::string fileTemplate;
        bool traverse;
        std::string body;
    };
    const Case cases[] = {
        { "trailing separator keeps its form and indents by its count", "/Data/", "*.*", true,
            "  /Data/\r\n  a.txt\r\n  /Sub  (/Data/Sub)\r\n    b.log\r\n" },
        { "traversal off lists the root's own files only", "/Data", "*.*", false,
            "/Data\r\n  a.txt\r\n" },
        { "a template limits the files, never the folders", "/Data", "*.txt", true,
            "/Data\r\n  a.txt\r\n  /Sub  (/Data/Sub)\r\n" },
        { "a deeper root is indented by its depth", "/Data/Sub", "*.*", true,
            "  /Data/Sub\r\n    b.log\r\n" },
        { "a root without a separator stands level with its files", "Data", "*.*", false,
            "Data\r\na.txt\r\n" },
    };
    platform.AddFile("/Data/a.txt");
    platform.AddFile("/Data/Sub/b.log");
    for (const Case& c : cases) {
        options.RootFolder = c.root;
        options.FileTemplate = c.fileTemplate;
        options.TraverseSubfolders = c.traverse;
        Run();
        EXPECT_EQ(Body(), c.body) << c.what;
    }
}

TEST_F(FolderListingTest, AbortCutsTheListingShortWithoutATrailer)
{
    platform.AddFile("/Data/a.txt");
    platform.AddFile("/Data/b.txt");
    platform.AddFile("/Data/Sub/c.txt");
    AbortAfterFiles(1);

    RunResult result = Run();

    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(Body(), "/Data\r\n  a.txt\r\n");
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].message, "PROCESS WAS ABORTED\r\n\r\n");
}

TEST_F(FolderListingTest, TheWindowIsBusyWithTheAnimationAndOnlyTheFileCounter)
{
    platform.AddFile("/Data/a.txt");
    Run();
    EXPECT_EQ(window.calls,
        (std::vector<std::string> { "AnimationStart", "EnablePanelInput false",
            "HideStuff Trawlit 0 -1 -1", "AnimationStop", "HideAbortButton", "HideShowCounts false",
            "ShowStuff", "EnablePanelInput true" }));
}

} // namespace
} // namespace trawlit
