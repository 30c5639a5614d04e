#include "util/platform/PosixPlatform.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <gtest/gtest.h>

#include "util/ErrorNumbers.h"
#include "util/TempFolder.h"
#include "util/Wildcard.h"

namespace trawlit {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

std::map<std::string, EntryKind> ListAll(
    Platform& platform, const std::string& pattern, ListMask mask, PlatformError& error)
{
    std::map<std::string, EntryKind> found;
    auto listing = platform.StartListing(pattern, mask, error);
    ListedEntry entry;
    while (listing->Next(entry))
        found[entry.name] = entry.kind;
    return found;
}

TEST(WildcardTest, MatchesTemplatesLikeTheListing)
{
    struct Case {
        const char* wildcard;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        { "*.*", "README", true },
        { "*.*", "a.b.c", true },
        { "*", "anything.txt", true },
        { "*.txt", "NOTES.TXT", true },
        { "*.TXT", "notes.txt", true },
        { "*.txt", "notes.txt.bak", false },
        { "*.c", "main.cpp", false },
        { "a?c", "abc", true },
        { "a?c", "ac", false },
        { "a?c", "abbc", false },
        { "?", "", false },
        { "*a*b", "xaab", true },
        { "*a*b", "xaba", false },
        { "**x", "x", true },
        { "data*", "DATA", true },
        { "", "a", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatches(c.wildcard, c.name), c.matches) << c.wildcard << " / " << c.name;
}

class PosixPlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        temp.Write("a.txt", "alpha");
        temp.Write("B.TXT", "beta");
        temp.Write(".hidden", "h");
        fs::create_directory(temp / "sub");
        fs::create_symlink(temp / "sub", temp / "subLink");
        fs::create_symlink(temp / "a.txt", temp / "aLink");
        fs::create_symlink(temp / "gone", temp / "broken");
        ASSERT_EQ(mkfifo((temp / "pipe").c_str(), 0600), 0);
    }

    TempFolder temp;
    PosixPlatform platform;
};

TEST_F(PosixPlatformTest, FilesOnlyListsEveryNonFolderWithItsKind)
{
    PlatformError error;
    const auto found = ListAll(platform, temp / "*.*", ListMask::FilesOnly, error);
    EXPECT_FALSE(error);
    const std::map<std::string, EntryKind> expected {
        { "a.txt", EntryKind::File },
        { "B.TXT", EntryKind::File },
        { "aLink", EntryKind::File },
        { "broken", EntryKind::Missing },
        { "pipe", EntryKind::Other },
    };
    EXPECT_EQ(found, expected);
}

TEST_F(PosixPlatformTest, FoldersMaskAddsFoldersDotsAndFolderLinks)
{
    PlatformError error;
    const auto found = ListAll(platform, temp / "*", ListMask::FilesAndFolders, error);
    EXPECT_FALSE(error);
    EXPECT_EQ(found.size(), 9u);
    EXPECT_EQ(found.at("."), EntryKind::Folder);
    EXPECT_EQ(found.at(".."), EntryKind::Folder);
    EXPECT_EQ(found.at("sub"), EntryKind::Folder);
    EXPECT_EQ(found.at("subLink"), EntryKind::FolderLink);
    EXPECT_EQ(found.count(".hidden"), 0u);
}

TEST_F(PosixPlatformTest, TemplateIgnoresCaseAndBackslashSeparates)
{
    PlatformError error;
    const auto found = ListAll(platform, temp.Path() + "\\*.txt", ListMask::FilesOnly, error);
    EXPECT_FALSE(error);
    EXPECT_EQ(found.size(), 2u);
    EXPECT_EQ(found.count("a.txt") + found.count("B.TXT"), 2u);
}

TEST_F(PosixPlatformTest, ListedIdentityIsTheOpenFilesIdentity)
{
    PlatformError error;
    auto listing = platform.StartListing(temp / "a*", ListMask::FilesOnly, error);
    std::map<std::string, FileIdentity> identities;
    ListedEntry entry;
    while (listing->Next(entry))
        identities[entry.name] = entry.identity;
    const FileHandle handle = platform.Open(temp / "a.txt", OpenAccess::Read, error);
    ASSERT_NE(handle, kNoFileHandle);
    FileIdentity opened;
    ASSERT_TRUE(platform.IdentityOf(handle, opened));
    platform.Close(handle, error);
    EXPECT_EQ(identities.at("a.txt"), opened);
    EXPECT_EQ(identities.at("aLink"), opened);
}

TEST_F(PosixPlatformTest, NamesThatCannotNameAFileFailWith52)
{
    const std::string longName(300, 'n');
    const std::string patterns[] = {
        temp / longName + "/*.*",
        temp / longName,
        temp / std::string("a\0b", 3) + "/*.*",
        "/" + std::string(5000, 'x') + "/*.*",
    };
    for (const std::string& pattern : patterns) {
        PlatformError error;
        const auto found = ListAll(platform, pattern, ListMask::FilesAndFolders, error);
        EXPECT_EQ(error.number, 52) << pattern.size();
        EXPECT_EQ(error.description, "Bad file name or number");
        EXPECT_TRUE(found.empty());
    }
}

TEST_F(PosixPlatformTest, UnlistableFoldersGiveEmptyListingsWithoutError)
{
    for (const std::string& folder : { temp / "missing", temp / "a.txt", temp / "pipe" }) {
        PlatformError error;
        EXPECT_TRUE(ListAll(platform, folder + "/*.*", ListMask::FilesAndFolders, error).empty());
        EXPECT_FALSE(error) << folder;
    }
}

TEST(PosixPseudoFileSystemTest, ProcAndSysListEmpty)
{
    PosixPlatform platform;
    for (const char* folder : { "/proc", "/sys", "/proc/self" }) {
        struct statfs info { };
        if (statfs(folder, &info) != 0)
            continue;
        PlatformError error;
        EXPECT_TRUE(
            ListAll(platform, std::string(folder) + "/*.*", ListMask::FilesAndFolders, error)
                .empty())
            << folder;
        EXPECT_FALSE(error);
    }
}

TEST_F(PosixPlatformTest, ExamineTellsEachKind)
{
    const std::map<std::string, EntryKind> expected {
        { temp / "a.txt", EntryKind::File },
        { temp / "aLink", EntryKind::File },
        { temp / "sub", EntryKind::Folder },
        { temp / "subLink", EntryKind::FolderLink },
        { temp / "broken", EntryKind::Missing },
        { temp / "missing", EntryKind::Missing },
        { temp / "pipe", EntryKind::Other },
        { "", EntryKind::Missing },
    };
    for (const auto& [path, kind] : expected)
        EXPECT_EQ(platform.Examine(path), kind) << path;
    EXPECT_TRUE(platform.FolderExists(temp / "subLink"));
    EXPECT_FALSE(platform.FileExists(temp / "pipe"));
}

TEST_F(PosixPlatformTest, OpenFailuresNameTheirCause)
{
    struct Case {
        std::string path;
        OpenAccess access;
        int number;
    };
    const Case cases[] = {
        { temp / "missing.txt", OpenAccess::Read, 53 },
        { temp / "broken", OpenAccess::Read, 53 },
        { temp / "nofolder/x.txt", OpenAccess::Read, 76 },
        { temp / "nofolder/x.txt", OpenAccess::WriteTruncate, 76 },
        { temp / "a.txt/x.txt", OpenAccess::Read, 76 },
        { temp / "sub", OpenAccess::Read, 75 },
        { temp / "sub", OpenAccess::Write, 75 },
        { temp / "pipe", OpenAccess::Read, 75 }, // and does not wait for a writer
        { temp / "pipe", OpenAccess::WriteTruncate, 75 }, // nor for a reader
        { temp / std::string(300, 'n'), OpenAccess::Read, 52 },
        { temp / std::string("a\0b", 3), OpenAccess::WriteTruncate, 52 },
    };
    for (const Case& c : cases) {
        PlatformError error;
        EXPECT_EQ(platform.Open(c.path, c.access, error), kNoFileHandle) << c.path;
        EXPECT_EQ(error.number, c.number) << c.path;
        EXPECT_EQ(error.description, ErrorWithNumber(c.number).description);
    }
}

TEST_F(PosixPlatformTest, WriteModesCreateAndEmptyAsTheirNamesSay)
{
    struct Case {
        OpenAccess access;
        std::string afterWritingX;
    };
    const Case cases[] = {
        { OpenAccess::WriteTruncate, "X" },
        { OpenAccess::Write, "Xld" },
        { OpenAccess::ReadWrite, "Xld" },
    };
    for (const Case& c : cases) {
        for (bool exists : { true, false }) {
            fs::remove(temp / "w.txt");
            if (exists)
                temp.Write("w.txt", "old");
            PlatformError error;
            const FileHandle handle = platform.Open(temp / "w.txt", c.access, error);
            ASSERT_NE(handle, kNoFileHandle);
            EXPECT_TRUE(platform.Write(handle, "X", 1, error));
            EXPECT_TRUE(platform.Close(handle, error));
            EXPECT_EQ(temp.Read("w.txt"), exists ? c.afterWritingX : "X");
        }
    }
}

TEST_F(PosixPlatformTest, ReadOnlyMarkStopsWritingAndDeletingForEveryone)
{
    bool readOnly = true;
    ASSERT_TRUE(platform.GetReadOnly(temp / "a.txt", readOnly));
    EXPECT_FALSE(readOnly);
    ASSERT_TRUE(platform.SetReadOnly(temp / "a.txt", true));
    ASSERT_TRUE(platform.GetReadOnly(temp / "a.txt", readOnly));
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(fs::status(temp / "a.txt").permissions() & fs::perms::owner_write, fs::perms::none);

    PlatformError error;
    EXPECT_EQ(platform.Open(temp / "a.txt", OpenAccess::WriteTruncate, error), kNoFileHandle);
    EXPECT_EQ(error.number, 70);
    EXPECT_EQ(temp.Read("a.txt"), "alpha");
    EXPECT_FALSE(platform.Remove(temp / "a.txt", error));
    EXPECT_EQ(error.number, 70);
    EXPECT_TRUE(fs::exists(temp / "a.txt"));

    const FileHandle reader = platform.Open(temp / "a.txt", OpenAccess::Read, error);
    EXPECT_NE(reader, kNoFileHandle);
    platform.Close(reader, error);

    ASSERT_TRUE(platform.SetReadOnly(temp / "a.txt", false));
    EXPECT_TRUE(platform.Remove(temp / "a.txt", error));
    EXPECT_FALSE(fs::exists(temp / "a.txt"));
    EXPECT_FALSE(platform.GetReadOnly(temp / "a.txt", readOnly));
    EXPECT_FALSE(platform.SetReadOnly(temp / "a.txt", true));
}

TEST_F(PosixPlatformTest, RemoveTakesTheLinkNotItsTarget)
{
    PlatformError error;
    ASSERT_TRUE(platform.SetReadOnly(temp / "a.txt", true));
    EXPECT_TRUE(platform.Remove(temp / "aLink", error));
    EXPECT_TRUE(fs::exists(temp / "a.txt"));
    EXPECT_FALSE(platform.Remove(temp / "missing", error));
    EXPECT_EQ(error.number, 53);
    EXPECT_FALSE(platform.Remove(temp / "sub", error));
    EXPECT_EQ(error.number, 75);
}

TEST_F(PosixPlatformTest, ReadsSeeksAndLengths)
{
    PlatformError error;
    const FileHandle handle = platform.Open(temp / "a.txt", OpenAccess::Read, error);
    ASSERT_NE(handle, kNoFileHandle);
    EXPECT_EQ(platform.FileLength(handle), 5);
    ASSERT_TRUE(platform.Seek(handle, 2, error));
    char buffer[8] = {};
    EXPECT_EQ(platform.Read(handle, buffer, sizeof buffer), 3);
    EXPECT_EQ(std::string(buffer, 3), "pha");
    EXPECT_EQ(platform.Read(handle, buffer, sizeof buffer), 0);
    EXPECT_TRUE(platform.Close(handle, error));
    EXPECT_EQ(platform.FileLength(temp / "B.TXT"), 4);
    EXPECT_EQ(platform.FileLength(temp / "aLink"), 5);
    EXPECT_EQ(platform.FileLength(temp / "missing"), -1);
    EXPECT_EQ(platform.FileLength(temp / "sub"), -1);
}

TEST(PosixErrorMappingTest, ErrnoValuesMapToStableNumbers)
{
    const std::pair<int, int> cases[] = {
        { ENOENT, 53 },
        { ENOTDIR, 76 },
        { EACCES, 70 },
        { EPERM, 70 },
        { ETXTBSY, 70 },
        { EBUSY, 70 },
        { EISDIR, 75 },
        { EROFS, 75 },
        { ELOOP, 75 },
        { EMFILE, 67 },
        { ENFILE, 67 },
        { ENAMETOOLONG, 52 },
        { ENOSPC, 61 },
        { EDQUOT, 61 },
        { EIO, 57 },
    };
    for (const auto& [errnoValue, number] : cases)
        EXPECT_EQ(ErrorFromErrno(errnoValue, "/tmp/x").number, number) << errnoValue;
    EXPECT_EQ(ErrorFromErrno(ENOENT, "/no-such-folder-here/x").number, 76);
    EXPECT_EQ(ErrorFromErrno(ENOSPC, {}).description, "Disk full");
}

TEST(PosixClockTest, MonotonicNeverGoesBackAndNowIsPlausible)
{
    PosixPlatform platform;
    const double first = platform.MonotonicSeconds();
    EXPECT_LE(first, platform.MonotonicSeconds());
    const LocalDateTime now = platform.Now();
    EXPECT_GE(now.year, 2024);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_FALSE(platform.InputPending());
}

} // namespace
} // namespace trawlit
