#include "core/tools/LineReader.h"

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "fakes/FakePlatform.h"
#include "fakes/RecordingDialogs.h"

namespace trawlit {
namespace {

std::vector<std::string> LinesOf(const std::string& contents, bool* failed = nullptr)
{
    fakes::FakePlatform platform;
    fakes::RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    platform.AddFile("/f.txt", contents);
    std::int16_t fileNumber = 0;
    EXPECT_FALSE(files.TryOpenFile("/f.txt", fileNumber, OpenType::SequentialInput, -1));
    LineReader reader(files, fileNumber);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) {
        lines.push_back(line);
    }
    if (failed != nullptr) {
        *failed = reader.Failed();
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReaderTest, EndsLinesAtCrLfOrCrLfAndNeverAddsOneAfterTheLastEnd)
{
    struct Case {
        std::string contents;
        Lines lines;
    };
    const Case cases[] = {
        { "", {} },
        { "x", { "x" } },
        { "x\n", { "x" } },
        { "x\r\n", { "x" } },
        { "x\r", { "x" } },
        { "\n", { "" } },
        { "a\r\nb\nc\rd", { "a", "b", "c", "d" } },
        { "a\n\r\nb\r\r", { "a", "", "b", "" } },
        { "a\n\nb\n\n", { "a", "", "b", "" } },
        { "tab\there  \r\n", { "tab\there  " } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinesOf(c.contents), c.lines) << ::testing::PrintToString(c.contents);
    }
}

TEST(LineReaderTest, LinesAndCrLfPairsSpanningReadBlocksStayWhole)
{
    const std::string longLine(200 * 1024, 'x');
    // The CR falls on the last byte of the first 64 KiB block, its LF on the next block.
    const std::string first(64 * 1024 - 1, 'a');
    EXPECT_EQ(LinesOf(first + "\r\nb\r\n"), (Lines { first, "b" }));
    EXPECT_EQ(LinesOf(longLine + "\nend"), (Lines { longLine, "end" }));
}

} // namespace
} // namespace trawlit
