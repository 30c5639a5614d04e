#include "platform/PosixPlatform.h"

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/text/Wildcard.h"
#include "fakes/TempFolder.h"

namespace trawlit {
namespace {

using fakes::TempFolder;
namespace fs = std::filesystem;

std::map<std::string, EntryKind> ListAll(
    FileSystem& platform, const std::string& pattern, ListMask mask, PlatformError& error)
{
    std::map<std::string, EntryKind> found;
    auto listing = platform.StartListing(pattern, mask, error);
    for (ListedEntry entry; listing->Next(entry);)
        found[entry.name] = entry.kind;
    return found;
}

TEST(WildcardTest, MatchesTemplatesLikeTheListing)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        { "*.*", "README", true },
        { "*", "a.b", true },
        { "*.TXT", "notes.txt", true },
        { "*.txt", "notes.txt.bak", false },
        { "*.c", "main.cpp", false },
        { "a?c", "abc", true },
        { "a?c", "ac", false },
        { "?", "", false },
        { "*a*b", "xaab", true },
        { "*a*b", "xaba", false },
        { "**x", "x", true },
        { "", "a", false },
        { "*.c;*.h", "a.H", true },
        { "*.c; *.h ", "a.h", true },
        { "*.c;*.h", "a.cpp", false },
        { ";;", "a", false },
        { "x;*.*", "README", true },
        { "*.[ch]", "a.C", true },
        { "*.[ch]", "a.o", false },
        { "f[0-9]", "f7", true },
        { "f[0-9]", "fx", false },
        { "[a-c]*", "Beta", true },
        { "[!a-c]*", "beta", false },
        { "[^a-c]*", "delta", true },
        { "[]x]", "]", true },
        { "a[b", "a[b", true },
        { "*[ch]", "xxc", true },
    };
    for (const auto& [wildcard, name, matches] : cases)
        EXPECT_EQ(WildcardMatches(wildcard, name), matches) << wildcard << " / " << name;
}

class PosixPlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        temp.Write("a.txt", "alpha");
        temp.Write("B.TXT", "beta");
        temp.Write(".hidden");
        fs::create_directory(temp / "sub");
        fs::create_symlink(temp / "sub", temp / "subLink");
        fs::create_symlink(temp / "a.txt", temp / "aLink");
        fs::create_symlink(temp / "gone", temp / "broken");
        ASSERT_EQ(mkfifo((temp / "pipe").c_str(), 0600), 0);
    }

    TempFolder temp;
    PosixPlatform platform;
};

TEST_F(PosixPlatformTest, ListingsGiveKindsAndHideDotNames)
{
    PlatformError error;
    const std::map<std::string, EntryKind> files {
        { "a.txt", EntryKind::File },
        { "B.TXT", EntryKind::File },
        { "aLink", EntryKind::File },
        { "broken", EntryKind::Missing },
        { "pipe", EntryKind::Other },
    };
    EXPECT_EQ(ListAll(platform, temp / "*.*", ListMask::FilesOnly, error), files);
    auto all = files;
    all.insert({ { ".", EntryKind::Folder }, { "..", EntryKind::Folder },
        { "sub", EntryKind::Folder }, { "subLink", EntryKind::FolderLink } });
    EXPECT_EQ(ListAll(platform, temp / "*", ListMask::FilesAndFolders, error), all);
    // Backslash separates too; the template ignores case.
    const auto texts = ListAll(platform, temp.Path() + "\\*.txt", ListMask::FilesOnly, error);
    EXPECT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts.count("B.TXT"), 1u);
    EXPECT_FALSE(error);
}

TEST_F(PosixPlatformTest, ListedIdentityIsTheOpenFilesIdentity)
{
    PlatformError error;
    auto listing = platform.StartListing(temp / "a*", ListMask::FilesOnly, error);
    std::map<std::string, FileIdentity> identities;
    for (ListedEntry entry; listing->Next(entry);)
        identities[entry.name] = entry.identity;
    const FileHandle handle = platform.Open(temp / "a.txt", OpenAccess::Read, error);
    FileIdentity opened;
    ASSERT_TRUE(platform.IdentityOf(handle, opened));
    platform.Close(handle, error);
    EXPECT_EQ(identities.at("a.txt"), opened);
    EXPECT_EQ(identities.at("aLink"), opened);
}

// A listed file opens by its name in the listed folder, even after the folder was renamed,
// and reads to its end. Were a listed file swapped for a FIFO, nothing would wait.
TEST_F(PosixPlatformTest, ListedFilesOpenInTheirListedFolder)
{
    PlatformError error;
    auto listing = platform.StartListing(temp / "*.*", ListMask::FilesOnly, error);
    fs::rename(temp.Path(), temp.Path() + ".moved");
    const FileHandle handle = platform.OpenListedFile(*listing, "a.txt", temp / "a.txt", error);
    ASSERT_NE(handle, kNoFileHandle) << error.description;
    char buffer[16];
    EXPECT_EQ(platform.Read(handle, buffer, sizeof buffer), 5);
    EXPECT_EQ(platform.Read(handle, buffer, sizeof buffer), 0);
    platform.Close(handle, error);
    const FileHandle pipe = platform.OpenListedFile(*listing, "pipe", temp / "pipe", error);
    if (pipe != kNoFileHandle) {
        EXPECT_LE(platform.Read(pipe, buffer, sizeof buffer), 0);
        platform.Close(pipe, error);
    }
    EXPECT_EQ(platform.OpenListedFile(*listing, "gone", temp / "gone", error), kNoFileHandle);
    EXPECT_EQ(error.number, 76); // the path's folder is gone: named as the path says
    fs::rename(temp.Path() + ".moved", temp.Path());
}

// A hint never waits (not even on a FIFO), never fails, and keeps no handle.
TEST_F(PosixPlatformTest, ReadHintsAreGivenForListedFilesOnlyAndKeepNoHandle)
{
    PlatformError error;
    auto listing = platform.StartListing(temp / "*.*", ListMask::FilesOnly, error);
    const ListedFolder listed = ListedFolderOf(*listing);
    ASSERT_GE(listed.fd, 0);
    const bool local = listed.shortReadEnds && !listed.inMemory;
    const int nextHandle = platform.Open("/dev/null", OpenAccess::Read, error);
    platform.Close(nextHandle, error);
    const std::pair<const char*, bool> cases[]
        = { { "a.txt", local }, { "pipe", false }, { "gone", false }, { "../a.txt", false } };
    for (const auto& [name, given] : cases) {
        EXPECT_EQ(platform.HintRead(*listing, name, 1 << 20) != ReadHint::NotGiven, given) << name;
    }
    const int handle = platform.Open("/dev/null", OpenAccess::Read, error);
    platform.Close(handle, error);
    EXPECT_EQ(handle, nextHandle);
}

// Reading from memory alone reads as Read and ReadAt do, a short read being no end, where the
// file system can tell what it holds, or holds it all (tmpfs); it never waits, not on a file
// dropped from memory nor on a FIFO. A file system that cannot tell always says it would wait.
TEST_F(PosixPlatformTest, ReadsFromMemoryAloneNeverWait)
{
    struct statfs shm { };
    const bool shmIsMemory = statfs("/dev/shm", &shm) == 0 && shm.f_type == 0x01021994;
    TempFolder inMemory(shmIsMemory ? "/dev/shm" : nullptr);
    const std::string block(1 << 16, 'x');
    char buffer[1 << 17];
    PlatformError error;
    for (const TempFolder* folder : { &temp, &inMemory }) {
        SCOPED_TRACE(folder->Path());
        folder->Write("big.txt", "alpha" + block);
        auto listing = platform.StartListing(*folder / "*.*", ListMask::FilesOnly, error);
        const FileHandle file
            = platform.OpenListedFile(*listing, "big.txt", *folder / "big.txt", error);
        ASSERT_NE(file, kNoFileHandle);
        if (platform.ReadFromMemory(file, kAtReadingPosition, buffer, 3) != kReadWouldWait) {
            EXPECT_EQ(platform.ReadFromMemory(file, 1, buffer, 2), 2); // in place
            EXPECT_EQ(std::string(buffer, 2), "lp");
            EXPECT_EQ(platform.ReadFromMemory(file, kAtReadingPosition, buffer, 2), 2);
            EXPECT_EQ(std::string(buffer, 2), "ha");
            EXPECT_EQ(platform.ReadFromMemory(file, kAtReadingPosition, buffer, sizeof buffer),
                static_cast<std::ptrdiff_t>(block.size()));
            EXPECT_EQ(platform.ReadFromMemory(file, kAtReadingPosition, buffer, 10), 0);
        }
        ASSERT_EQ(fdatasync(file), 0);
        ASSERT_EQ(posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED), 0);
        const std::ptrdiff_t dropped = platform.ReadFromMemory(file, 4096, buffer, 10);
        EXPECT_EQ(dropped, ListedFolderOf(*listing).inMemory ? 10 : kReadWouldWait);
        platform.Close(file, error);
    }
    const FileHandle pipe = platform.Open(temp / "pipe", OpenAccess::Read, error);
    if (pipe != kNoFileHandle) {
        EXPECT_LE(platform.ReadFromMemory(pipe, kAtReadingPosition, buffer, 10), 0);
        platform.Close(pipe, error);
    }
}

TEST_F(PosixPlatformTest, BadNamesFailWith52AndUnlistableFoldersListEmpty)
{
    const std::string badPatterns[] = {
        temp / std::string(300, 'n') + "/*.*",
        temp / std::string(300, 'n'),
        temp / std::string("a\0b", 3) + "/*.*",
        "/" + std::string(5000, 'x') + "/*.*",
    };
    for (const std::string& pattern : badPatterns) {
        PlatformError error;
        EXPECT_TRUE(ListAll(platform, pattern, ListMask::FilesAndFolders, error).empty());
        EXPECT_EQ(error.number, 52) << pattern.size();
        EXPECT_EQ(error.description, "Bad file name or number");
    }
    for (const std::string& folder : { temp / "missing", temp / "a.txt", temp / "pipe" }) {
        PlatformError error;
        EXPECT_TRUE(ListAll(platform, folder + "/*.*", ListMask::FilesAndFolders, error).empty());
        EXPECT_FALSE(error) << folder;
    }
}

// A pseudo file system's folder exists, like an empty folder: only "." and "..".
TEST(PosixPseudoFileSystemTest, ProcAndSysListAsEmptyFolders)
{
    PosixPlatform platform;
    const std::map<std::string, EntryKind> dots { { ".", EntryKind::Folder },
        { "..", EntryKind::Folder } };
    for (const std::string folder : { "/proc", "/sys", "/proc/self" }) {
        struct statfs info { };
        if (statfs(folder.c_str(), &info) != 0)
            continue;
        PlatformError error;
        EXPECT_EQ(ListAll(platform, folder + "/*.*", ListMask::FilesAndFolders, error), dots)
            << folder;
        EXPECT_TRUE(ListAll(platform, folder + "/*.*", ListMask::FilesOnly, error).empty());
    }
}

TEST_F(PosixPlatformTest, ExamineAndLengthTellEachKind)
{
    const std::tuple<std::string, EntryKind, std::int64_t> cases[] = {
        { temp / "a.txt", EntryKind::File, 5 },
        { temp / "aLink", EntryKind::File, 5 },
        { temp / "sub", EntryKind::Folder, -1 },
        { temp / "subLink", EntryKind::FolderLink, -1 },
        { temp / "broken", EntryKind::Missing, -1 },
        { temp / "pipe", EntryKind::Other, -1 },
        { "", EntryKind::Missing, -1 },
    };
    for (const auto& [path, kind, length] : cases) {
        EXPECT_EQ(platform.Examine(path), kind) << path;
        EXPECT_EQ(platform.FileLength(path), length) << path;
    }
}

TEST_F(PosixPlatformTest, OpenFailuresNameTheirCauseAndNeverWait)
{
    fs::create_symlink(temp / "loop", temp / "loop");
    const std::string accessError = "Path/File access error";
    const std::string folder = accessError + ": it is a folder, not a file";
    const std::tuple<std::string, OpenAccess, int, std::string> cases[] = {
        { temp / "missing.txt", OpenAccess::Read, 53, "File not found" },
        { temp / "broken", OpenAccess::Read, 53, "File not found" },
        { temp / "nofolder/x.txt", OpenAccess::WriteTruncate, 76, "Path not found" },
        { temp / "a.txt/x.txt", OpenAccess::Read, 76, "Path not found" },
        { temp / "sub", OpenAccess::Read, 75, folder },
        { temp / "sub", OpenAccess::WriteTruncate, 75, folder },
        { temp / "loop", OpenAccess::WriteTruncate, 75,
            accessError + ": its links lead round in a loop" },
        // No writer: must not wait for one. No reader either.
        { temp / "pipe", OpenAccess::Read, 75,
            accessError + ": it is a device, FIFO or socket, not a file" },
        { temp / "pipe", OpenAccess::WriteTruncate, 75,
            accessError + ": a FIFO or device with nothing at its other end" },
        { temp / std::string(300, 'n'), OpenAccess::Read, 52, "Bad file name or number" },
        { temp / std::string("a\0b", 3), OpenAccess::WriteTruncate, 52, "Bad file name or number" },
        { "", OpenAccess::WriteTruncate, 52, "Bad file name or number: no file name was given" },
    };
    for (const auto& [path, access, number, description] : cases) {
        PlatformError error;
        EXPECT_EQ(platform.Open(path, access, error), kNoFileHandle) << path;
        EXPECT_EQ(error.number, number) << path;
        EXPECT_EQ(error.description, description) << path;
    }
}

// Between the listing and the open a name can become anything: what is read is a regular
// file, or ends at once.
TEST_F(PosixPlatformTest, AListedFileSwappedForSomethingElseIsNotRead)
{
    temp.Write("zero.txt", "z");
    temp.Write("dir.txt", "d");
    PlatformError error;
    auto listing = platform.StartListing(temp / "*.txt", ListMask::FilesOnly, error);
    fs::remove(temp / "zero.txt");
    fs::create_symlink("/dev/zero", temp / "zero.txt");
    EXPECT_EQ(
        platform.OpenListedFile(*listing, "zero.txt", temp / "zero.txt", error), kNoFileHandle);
    EXPECT_EQ(error.number, 75);
    fs::remove(temp / "dir.txt");
    fs::create_directory(temp / "dir.txt");
    const FileHandle folder = platform.OpenListedFile(*listing, "dir.txt", temp / "dir.txt", error);
    if (folder != kNoFileHandle) {
        char buffer[16];
        EXPECT_LE(platform.Read(folder, buffer, sizeof buffer), 0);
        platform.Close(folder, error);
    }
}

TEST_F(PosixPlatformTest, WriteModesCreateAndEmptyAsTheirNamesSay)
{
    const std::pair<OpenAccess, std::string> cases[] = {
        { OpenAccess::WriteTruncate, "X" },
        { OpenAccess::Write, "Xld" },
        { OpenAccess::ReadWrite, "Xld" },
    };
    for (const auto& [access, afterWritingX] : cases) {
        for (bool exists : { true, false }) {
            fs::remove(temp / "w.txt");
            if (exists)
                temp.Write("w.txt", "old");
            PlatformError error;
            const FileHandle handle = platform.Open(temp / "w.txt", access, error);
            ASSERT_NE(handle, kNoFileHandle);
            EXPECT_TRUE(platform.Write(handle, "X", 1, error));
            EXPECT_TRUE(platform.Close(handle, error));
            EXPECT_EQ(temp.Read("w.txt"), exists ? afterWritingX : "X");
        }
    }
}

// Tests may run as root, whom permissions never stop: the mark itself must.
TEST_F(PosixPlatformTest, ReadOnlyMarkStopsWritingAndDeletingForEveryone)
{
    bool readOnly = true;
    ASSERT_TRUE(platform.GetReadOnly(temp / "a.txt", readOnly));
    EXPECT_FALSE(readOnly);
    ASSERT_TRUE(platform.SetReadOnly(temp / "a.txt", true));
    EXPECT_EQ(fs::status(temp / "a.txt").permissions() & fs::perms::owner_write, fs::perms::none);

    PlatformError error;
    EXPECT_EQ(platform.Open(temp / "a.txt", OpenAccess::WriteTruncate, error), kNoFileHandle);
    EXPECT_EQ(error.number, 70);
    EXPECT_EQ(temp.Read("a.txt"), "alpha");
    EXPECT_FALSE(platform.Remove(temp / "a.txt", error));
    EXPECT_EQ(error.number, 70);
    // A link to it is not read-only itself.
    EXPECT_TRUE(platform.Remove(temp / "aLink", error));

    ASSERT_TRUE(platform.SetReadOnly(temp / "a.txt", false));
    EXPECT_TRUE(platform.Remove(temp / "a.txt", error));
    EXPECT_FALSE(fs::exists(temp / "a.txt"));
    EXPECT_FALSE(platform.Remove(temp / "a.txt", error));
    EXPECT_EQ(error.number, 53);
    EXPECT_FALSE(platform.GetReadOnly(temp / "a.txt", readOnly));
}

} // namespace
} // namespace trawlit
