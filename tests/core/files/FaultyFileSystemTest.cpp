#include "fakes/FaultyFileSystem.h"

#include <gtest/gtest.h>

#include "fakes/FakeFileSystem.h"

namespace trawlit {
namespace {

// What the migrated tests do not reach already: reads cut short, names matched by path or by
// bare name, and refused renames and listings leaving everything in place.
class FaultyFileSystemTest : public ::testing::Test {
protected:
    FaultyFileSystemTest()
    {
        inner.AddFile("/d/a.txt", "0123456789");
        inner.AddFile("/e/a.txt", "abc");
        inner.AddFile("/e/b.txt", "xyz");
    }
    FileHandle OpenToRead(const std::string& path)
    {
        PlatformError error;
        const FileHandle handle = faulty.Open(path, OpenAccess::Read, error);
        EXPECT_FALSE(error) << path;
        return handle;
    }

    fakes::FakeFileSystem inner;
    fakes::FaultyFileSystem faulty { inner };
};

TEST_F(FaultyFileSystemTest, ReadsDeliverTheirBytesThenFail)
{
    faulty.FailReadsAfter("/d/a.txt", 6);
    char buffer[16] = {};
    const FileHandle handle = OpenToRead("/d/a.txt");
    EXPECT_EQ(faulty.ReadAt(handle, 4, buffer, 8), 2);
    EXPECT_EQ(faulty.ReadAt(handle, 6, buffer, 8), -1);
    EXPECT_EQ(faulty.Read(handle, buffer, 4), 4);
    EXPECT_EQ(faulty.Read(handle, buffer, 4), 2);
    EXPECT_EQ(faulty.Read(handle, buffer, 4), -1);
    EXPECT_EQ(faulty.Read(OpenToRead("/e/a.txt"), buffer, 8), 3); // another file of that name
    EXPECT_EQ(faulty.reads, 6);
}

TEST_F(FaultyFileSystemTest, ABareNameFailsEveryFileOfThatName)
{
    faulty.FailOpen("a.txt", { 70, "Permission denied" });
    for (const char* path : { "/d/a.txt", "/e/a.txt" }) {
        PlatformError error;
        EXPECT_EQ(faulty.Open(path, OpenAccess::Read, error), kNoFileHandle) << path;
        EXPECT_EQ(error.number, 70) << path;
    }
    OpenToRead("/e/b.txt");
    EXPECT_EQ(inner.OpenHandleCount(), 1);
}

TEST_F(FaultyFileSystemTest, RefusedRenamesAndListingsChangeNothing)
{
    faulty.FailRenameTo("/e/b.txt", { 75, "Path/File access error" });
    faulty.FailListing("e", { 70, "Permission denied" });
    PlatformError error;
    EXPECT_FALSE(faulty.Rename("/e/a.txt", "/e/b.txt", error));
    EXPECT_EQ(error.number, 75);
    EXPECT_EQ(inner.Contents("/e/b.txt"), "xyz");
    EXPECT_TRUE(inner.Exists("/e/a.txt"));
    EXPECT_EQ(faulty.StartListing("/e/*.*", ListMask::FilesOnly, error), nullptr);
    EXPECT_EQ(error.number, 70);
    EXPECT_NE(faulty.StartListing("/d/*.*", ListMask::FilesOnly, error), nullptr);
}

} // namespace
} // namespace trawlit
