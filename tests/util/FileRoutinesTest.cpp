#include "util/FileRoutines.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "fakes/RecordingDialogs.h"
#include "util/ErrorNumbers.h"
#include "util/TempFolder.h"
#include "util/platform/PosixPlatform.h"

namespace trawlit {
namespace {

using testing::RecordingDialogs;
using testing::TempFolder;
namespace fs = std::filesystem;

const std::string kTwoBreaks = "\r\n\r\n";

// The real platform with failures the tests cannot cause for real (they run as root).
class FailingPlatform : public PosixPlatform {
public:
    bool failRemove = false;
    bool failClose = false;

    bool Remove(const std::string& path, PlatformError& error) override
    {
        if (!failRemove)
            return PosixPlatform::Remove(path, error);
        error = ErrorWithNumber(ErrorNumber::PermissionDenied);
        return false;
    }
    bool Close(FileHandle handle, PlatformError& error) override
    {
        const bool closed = PosixPlatform::Close(handle, error);
        if (failClose) {
            error = ErrorWithNumber(ErrorNumber::DiskFull);
            return false;
        }
        return closed;
    }
};

class FileRoutinesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(temp.Path().empty()); }

    bool ReadOnly(const std::string& path)
    {
        bool readOnly = false;
        EXPECT_TRUE(platform.GetReadOnly(path, readOnly));
        return readOnly;
    }
    // Opens, and on success writes "X" (when writing is allowed) and closes.
    bool OpenAndTouch(const std::string& path, std::int16_t openType, std::int32_t recordLength)
    {
        std::int16_t number = 0;
        bool failed = false;
        files.OpenFile(path, number, openType, recordLength, failed);
        if (failed)
            return false;
        PlatformError error;
        const int baseCode = openType & ~(512 | 1024);
        if (baseCode != 5 && baseCode != 16 && baseCode != 20 && baseCode != 36) {
            EXPECT_TRUE(files.WriteBytes(number, "X", error)) << openType;
        }
        EXPECT_TRUE(files.Close(number, error));
        return true;
    }

    TempFolder temp;
    FailingPlatform platform;
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
};

TEST_F(FileRoutinesTest, EachBaseCodeOpensInItsMode)
{
    struct Case {
        std::int16_t openType;
        std::int32_t recordLength;
        const char* existingAfter; // nullptr: the open must fail
        const char* missingAfter;
    };
    const Case cases[] = {
        { 1, 10, "Xld", "X" },
        { 3, 10, "Xld", "X" },
        { 5, 10, "old", nullptr },
        { 8, -1, "X", "X" },
        { 16, -1, "old", nullptr },
        { 20, -1, "old", nullptr },
        { 32, -1, "Xld", "X" },
        { 34, -1, "Xld", "X" },
        { 36, -1, "old", nullptr },
        { 36, 8192, "old", nullptr },
        { 36 + 1024, -1, nullptr, nullptr },
        { 34 + 1024, -1, "X", "X" },
    };
    for (const Case& c : cases) {
        for (bool exists : { true, false }) {
            fs::remove(temp / "f.dat");
            if (exists)
                temp.Write("f.dat", "old");
            const char* expected = exists ? c.existingAfter : c.missingAfter;
            dialogs.messages.clear();
            EXPECT_EQ(OpenAndTouch(temp / "f.dat", c.openType, c.recordLength), expected != nullptr)
                << c.openType << (exists ? " existing" : " missing");
            if (expected != nullptr) {
                EXPECT_EQ(temp.Read("f.dat"), expected) << c.openType;
                EXPECT_TRUE(dialogs.messages.empty());
            } else {
                EXPECT_EQ(dialogs.messages.size(), 1u);
            }
        }
    }
}

TEST_F(FileRoutinesTest, MissingFileAndMissingFolderAreReported)
{
    struct Case {
        std::string path;
        std::string number;
        std::string description;
    };
    const Case cases[] = {
        { temp / "missing.txt", "53", "File not found" },
        { temp / "nowhere/missing.txt", "76", "Path not found" },
    };
    for (const Case& c : cases) {
        dialogs.messages.clear();
        std::int16_t number = 0;
        bool failed = false;
        files.OpenFile(c.path, number, 16, -1, failed);
        EXPECT_TRUE(failed);
        EXPECT_FALSE(files.IsOpen(number));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text,
            "Run-time error '" + c.number + "':" + kTwoBreaks + c.description + kTwoBreaks
                + "File = " + c.path);
        EXPECT_EQ(dialogs.messages[0].code, 16);
        EXPECT_EQ(dialogs.messages[0].title, "File Open Error");
    }
}

TEST_F(FileRoutinesTest, ReportsNameTheShownPath)
{
    const std::string shown = "/SHOWN/PATH.TXT";
    std::int16_t number = 0;
    bool failed = false;
    files.OpenFile(temp / "missing.txt", number, 16, -1, failed, &shown);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.ends_with("File = " + shown));
}

TEST_F(FileRoutinesTest, InvalidOpenTypesAreRefusedAfterTheirPreparations)
{
    const std::string path = temp / "f.dat";
    for (std::int16_t openType :
        { std::int16_t { 0 }, std::int16_t { 37 }, std::int16_t { 2 }, std::int16_t { -1 } }) {
        temp.Write("f.dat", "old");
        dialogs.messages.clear();
        std::int16_t number = 0;
        bool failed = false;
        files.OpenFile(path, number, openType, -1, failed);
        EXPECT_EQ(fs::exists(path), (openType & 1024) == 0) << openType;
        EXPECT_TRUE(failed);
        EXPECT_FALSE(files.IsOpen(number));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text,
            "OpenFile -- Invalid OpenType = " + std::to_string(openType) + kTwoBreaks + path);
        EXPECT_EQ(dialogs.messages[0].code, 16);
        EXPECT_EQ(dialogs.messages[0].title, "File Open Error");
    }

    // 1026: invalid base code 2, but the file is deleted first all the same.
    temp.Write("f.dat", "old");
    dialogs.messages.clear();
    std::int16_t number = 0;
    bool failed = false;
    files.OpenFile(path, number, 1026, -1, failed);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(fs::exists(path));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "OpenFile -- Invalid OpenType = 1026" + kTwoBreaks + path);
}

TEST_F(FileRoutinesTest, RecordLengthsOutside16BitsAreBadRecordLengths)
{
    const std::string path = temp / "r.dat";
    struct Case {
        std::int16_t openType;
        std::int32_t recordLength;
        bool opens;
    };
    const Case cases[] = {
        { 1, 40000, false }, { 1, 32767, true }, { 1, 0, false }, { 3, 32768, false },
        { 36, 40000, false }, { 36, -5, true },
        { 32, 40000, true }, // binary read-write passes no record length
    };
    temp.Write("r.dat", "x");
    for (const Case& c : cases) {
        dialogs.messages.clear();
        EXPECT_EQ(OpenAndTouch(path, c.openType, c.recordLength), c.opens) << c.recordLength;
        if (!c.opens) {
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].text,
                "Run-time error '59':" + kTwoBreaks + "Bad record length" + kTwoBreaks
                    + "File = " + path);
        }
    }
}

TEST_F(FileRoutinesTest, ReadOnlyFilesAreClearedOrReplacedAsTheCodeAsks)
{
    // 1570 = binary write + clear read-only + delete first: an empty writable file.
    const std::string copy = temp.Write("copy.txt2", "old contents");
    ASSERT_TRUE(platform.SetReadOnly(copy, true));
    std::int16_t number = 0;
    bool failed = true;
    files.OpenFile(copy, number, 1570, -1, failed);
    ASSERT_FALSE(failed);
    EXPECT_EQ(files.LengthOf(number), 0);
    EXPECT_FALSE(ReadOnly(copy));
    PlatformError error;
    files.Close(number, error);

    // 1032 = sequential output + delete first, on a read-only results file.
    const std::string results = temp.Write("Trawlit.out", "old results");
    ASSERT_TRUE(platform.SetReadOnly(results, true));
    EXPECT_TRUE(OpenAndTouch(results, 1032, -1));
    EXPECT_EQ(temp.Read("Trawlit.out"), "X");

    // Base codes 1 and 3, and bit 512, clear the mark; the others leave it.
    const std::pair<std::int16_t, bool> clearing[] = { { 1, true }, { 3, true }, { 5, false },
        { 16, false }, { 36, false }, { 512 + 16, true }, { 512 + 36, true } };
    for (const auto& [openType, clears] : clearing) {
        const std::string path = temp.Write("ro.dat", "old");
        ASSERT_TRUE(platform.SetReadOnly(path, true));
        OpenAndTouch(path, openType, 16);
        EXPECT_EQ(ReadOnly(path), !clears) << openType;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FileRoutinesTest, WritingToAReadOnlyFileIsRefused)
{
    const std::string path = temp.Write("ro.txt", "keep");
    ASSERT_TRUE(platform.SetReadOnly(path, true));
    for (std::int16_t openType : { std::int16_t { 8 }, std::int16_t { 32 }, std::int16_t { 34 } }) {
        dialogs.messages.clear();
        EXPECT_FALSE(OpenAndTouch(path, openType, -1)) << openType;
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].text.starts_with("Run-time error '70':")) << openType;
    }
    EXPECT_EQ(temp.Read("ro.txt"), "keep");
}

TEST_F(FileRoutinesTest, FileNumbersAreTheLowestFreeUpTo255)
{
    const std::string path = temp.Write("f.txt", "x");
    std::int16_t number = 0;
    bool failed = false;
    for (int expected = 1; expected <= 255; ++expected) {
        files.OpenFile(path, number, 16, -1, failed);
        ASSERT_FALSE(failed);
        ASSERT_EQ(number, expected);
    }
    files.OpenFile(path, number, 16, -1, failed);
    EXPECT_TRUE(failed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Run-time error '67':" + kTwoBreaks + "Too many files" + kTwoBreaks + "File = " + path);

    PlatformError error;
    EXPECT_TRUE(files.Close(7, error));
    EXPECT_TRUE(files.Close(3, error));
    EXPECT_FALSE(files.Close(3, error));
    EXPECT_EQ(error.number, 52);
    files.OpenFile(path, number, 16, -1, failed);
    EXPECT_EQ(number, 3);
}

TEST_F(FileRoutinesTest, AFailedCloseIsReportedAndFreesTheNumber)
{
    const std::string path = temp / "out.txt";
    std::int16_t number = 0;
    bool failed = false;
    files.OpenFile(path, number, 8, -1, failed);
    ASSERT_FALSE(failed);
    platform.failClose = true;
    PlatformError error;
    EXPECT_FALSE(files.Close(number, error));
    EXPECT_EQ(error.number, 61);
    EXPECT_FALSE(files.IsOpen(number));
}

TEST_F(FileRoutinesTest, RecordsSitAtTheirPlaces)
{
    const std::string path = temp / "records.dat";
    std::int16_t number = 0;
    bool failed = false;
    files.OpenFile(path, number, 1, 4, failed);
    ASSERT_FALSE(failed);
    PlatformError error;
    EXPECT_TRUE(files.WriteRecord(number, 3, "cccc", error));
    EXPECT_TRUE(files.WriteRecord(number, 1, "aa", error));
    EXPECT_EQ(files.LengthOf(number), 12);

    std::string record;
    EXPECT_TRUE(files.ReadRecord(number, 3, record));
    EXPECT_EQ(record, "cccc");
    EXPECT_TRUE(files.ReadRecord(number, 1, record));
    EXPECT_EQ(record, std::string("aa\0\0", 4));
    EXPECT_FALSE(files.ReadRecord(number, 4, record));
    EXPECT_FALSE(files.ReadRecord(number, 0, record));

    EXPECT_FALSE(files.WriteRecord(number, 2, "toolong", error));
    EXPECT_EQ(error.number, 59);
    EXPECT_FALSE(files.WriteRecord(number, 0, "x", error));
    EXPECT_EQ(error.number, 63);
    files.Close(number, error);

    files.OpenFile(path, number, 32, -1, failed);
    EXPECT_FALSE(files.WriteRecord(number, 1, "x", error));
    EXPECT_EQ(error.number, 54);
    EXPECT_FALSE(files.ReadRecord(number, 1, record));
}

TEST_F(FileRoutinesTest, DeleteFileReportsOnlyWhatTheFlagsAsk)
{
    // Missing file, report asked: nothing to say.
    files.DeleteFile(temp / "missing.txt", DeleteFlags::ReportFailure);
    EXPECT_TRUE(dialogs.messages.empty());

    // Read-only file, silent: the file stays.
    const std::string path = temp.Write("ro.txt", "x");
    ASSERT_TRUE(platform.SetReadOnly(path, true));
    files.DeleteFile(path, 0);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(dialogs.messages.empty());

    // Read-only file, report asked.
    files.DeleteFile(path, DeleteFlags::ReportFailure);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File is read-only" + kTwoBreaks + path);
    EXPECT_EQ(dialogs.messages[0].code, 48);
    EXPECT_EQ(dialogs.messages[0].title, "File Delete Error");

    // Clearing first lets it go.
    files.DeleteFile(path, DeleteFlags::ClearReadOnlyFirst | DeleteFlags::ReportFailure);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(dialogs.messages.size(), 1u);

    // A folder is not a file: no report.
    fs::create_directory(temp / "folder");
    files.DeleteFile(temp / "folder", DeleteFlags::ReportFailure);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(FileRoutinesTest, DeleteFailureOfAWritableFileGivesTheCause)
{
    const std::string path = temp.Write("busy.txt", "x");
    platform.failRemove = true;
    files.DeleteFile(path, DeleteFlags::ReportFailure);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
        "Unable to delete file " + kTwoBreaks + path + kTwoBreaks + "Permission denied");
    EXPECT_EQ(dialogs.messages[0].code, 48);
}

TEST_F(FileRoutinesTest, ClearReadOnlyIsSilent)
{
    files.ClearReadOnly(temp / "missing.txt");
    const std::string path = temp.Write("ro.txt");
    ASSERT_TRUE(platform.SetReadOnly(path, true));
    files.ClearReadOnly(path);
    EXPECT_FALSE(ReadOnly(path));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FileRoutinesTest, FileExistsOnlyForRegularFiles)
{
    temp.Write("f.txt");
    fs::create_directory(temp / "folder");
    fs::create_symlink(temp / "f.txt", temp / "link");
    fs::create_symlink(temp / "gone", temp / "broken");
    ASSERT_EQ(mkfifo((temp / "pipe").c_str(), 0600), 0);
    const std::pair<std::string, bool> cases[] = {
        { "", false },
        { temp / "f.txt", true },
        { temp / "link", true },
        { temp / "folder", false },
        { temp / "broken", false },
        { temp / "pipe", false },
        { temp / "missing", false },
    };
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(files.FileExists(path), exists) << path;
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(CollapseBackslashesTest, EveryRunOfSeparatorsBecomesOne)
{
    const std::pair<const char*, const char*> windows[] = {
        { "C:\\dir\\\\file.txt", "C:\\dir\\file.txt" },
        { "C:\\dir\\\\\\\\file.txt", "C:\\dir\\file.txt" },
        { "C:\\dir\\\\\\file.txt", "C:\\dir\\file.txt" },
        { "C:\\dir\\file.txt", "C:\\dir\\file.txt" },
        { "\\\\server\\share", "\\server\\share" },
        { "a//b", "a//b" },
    };
    for (const auto& [in, out] : windows)
        EXPECT_EQ(CollapseBackslashes(in, PathSyntax::Windows), out) << in;
    const std::pair<const char*, const char*> posix[] = {
        { "/home//user////file.txt", "/home/user/file.txt" },
        { "//x", "/x" },
        { "a\\\\b", "a\\\\b" },
        { "", "" },
    };
    for (const auto& [in, out] : posix)
        EXPECT_EQ(CollapseBackslashes(in), out) << in;
}

} // namespace
} // namespace trawlit
