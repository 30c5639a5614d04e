#include "core/files/FileRoutines.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/files/ErrorNumbers.h"
#include "fakes/FaultyFileSystem.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::RecordingDialogs;
using fakes::TempFolder;
namespace fs = std::filesystem;

const std::string kTwoBreaks = "\r\n\r\n";

std::string OpenErrorText(int number, const std::string& description, const std::string& path)
{
    return "Run-time error '" + std::to_string(number) + "':" + kTwoBreaks + description
        + kTwoBreaks + "File = " + path;
}

class FileRoutinesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(temp.Path().empty()); }

    bool ReadOnly(const std::string& path)
    {
        bool readOnly = false;
        EXPECT_TRUE(platform.GetReadOnly(path, readOnly));
        return readOnly;
    }
    // Opens; on success writes "X" where the code allows writing, and closes.
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
    std::int16_t Open(const std::string& path, std::int16_t openType, std::int32_t recordLength)
    {
        std::int16_t number = 0;
        bool failed = false;
        files.OpenFile(path, number, openType, recordLength, failed);
        EXPECT_FALSE(failed);
        return number;
    }

    TempFolder temp;
    // The real file system, with the failures tests cannot cause for real (they may run as root).
    PosixPlatform posix;
    fakes::FaultyFileSystem platform { posix };
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
};

TEST_F(FileRoutinesTest, EachBaseCodeOpensInItsMode)
{
    // OpenType, record length, contents after touching an existing "old" file and a missing
    // one (nullptr: the open fails).
    const std::tuple<std::int16_t, std::int32_t, const char*, const char*> cases[] = {
        { 1, 10, "Xld", "X" },
        { 3, 10, "Xld", "X" },
        { 5, 10, "old", nullptr },
        { 8, -1, "X", "X" },
        { 16, -1, "old", nullptr },
        { 20, -1, "old", nullptr },
        { 32, -1, "Xld", "X" },
        { 34, -1, "Xld", "X" },
        { 36, 8192, "old", nullptr },
        { 34 + 1024, -1, "X", "X" },
    };
    for (const auto& [openType, recordLength, existingAfter, missingAfter] : cases) {
        for (bool exists : { true, false }) {
            fs::remove(temp / "f.dat");
            if (exists)
                temp.Write("f.dat", "old");
            const char* expected = exists ? existingAfter : missingAfter;
            dialogs.messages.clear();
            EXPECT_EQ(OpenAndTouch(temp / "f.dat", openType, recordLength), expected != nullptr)
                << openType << (exists ? " existing" : " missing");
            if (expected != nullptr) {
                EXPECT_EQ(temp.Read("f.dat"), expected) << openType;
            }
            EXPECT_EQ(dialogs.messages.size(), expected != nullptr ? 0u : 1u);
        }
    }
}

TEST_F(FileRoutinesTest, OpenFailuresAreReportedWithTheirCause)
{
    const std::string shown = "/SHOWN/PATH.TXT";
    const std::tuple<std::string, std::int16_t, std::int32_t, const std::string*, std::string>
        cases[] = {
            { temp / "missing.txt", 16, -1, nullptr,
                OpenErrorText(53, "File not found", temp / "missing.txt") },
            { temp / "no/missing.txt", 16, -1, nullptr,
                OpenErrorText(76, "Path not found", temp / "no/missing.txt") },
            { temp / "missing.txt", 16, -1, &shown, OpenErrorText(53, "File not found", shown) },
            { temp / "r.dat", 1, 40000, nullptr,
                OpenErrorText(59, "Bad record length", temp / "r.dat") },
            { temp / "r.dat", 3, 0, nullptr,
                OpenErrorText(59, "Bad record length", temp / "r.dat") },
            { temp / "r.dat", 36, 32768, nullptr,
                OpenErrorText(59, "Bad record length", temp / "r.dat") },
        };
    temp.Write("r.dat");
    for (const auto& [path, openType, recordLength, shownPath, text] : cases) {
        dialogs.messages.clear();
        std::int16_t number = 0;
        bool failed = false;
        files.OpenFile(path, number, openType, recordLength, failed, shownPath);
        EXPECT_TRUE(failed);
        EXPECT_FALSE(files.IsOpen(number));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].code, 16);
        EXPECT_EQ(dialogs.messages[0].title, "File Open Error");
    }
    EXPECT_TRUE(OpenAndTouch(temp / "r.dat", 1, 32767));
    EXPECT_TRUE(OpenAndTouch(temp / "r.dat", 36, -5));
}

TEST_F(FileRoutinesTest, InvalidOpenTypesAreRefusedAfterTheirPreparations)
{
    const std::string path = temp / "f.dat";
    // 1026 is the invalid base code 2 with bit 1024: the file is deleted all the same.
    for (int openType : { 0, 37, 2, -1, 1026 }) {
        temp.Write("f.dat", "old");
        dialogs.messages.clear();
        std::int16_t number = 0;
        bool failed = false;
        files.OpenFile(path, number, static_cast<std::int16_t>(openType), -1, failed);
        EXPECT_TRUE(failed);
        EXPECT_FALSE(files.IsOpen(number));
        EXPECT_EQ(fs::exists(path), (openType & 1024) == 0) << openType;
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text,
            "OpenFile -- Invalid OpenType = " + std::to_string(openType) + kTwoBreaks + path);
        EXPECT_EQ(dialogs.messages[0].code, 16);
        EXPECT_EQ(dialogs.messages[0].title, "File Open Error");
    }
}

TEST_F(FileRoutinesTest, ReadOnlyFilesAreClearedReplacedOrKept)
{
    // 1570 = binary write + clear read-only + delete first: an empty writable file.
    const std::string copy = temp.Write("copy.txt2", "old contents");
    ASSERT_TRUE(platform.SetReadOnly(copy, true));
    const std::int16_t number = Open(copy, 1570, -1);
    EXPECT_EQ(files.LengthOf(number), 0);
    EXPECT_FALSE(ReadOnly(copy));

    // 1032 = sequential output + delete first, on a read-only results file.
    const std::string results = temp.Write("Trawlit.out", "old results");
    ASSERT_TRUE(platform.SetReadOnly(results, true));
    EXPECT_TRUE(OpenAndTouch(results, 1032, -1));
    EXPECT_EQ(temp.Read("Trawlit.out"), "X");

    // Base codes 1 and 3, and bit 512, clear the mark; other codes leave it, and writing
    // codes then fail with nothing written.
    const std::tuple<std::int16_t, bool, bool> cases[] = {
        { 1, true, true },
        { 3, true, true },
        { 512 + 16, true, true },
        { 5, false, true },
        { 16, false, true },
        { 8, false, false },
        { 34, false, false },
    };
    for (const auto& [openType, clears, opens] : cases) {
        const std::string path = temp.Write("ro.dat", "old");
        ASSERT_TRUE(platform.SetReadOnly(path, true));
        dialogs.messages.clear();
        EXPECT_EQ(OpenAndTouch(path, openType, 16), opens) << openType;
        EXPECT_EQ(ReadOnly(path), !clears) << openType;
        if (!opens) {
            EXPECT_EQ(temp.Read("ro.dat"), "old");
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].text, OpenErrorText(70, "Permission denied", path));
        }
    }
}

TEST_F(FileRoutinesTest, FileNumbersAreTheLowestFreeUpTo255)
{
    const std::string path = temp.Write("f.txt", "x");
    for (int expected = 1; expected <= 255; ++expected)
        ASSERT_EQ(Open(path, 16, -1), expected);
    std::int16_t number = 0;
    bool failed = false;
    files.OpenFile(path, number, 16, -1, failed);
    EXPECT_TRUE(failed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, OpenErrorText(67, "Too many files", path));

    PlatformError error;
    EXPECT_TRUE(files.Close(7, error));
    EXPECT_TRUE(files.Close(3, error));
    EXPECT_FALSE(files.Close(3, error));
    EXPECT_EQ(error.number, 52);
    EXPECT_EQ(Open(path, 16, -1), 3);

    // A late failure of a close is returned, and the number is free all the same.
    platform.FailClose("*", ErrorWithNumber(ErrorNumber::DiskFull));
    EXPECT_FALSE(files.Close(3, error));
    EXPECT_EQ(error.number, 61);
    EXPECT_FALSE(files.IsOpen(3));
}

TEST_F(FileRoutinesTest, RecordsSitAtTheirPlaces)
{
    const std::int16_t number = Open(temp / "records.dat", 1, 4);
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

    const std::pair<std::int64_t, int> refused[] = { { 0, 63 }, { 2, 59 } };
    for (const auto& [recordNumber, errorNumber] : refused) {
        EXPECT_FALSE(files.WriteRecord(number, recordNumber, "toolong", error));
        EXPECT_EQ(error.number, errorNumber);
    }
    const std::int16_t binary = Open(temp / "records.dat", 32, -1);
    EXPECT_FALSE(files.WriteRecord(binary, 1, "x", error));
    EXPECT_EQ(error.number, 54);
}

TEST_F(FileRoutinesTest, DeleteFileReportsOnlyWhatTheFlagsAsk)
{
    files.DeleteFile(temp / "missing.txt", DeleteFlags::ReportFailure);
    fs::create_directory(temp / "folder");
    files.DeleteFile(temp / "folder", DeleteFlags::ReportFailure);
    const std::string path = temp.Write("ro.txt", "x");
    ASSERT_TRUE(platform.SetReadOnly(path, true));
    files.DeleteFile(path, 0);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(dialogs.messages.empty());

    files.DeleteFile(path, DeleteFlags::ReportFailure);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File is read-only" + kTwoBreaks + path);
    EXPECT_EQ(dialogs.messages[0].code, 48);
    EXPECT_EQ(dialogs.messages[0].title, "File Delete Error");

    files.DeleteFile(path, DeleteFlags::ClearReadOnlyFirst | DeleteFlags::ReportFailure);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(dialogs.messages.size(), 1u);

    const std::string busy = temp.Write("busy.txt", "x");
    platform.FailRemove(busy, ErrorWithNumber(ErrorNumber::PermissionDenied));
    files.DeleteFile(busy, DeleteFlags::ReportFailure);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
        "Unable to delete file " + kTwoBreaks + busy + kTwoBreaks + "Permission denied");
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
    };
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(files.FileExists(path), exists) << path;
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(CollapseBackslashesTest, EveryRunOfSeparatorsBecomesOne)
{
    const std::tuple<const char*, PathSyntax, const char*> cases[] = {
        { "C:\\dir\\\\file.txt", PathSyntax::Windows, "C:\\dir\\file.txt" },
        { "C:\\dir\\\\\\\\file.txt", PathSyntax::Windows, "C:\\dir\\file.txt" },
        { "C:\\dir\\\\\\file.txt", PathSyntax::Windows, "C:\\dir\\file.txt" },
        { "C:\\dir\\file.txt", PathSyntax::Windows, "C:\\dir\\file.txt" },
        { "\\\\server\\share", PathSyntax::Windows, "\\server\\share" },
        { "/home//user////file.txt", PathSyntax::Posix, "/home/user/file.txt" },
        { "//x", PathSyntax::Posix, "/x" },
        { "a\\\\b", PathSyntax::Posix, "a\\\\b" },
    };
    for (const auto& [in, syntax, out] : cases)
        EXPECT_EQ(CollapseBackslashes(in, syntax), out) << in;
}

} // namespace
} // namespace trawlit
