#include "core/walk/FolderWalk.h"

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::FakePlatform;
using Events = std::vector<std::string>;

// Records every call of the walk as one text; optionally asks to stop at the n-th poll.
class RecordingSteps : public WalkSteps {
public:
    Events events;
    int stopAtPoll = -1;
    bool recordHooks = true;

    bool StopRequested() override
    {
        int poll = polls_++;
        if (recordHooks) {
            events.push_back("poll");
        }
        return poll == stopAtPoll;
    }
    void OnFolder(const std::string& folderPath, bool isRoot) override
    {
        events.push_back((isRoot ? "root " : "folder ") + folderPath);
    }
    void BeforeName() override
    {
        if (recordHooks) {
            events.push_back("before");
        }
    }
    void VisitFile(const WalkFile& file) override
    {
        events.push_back(file.displayPath + (recordHooks ? " | " + file.checkPath : ""));
    }
    void AfterName() override
    {
        if (recordHooks) {
            events.push_back("after");
        }
    }
    void OnTemplatesUnused(const std::vector<std::string>& wildcards) override
    {
        unusedTemplates = wildcards;
    }
    Events unusedTemplates { "not called" };

private:
    int polls_ = 0;
};

Events Walk(FileSystem& platform, const WalkSettings& settings)
{
    RecordingSteps steps;
    steps.recordHooks = false;
    FolderWalk(platform, settings, steps);
    return steps.events;
}

WalkSettings Settings(const std::string& root)
{
    WalkSettings settings;
    settings.rootFolder = root;
    return settings;
}

// Folders and files are added in an order unlike the sorted one.
void BuildDocumentedTree(FakePlatform& platform)
{
    platform.AddFile("/r/y/d.txt");
    platform.AddFile("/r/b.txt");
    platform.AddFile("/r/x/c.txt");
    platform.AddFile("/r/A.txt");
}

TEST(FolderWalkTest, FilesFirstThenSubTreesInAscendingOrder)
{
    FakePlatform platform;
    BuildDocumentedTree(platform);
    EXPECT_EQ(Walk(platform, Settings("/r")),
        (Events { "root /r", "/r/A.txt", "/r/b.txt", "folder /r/x", "/r/x/c.txt", "folder /r/y",
            "/r/y/d.txt" }));
    EXPECT_EQ(platform.examineCalls, 0);
}

TEST(FolderWalkTest, HooksAndPollsComeInTheirOrder)
{
    FakePlatform platform;
    platform.AddFile("/r/a.gif");
    platform.AddFile("/r/b.txt");
    platform.AddSpecial("/r/fifo", EntryKind::Other);
    platform.AddFolder("/r/s");
    RecordingSteps steps;
    FolderWalk(platform, Settings("/r"), steps);
    EXPECT_EQ(steps.events,
        (Events { "poll", // W2
            "poll", "poll", "poll", "poll", "poll", "poll", // one listing: ".", "..", 3 files, s
            "root /r", //
            "poll", "before", // a.gif: skipped, no "after"
            "poll", "before", "/r/b.txt | /r/b.txt", "after", //
            "poll", "before", "after", // fifo: not a file, still a name
            "poll", "poll", "poll", "folder /r/s" }));
    EXPECT_EQ(platform.listedPatterns, (Events { "/r/*.*", "/r/s/*.*" })); // one listing a folder
}

// Stopping at any poll ends the walk there: nothing follows the poll that said stop.
TEST(FolderWalkTest, StopRequestEndsTheWalkAtEveryPollingPoint)
{
    FakePlatform platform;
    BuildDocumentedTree(platform);
    platform.AddFile("/r/x/e.txt");
    RecordingSteps full;
    FolderWalk(platform, Settings("/r"), full);
    int polls = static_cast<int>(std::count(full.events.begin(), full.events.end(), "poll"));
    ASSERT_GT(polls, 20);
    for (int stopAt = 0; stopAt < polls; ++stopAt) {
        RecordingSteps steps;
        steps.stopAtPoll = stopAt;
        FolderWalk(platform, Settings("/r"), steps);
        Events expected;
        for (int seen = 0; seen <= stopAt;) {
            const std::string& event = full.events[expected.size()];
            expected.push_back(event);
            seen += event == "poll" ? 1 : 0;
        }
        EXPECT_EQ(steps.events, expected) << "stop at poll " << stopAt;
    }
}

TEST(FolderWalkTest, TraverseOffVisitsTheRootFilesOnly)
{
    FakePlatform platform;
    BuildDocumentedTree(platform);
    WalkSettings settings = Settings("/r");
    settings.traverseSubfolders = false;
    EXPECT_EQ(Walk(platform, settings), (Events { "root /r", "/r/A.txt", "/r/b.txt" }));
    EXPECT_EQ(platform.listedPatterns, (Events { "/r/*.*" }));
}

TEST(FolderWalkTest, TemplateSelectsFilesButNotFolders)
{
    FakePlatform platform;
    platform.AddFile("/r/a.c");
    platform.AddFile("/r/b.h");
    platform.AddFile("/r/sub.h/c.c");
    WalkSettings settings = Settings("/r");
    settings.fileTemplate = "*.C";
    EXPECT_EQ(Walk(platform, settings),
        (Events { "root /r", "/r/a.c", "folder /r/sub.h", "/r/sub.h/c.c" }));
}

TEST(FolderWalkTest, WildcardsThatAdmitNoFileInTheWholeTreeAreNamedAfterIt)
{
    const std::tuple<const char*, bool, int, Events> cases[] = {
        { "*.c; *.hh;*.[ch]", true, -1, { "*.hh" } },
        { "*.gif;*.C", true, -1, { "*.gif" } }, // a skipped name admits nothing
        { "*.c;x*", false, -1, { "x*" } }, { "*.c", false, -1, { "not called" } },
        { "*.hh", true, 0, { "not called" } }, // a stopped walk did not see the whole tree
    };
    for (const auto& [fileTemplate, traverse, stopAtPoll, unused] : cases) {
        FakePlatform platform;
        platform.AddFile("/r/a.c");
        platform.AddFile("/r/a.gif");
        platform.AddFile("/r/sub/b.h");
        WalkSettings settings = Settings("/r");
        settings.fileTemplate = fileTemplate;
        settings.traverseSubfolders = traverse;
        RecordingSteps steps;
        steps.stopAtPoll = stopAtPoll;
        FolderWalk(platform, settings, steps);
        EXPECT_EQ(steps.unusedTemplates, unused) << fileTemplate;
    }
    FakePlatform empty;
    empty.AddFolder("/r");
    for (const char* fileTemplate : { "*.*", "*.c;*" }) {
        WalkSettings settings = Settings("/r");
        settings.fileTemplate = fileTemplate;
        RecordingSteps steps;
        FolderWalk(empty, settings, steps);
        EXPECT_EQ(steps.unusedTemplates, Events { "not called" }) << "a tree without files";
    }
}

TEST(FolderWalkTest, RootWithTrailingSeparatorGivesSingleSeparators)
{
    FakePlatform platform;
    BuildDocumentedTree(platform);
    platform.AddFile("/top.txt");
    EXPECT_EQ(Walk(platform, Settings("/r/")),
        (Events { "root /r/", "/r/A.txt", "/r/b.txt", "folder /r/x", "/r/x/c.txt", "folder /r/y",
            "/r/y/d.txt" }));
    WalkSettings settings = Settings("/");
    settings.traverseSubfolders = false;
    EXPECT_EQ(Walk(platform, settings), (Events { "root /", "/top.txt" }));
}

TEST(FolderWalkTest, NamesBeginningWithADotAreNeverVisited)
{
    FakePlatform platform;
    platform.listHiddenNames = true;
    platform.AddFile("/r/.profile");
    platform.AddFile("/r/a.txt");
    platform.AddFile("/r/.svn/entries");
    platform.AddFile("/r/.config/b.txt");
    platform.AddFile("/r/s/c.txt");
    EXPECT_EQ(Walk(platform, Settings("/r")),
        (Events { "root /r", "/r/a.txt", "folder /r/s", "/r/s/c.txt" }));
}

struct TieCase {
    const char* title;
    std::vector<std::string> listed;
    Events expected;
};

class FolderWalkTieOrder : public ::testing::TestWithParam<TieCase> { };

TEST_P(FolderWalkTieOrder, NamesDifferingInCaseKeepTheSortsTieOrder)
{
    FakePlatform platform;
    for (const std::string& name : GetParam().listed) {
        platform.AddFile("/r/" + name);
    }
    WalkSettings settings = Settings("/r");
    settings.traverseSubfolders = false;
    Events expected { "root /r" };
    for (const std::string& name : GetParam().expected) {
        expected.push_back("/r/" + name);
    }
    EXPECT_EQ(Walk(platform, settings), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderWalkTieOrder,
    ::testing::Values(
        TieCase { "README_listed_first", { "README", "readme" }, { "README", "readme" } },
        TieCase { "readme_listed_first", { "readme", "README" }, { "readme", "README" } },
        TieCase { "three_spellings", { "Readme", "readme", "README", "a" },
            { "a", "Readme", "README", "readme" } }),
    [](const auto& param) { return std::string(param.param.title); });

TEST(FolderWalkTest, SiblingFoldersIgnoreCaseAndEachSubTreeIsWhole)
{
    FakePlatform platform;
    platform.AddFile("/r/Y/y.txt");
    platform.AddFile("/r/x/deep/z.txt");
    platform.AddFile("/r/x/w.txt");
    platform.AddFile("/r/_u/u.txt");
    EXPECT_EQ(Walk(platform, Settings("/r")),
        (Events { "root /r", "folder /r/_u", "/r/_u/u.txt", "folder /r/x", "/r/x/w.txt",
            "folder /r/x/deep", "/r/x/deep/z.txt", "folder /r/Y", "/r/Y/y.txt" }));
}

TEST(FolderWalkTest, PassedOverFileIsSkippedUnderEveryName)
{
    FakePlatform platform;
    platform.AddFile("/r/a.txt");
    platform.AddFile("/r/out.txt");
    platform.AddFile("/r/s/link-to-out.txt");
    platform.SetIdentity("/r/s/link-to-out.txt", platform.IdentityOfPath("/r/out.txt"));
    WalkSettings settings = Settings("/r");
    settings.passOver = platform.IdentityOfPath("/r/out.txt");
    RecordingSteps steps;
    FolderWalk(platform, settings, steps);
    EXPECT_EQ(std::count(steps.events.begin(), steps.events.end(), "after"), 1);
    EXPECT_EQ(Walk(platform, settings), (Events { "root /r", "/r/a.txt", "folder /r/s" }));
}

struct SkipCase {
    const char* title;
    std::vector<std::string> parts;
    Events visited;
};

class FolderWalkSkippedParts : public ::testing::TestWithParam<SkipCase> { };

TEST_P(FolderWalkSkippedParts, NamesHoldingAPartAreSkippedIgnoringCase)
{
    FakePlatform platform;
    for (const char* name :
        { "a.GIF", "x.obj.txt", "data.objects", "p.jpeg", "q.Jpg", "r.bmp", "s.txt" }) {
        platform.AddFile(std::string("/r/") + name);
    }
    WalkSettings settings = Settings("/r");
    settings.skippedNameParts = GetParam().parts;
    Events expected { "root /r" };
    for (const std::string& name : GetParam().visited) {
        expected.push_back("/r/" + name);
    }
    EXPECT_EQ(Walk(platform, settings), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderWalkSkippedParts,
    ::testing::Values(
        SkipCase { "search", { ".gif", ".jpg", ".bmp", ".obj" }, { "p.jpeg", "s.txt" } },
        SkipCase { "pictures_only", { ".gif", ".jpg" },
            { "data.objects", "p.jpeg", "r.bmp", "s.txt", "x.obj.txt" } },
        SkipCase { "none", {},
            { "a.GIF", "data.objects", "p.jpeg", "q.Jpg", "r.bmp", "s.txt", "x.obj.txt" } },
        SkipCase { "empty_part_skips_nothing", { "" },
            { "a.GIF", "data.objects", "p.jpeg", "q.Jpg", "r.bmp", "s.txt", "x.obj.txt" } }),
    [](const auto& param) { return std::string(param.param.title); });

TEST(FolderWalkTest, FileTestDependsOnWhetherFilesMustExist)
{
    FakePlatform platform;
    platform.AddFile("/r/a.txt");
    platform.AddSpecial("/r/broken", EntryKind::Missing);
    platform.AddSpecial("/r/fifo", EntryKind::Other);
    WalkSettings settings = Settings("/r");
    EXPECT_EQ(Walk(platform, settings), (Events { "root /r", "/r/a.txt" }));
    settings.fileMustExist = false;
    EXPECT_EQ(Walk(platform, settings), (Events { "root /r", "/r/a.txt", "/r/broken" }));
}

TEST(FolderWalkTest, NoFolderIsEnteredTwiceNorThroughALink)
{
    FakePlatform platform;
    platform.AddFile("/r/a/f.txt");
    platform.AddSpecial("/r/link", EntryKind::FolderLink);
    platform.AddFolder("/r/a/loop"); // a second name of the root, as a bind mount gives
    platform.SetIdentity("/r/a/loop", platform.IdentityOfPath("/r"));
    platform.AddFile("/r/b/g.txt");
    platform.AddFolder("/r/c"); // a second name of b
    platform.SetIdentity("/r/c", platform.IdentityOfPath("/r/b"));
    platform.AddFile("/r/d/h.txt"); // a mount of a: its parent lists the folder beneath
    platform.SetIdentity("/r/d", platform.IdentityOfPath("/r/a"));
    platform.SetIdentityAsListed("/r/d", { 9, 99 });
    EXPECT_EQ(Walk(platform, Settings("/r")),
        (Events { "root /r", "folder /r/a", "/r/a/f.txt", "folder /r/b", "/r/b/g.txt" }));
}

TEST(FolderWalkTest, UnlistableFolderIsPassedOver)
{
    FakePlatform platform;
    BuildDocumentedTree(platform);
    platform.FailListing("/r/x", 70, "Permission denied");
    EXPECT_EQ(Walk(platform, Settings("/r")),
        (Events { "root /r", "/r/A.txt", "/r/b.txt", "folder /r/x", "folder /r/y", "/r/y/d.txt" }));
    EXPECT_EQ(Walk(platform, Settings("/missing")), (Events { "root /missing" }));
}

TEST(FolderWalkTest, ListingsBeyondSixteenBitCountsAreWalkedWhole)
{
    FakePlatform platform;
    constexpr int kFiles = 33000;
    for (int i = kFiles - 1; i >= 0; --i) {
        platform.AddFile("/r/f" + std::to_string(100000 + i));
    }
    WalkSettings settings = Settings("/r");
    settings.traverseSubfolders = false;
    Events events = Walk(platform, settings);
    ASSERT_EQ(events.size(), kFiles + 1U);
    EXPECT_EQ(events[1], "/r/f100000");
    EXPECT_EQ(events.back(), "/r/f" + std::to_string(100000 + kFiles - 1));
    EXPECT_TRUE(std::is_sorted(events.begin() + 1, events.end()));
}

TEST(FolderWalkTest, JoinsHalveDoubledSeparators)
{
    EXPECT_EQ(JoinDisplayPath("/src/", "a.Txt"), "/src/a.Txt");
    EXPECT_EQ(JoinDisplayPath("/", "a"), "/a");
    EXPECT_EQ(JoinDisplayPath("a////b", "x"), "a//b/x"); // halved, not collapsed
}

TEST(FolderWalkTest, WalksARealTreeWithLinksAndAFifo)
{
    fakes::TempFolder tree;
    ASSERT_FALSE(tree.Path().empty());
    tree.Write("b.txt");
    tree.Write("A.txt");
    tree.Write("x/c.txt");
    tree.Write("y/d.txt");
    tree.Write(".hidden/e.txt");
    tree.Write(".profile");
    std::filesystem::create_directory_symlink(tree / "x", tree / "link-to-x");
    std::filesystem::create_symlink(tree / "A.txt", tree / "link-to-A.txt");
    ASSERT_EQ(mkfifo((tree / "pipe").c_str(), 0600), 0);
    PosixPlatform platform;
    const std::string& root = tree.Path();
    WalkSettings settings = Settings(root + "/");
    settings.fileMustExist = false;
    EXPECT_EQ(Walk(platform, settings),
        (Events { "root " + root + "/", root + "/A.txt", root + "/b.txt", root + "/link-to-A.txt",
            "folder " + root + "/x", root + "/x/c.txt", "folder " + root + "/y",
            root + "/y/d.txt" }));
}

} // namespace
} // namespace trawlit
